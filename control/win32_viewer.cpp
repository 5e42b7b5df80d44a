#include "control/win32_viewer.h"

#include "control/viewer_misc_status.h"
#include "control/win32_document_part.h"
#include "control/win32_reader_windows_part.h"
#include "control/win32_restrictions_part.h"
#include "control/win32_text_part.h"
#include "control/win32_viewer_surface.h"
#include "registry/win32_registry.h"
#include "viewer_bridge/win32_component_host.h"

#include "com/error_info.h"
#include "com/module.h"
#include "com/window_instance.h"

namespace folivex {
namespace {

constexpr const wchar_t* kControlWindowClass = L"FolivexViewer";
constexpr const wchar_t* kParkingWindowClass = L"FolivexViewerParking";
constexpr const wchar_t* kErrorSource = L"Folivex.Viewer";

// The cover panel is 240 x 375 twips.
constexpr int kCoverPanelWidthTwips = 240;
constexpr int kCoverPanelHeightTwips = 375;

int TwipsToPixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, 1440);
}

void RegisterWindowClasses(WNDPROC controlProc) {
    com::Module::RegisterWindowClass(kControlWindowClass, controlProc, CS_DBLCLKS,
                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    com::Module::RegisterWindowClass(kParkingWindowClass, ::DefWindowProcW);
}

} // namespace

com::ComPtr<Viewer> Viewer::Create() {
    com::ComPtr<Viewer> viewer = com::Make<Viewer>();
    if (viewer) {
        viewer->Initialize();
    }
    return viewer;
}

Viewer::Viewer()
    : surface_(std::make_unique<Surface>(*this)), downloadEvents_(MakeDownloadEvents()),
      documents_(std::make_unique<DocumentPart>(state_, *downloadEvents_)),
      restrictions_(std::make_unique<RestrictionsPart>(state_)),
      readerWindows_(std::make_unique<ReaderWindowsPart>(state_)),
      text_(std::make_unique<TextPart>(
          // Each key goes to the component's active object first, as a container's loop offers it.
          [this](MSG& message) { return OfferKeyToComponent(message); },
          // A component window of another thread is sent its keys there.
          [this]() -> HWND {
              return component_ ? component_->Hosted().ControlWindow() : nullptr;
          })) {
    connectionPoints_.Add(this, DIID___Viewer);
}

Viewer::~Viewer() {
    Terminate();
}

const CLSID& Viewer::ClassId() {
    return CLSID_Viewer;
}

// The portable constants carry the platform's values.
static_assert(kViewerMiscStatus ==
              (OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE |
               OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE));

DWORD Viewer::MiscStatus() {
    return kViewerMiscStatus;
}

bool Viewer::CreateWindows() {
    RegisterWindowClasses(&Viewer::WindowProc);
    // Until a container activates the control its window lives in a hidden top-level window of
    // its own, so that a script host that only creates the control gets a fully working one.
    parking_.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kParkingWindowClass, L"", WS_POPUP, 0, 0,
                                     320, 240, nullptr, nullptr, com::Module::Handle(), nullptr));
    if (!parking_) {
        return false;
    }
    const int width = TwipsToPixels(4800, 96);
    const int height = TwipsToPixels(3600, 96);
    window_.Reset(
        ::CreateWindowExW(0, kControlWindowClass, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, 0,
                          0, width, height, parking_.Get(), nullptr, com::Module::Handle(), this));
    if (!window_) {
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    const int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) {
        ::ReleaseDC(nullptr, screen);
    }
    // Picture1: a plain flat panel, hidden until the toolbar is closed in the old layout.
    coverPanel_.Reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_WHITERECT, 0, 0,
                                        TwipsToPixels(kCoverPanelWidthTwips, dpiX),
                                        TwipsToPixels(kCoverPanelHeightTwips, dpiY), window_.Get(),
                                        nullptr, com::Module::Handle(), nullptr));
    return true;
}

void Viewer::Initialize() {
    CreateWindows();
    restrictions_->AttachTimers(window_.Get());
    // AcroPDF1, created with the control and never again; hidden until a document is shown.
    component_ =
        std::make_unique<ComponentHost>(window_.Get(), [this] { return ContainerServices(); });
    ConnectComponentNotifications();
    Win32Registry registry;
    documents_->Initialize(*component_, registry);
    if (coverPanel_) {
        ::SetWindowPos(coverPanel_.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    Resize();
}

void Viewer::Terminate() {
    documents_->Terminate([this] { component_.reset(); },
                          [this] { restrictions_->TerminateSaveKeys(); });
    restrictions_->EndDialogSuppression();
    connectionPoints_.DetachAll();
    // Outstanding downloads end, and the timers are killed, before the windows they report to.
    text_.reset();
    restrictions_.reset();
    readerWindows_.reset();
    documents_.reset();
    downloadEvents_.reset();
    component_.reset();
    coverPanel_.Reset();
    window_.Reset();
    parking_.Reset();
}

void Viewer::OnClientSiteChanged() {
    if (documents_) {
        documents_->SetSite(ClientSite());
    }
}

bool Viewer::Closed() const {
    return ClosedByContainer() || quitting_ || ReferenceCount() <= ownReferences_;
}

bool Viewer::HasComponent() const {
    return component_ && component_->Available();
}

void Viewer::ProcessPendingMessages(bool (*stop)(void*), void* context) {
    MSG message;
    while ((!stop || !stop(context)) && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The host's loop must still see it once the control's call has returned.
            quitting_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

com::ComPtr<IServiceProvider> Viewer::ContainerServices() {
    com::ComPtr<IServiceProvider> services;
    if (IOleClientSite* site = ClientSite()) {
        site->QueryInterface(IID_PPV_ARGS(&services));
    }
    return services;
}

bool Viewer::AttachToParent(HWND parent, const RECT& position) {
    if (!window_) {
        return false;
    }
    ::SetParent(window_.Get(), parent);
    ::MoveWindow(window_.Get(), position.left, position.top, position.right - position.left,
                 position.bottom - position.top, TRUE);
    ::ShowWindow(window_.Get(), SW_SHOW);
    Resize();
    return true;
}

void Viewer::DetachFromParent() {
    if (window_ && parking_) {
        ::ShowWindow(window_.Get(), SW_HIDE);
        ::SetParent(window_.Get(), parking_.Get());
        ::ShowWindow(window_.Get(), SW_SHOWNA);
    }
}

void Viewer::DrawContent(HDC dc, const RECT& bounds) {
    ::FillRect(dc, &bounds, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

HRESULT Viewer::ClassTypeInfo(ITypeInfo** info) {
    return com::LoadModuleTypeInfo(CLSID_Viewer, info);
}

const IID& Viewer::DefaultEventInterface() {
    return DIID___Viewer;
}

HRESULT Viewer::AdviseDefaultEvents(IUnknown* sink, DWORD* cookie) {
    com::ConnectionPoint* point = connectionPoints_.Find(DIID___Viewer);
    return point ? point->Advise(sink, cookie) : E_UNEXPECTED;
}

HRESULT Viewer::InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, IID__Viewer) ? S_OK : S_FALSE;
}

HRESULT Viewer::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return connectionPoints_.EnumConnectionPoints(points);
}

HRESULT Viewer::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    return connectionPoints_.FindConnectionPoint(riid, point);
}

LRESULT CALLBACK Viewer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = com::WindowInstance<Viewer>(window, message, lParam);
    if (message == WM_NCDESTROY) {
        if (self && self->window_.Get() == window) {
            // Destroyed by its container's window going away: nothing left to destroy.
            self->window_.Release();
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self || !self->window_) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Viewer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        Resize();
        return 0;
    case WM_SHOWWINDOW:
        if (wParam) {
            Resize();
        }
        break;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(wParam, lParam);
    case WM_GETDLGCODE:
        // In a dialog-style host the arrows and characters are the document's; Tab and Enter
        // stay the host's, for moving between its controls and its default button.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_TIMER:
        if (restrictions_ && restrictions_->TimerTick(wParam)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window_.Get(), message, wParam, lParam);
}

void Viewer::Resize() {
    if (!window_ || !component_) {
        return;
    }
    RECT client = {};
    ::GetClientRect(window_.Get(), &client);
    component_->Move(0, 0, client.right, client.bottom);
    surface_->KeepCoverPanelInPlace();
}

HRESULT Viewer::RaiseViewerError(HRESULT hr, const wchar_t* description) {
    return com::RaiseError(hr, IID__Viewer, kErrorSource, description);
}

} // namespace folivex
