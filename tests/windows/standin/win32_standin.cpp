#include "tests/windows/standin/win32_standin.h"

#include "tests/windows/standin/journal_reader.h"
#include "tests/windows/standin/standin_signals.h"
#include "tests/windows/standin/win32_held_document.h"
#include "tests/windows/standin/win32_standin_dialogs.h"
#include "tests/windows/standin/win32_standin_journal_writer.h"
#include "tests/windows/standin/win32_standin_settings.h"
#include "tests/windows/standin/pdf_page_count.h"
#include "tests/windows/standin/pdf_text.h"

#include "com/bstr.h"
#include "com/module.h"
#include "com/variant.h"
#include "com/window_instance.h"

#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folivex::standin {

// {06DF2A85-142B-4782-AC6A-C791454AE1F1}
const CLSID kStandInClassId = {
    0x06df2a85, 0x142b, 0x4782, {0xac, 0x6a, 0xc7, 0x91, 0x45, 0x4a, 0xe1, 0xf1}};

namespace {

constexpr const wchar_t* kControlClass = L"FolivexStandInViewer";
constexpr const wchar_t* kViewClass = L"AVL_AVView";
// Same letters as the text-box class, other case: class names are compared case-sensitively
// by callers, so this one must not count as a text box.
constexpr const wchar_t* kLowerCaseEditClass = L"edit";

constexpr UINT_PTR kDocumentTimerId = 1;
constexpr UINT_PTR kSaveDialogTimerId = 2;
constexpr HRESULT kStandInFailure = static_cast<HRESULT>(0x80040201);
constexpr DISPID kLastMember = 28;
// How long the control's end waits for a hung window thread to take the destruction of its
// windows: longer than any hang a test asks for.
constexpr DWORD kWindowThreadEndTimeoutMs = 120000;

// Arguments each member takes; -1: any (members no caller uses). Member 1 is a property.
constexpr int kArity[kLastMember + 1] = {-1, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 1,  1,  1, -1,
                                         0,  1, 3, 1, 2, 4, 2, 3, 0, 1, 1, -1, -1, 4};

// The kind each member's arguments are converted to, in declared order.
VARTYPE ArgumentKind(DISPID member, UINT index) {
    switch (member) {
    case 1:
    case 2:
    case 11:
    case 12:
    case 13:
    case 18:
        return VT_BSTR;
    case 3:
    case 24:
    case 25:
        return VT_BOOL;
    case 8:
    case 21:
    case 28:
        return VT_I4;
    case 16:
    case 17:
    case 20:
        return VT_R4;
    case 19:
        return index == 0 ? VT_BSTR : VT_R4;
    case 22:
        return index < 2 ? VT_I4 : VT_BOOL;
    default:
        return VT_EMPTY;
    }
}

bool KeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

constexpr const wchar_t* kSelfProperty = L"FolivexStandIn";
constexpr const wchar_t* kOldProcedureProperty = L"FolivexStandInOldProc";

// --- windows

void RegisterModuleClass(const wchar_t* name, WNDPROC procedure, UINT style = 0) {
    com::Module::RegisterWindowClass(name, procedure, style,
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

// The viewer's views close on WM_CLOSE, as a caller that closes a toolbar expects.
LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ::DestroyWindow(window);
        return 0;
    }
    if (message == WM_PAINT) {
        if (const StandIn* owner = StandIn::OwnerOfDocumentView(window)) {
            PAINTSTRUCT paint = {};
            HDC dc = ::BeginPaint(window, &paint);
            owner->PaintDocument(window, dc);
            ::EndPaint(window, &paint);
            return 0;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(const wchar_t* windowClass, const wchar_t* text, HWND parent, int x, int y, int width,
           int height, DWORD extraStyle = 0) {
    // System classes are created on behalf of user32: class names are looked up without regard
    // to case, and with this module's (or no) instance handle this module's own class "edit"
    // would stand in for the system's "Edit".
    const bool ours = windowClass == kViewClass || windowClass == kLowerCaseEditClass;
    HINSTANCE instance = ours ? com::Module::Handle() : ::GetModuleHandleW(L"user32.dll");
    return ::CreateWindowExW(0, windowClass, text,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | extraStyle, x, y, width,
                             height, parent, nullptr, instance, nullptr);
}

HWND View(const wchar_t* text, HWND parent, int x, int y, int width, int height) {
    return Child(kViewClass, text, parent, x, y, width, height, WS_CLIPCHILDREN);
}

// Puts `windows` in this Z-order, the first at the top, below any window already above them.
void StackInOrder(const std::vector<HWND>& windows) {
    HWND after = HWND_TOP;
    for (HWND window : windows) {
        if (window) {
            ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = window;
        }
    }
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    com::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    LARGE_INTEGER size = {};
    // Test documents are small; anything huge is not one of them.
    constexpr LONGLONG kMaxBytes = 64LL * 1024 * 1024;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

} // namespace

com::ComPtr<StandIn> StandIn::Create() {
    RegisterModuleClass(kControlClass, &StandIn::WindowProc, CS_DBLCLKS);
    RegisterModuleClass(kViewClass, ViewWindowProc);
    RegisterModuleClass(kLowerCaseEditClass, ::DefWindowProcW);
    return com::Make<StandIn>();
}

StandIn::StandIn() : richEdit_(::LoadLibraryW(L"riched20.dll")) {}

StandIn::~StandIn() {
    heldDocument_.Reset();
    // Windows are destroyed by their own thread, which is waited for even while it is hung:
    // ending the thread with them would send their parent's thread (this one) a notification
    // while it waits for the thread to end.
    const auto destroy = [this] {
        documentTimer_.Stop();
        saveDialogTimer_.Stop();
        window_.Reset();
    };
    if (windowThread_) {
        windowThread_->Run(destroy, kWindowThreadEndTimeoutMs);
    } else {
        destroy();
    }
}

bool StandIn::OnWindowThread(const std::function<void()>& work) {
    if (!windowThread_) {
        work();
        return true;
    }
    return windowThread_->Run(work);
}

HRESULT StandIn::SetObjectRects(LPCRECT position, LPCRECT clip) {
    // Moving a window waits for its thread: the move is made there, or not at all when that
    // thread does not take it.
    HRESULT outcome = RPC_E_SERVERCALL_RETRYLATER;
    OnWindowThread([&] { outcome = com::OleControl<StandIn>::SetObjectRects(position, clip); });
    return outcome;
}

HRESULT StandIn::Close(DWORD option) {
    heldDocument_.Reset();
    return com::OleControl<StandIn>::Close(option);
}

DWORD StandIn::MiscStatus() {
    return OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE |
           OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE;
}

// The window exists only while the control is in-place active, as a child of the site's window;
// the document's state outlives it and the tree is rebuilt from that state.
bool StandIn::AttachToParent(HWND parent, const RECT& position) {
    if (!windowThread_ && OwnWindowThreadWanted()) {
        // The whole tree, from the control's window down, is made and owned there; its parent
        // is still the site's window of the container's thread.
        windowThread_ = std::make_unique<ComponentThread>();
    }
    bool attached = false;
    OnWindowThread([&] { attached = AttachHere(parent, position); });
    return attached;
}

bool StandIn::AttachHere(HWND parent, const RECT& position) {
    const int width = position.right - position.left;
    const int height = position.bottom - position.top;
    if (window_) {
        ::SetParent(window_.Get(), parent);
        ::MoveWindow(window_.Get(), position.left, position.top, width, height, TRUE);
        ::ShowWindow(window_.Get(), SW_SHOW);
        ApplyLayoutSettings();
        return true;
    }
    window_.Reset(::CreateWindowExW(
        0, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
        position.left, position.top, width, height, parent, nullptr, com::Module::Handle(), this));
    if (!window_) {
        return false;
    }
    treeBuilt_ = false;
    ApplyLayoutSettings();
    if (documentPending_) {
        StartDocumentTimer();
    }
    return true;
}

void StandIn::DetachFromParent() {
    OnWindowThread([this] { DetachHere(); });
}

void StandIn::DetachHere() {
    documentTimer_.Stop();
    saveDialogTimer_.Stop();
    window_.Reset();
    easel_ = pageBox_ = zoomBox_ = documentView_ = searchBox_ = nullptr;
    treeBuilt_ = false;
}

void StandIn::StartDocumentTimer() {
    const long delay = DocumentViewDelay();
    if (window_ && delay >= 0) {
        documentTimer_.Start(window_.Get(), kDocumentTimerId, static_cast<UINT>(delay));
    }
}

void StandIn::DrawContent(HDC dc, const RECT& bounds) {
    ::FillRect(dc, &bounds, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

HWND StandIn::LiveChild(HWND window) const {
    return window && window_ && ::IsWindow(window) && ::IsChild(window_.Get(), window) ? window
                                                                                       : nullptr;
}

void StandIn::ApplyLayoutSettings() {
    const bool newLayout = NewLayout();
    const std::wstring pageBoxClass = PageBoxClass();
    if (treeBuilt_ && newLayout == builtNewLayout_ && pageBoxClass == builtPageBoxClass_) {
        return;
    }
    builtNewLayout_ = newLayout;
    builtPageBoxClass_ = pageBoxClass;
    BuildTree();
}

void StandIn::DestroyTree() {
    if (!window_) {
        return;
    }
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(window_.Get(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    for (HWND c : children) {
        ::DestroyWindow(c);
    }
    easel_ = pageBox_ = zoomBox_ = documentView_ = searchBox_ = nullptr;
    treeBuilt_ = false;
}

// The viewer's windows, top of the Z-order first: the toolbar easel with the two toolbar views
// (one 36 pixels wide; the other 120, holding the page and zoom boxes), windows that look
// almost like them, the navigation bar, the tab view and the web search view. The document view
// comes later, below all of them.
void StandIn::BuildTree() {
    DestroyTree();
    if (!window_) {
        return;
    }
    const bool newLayout = builtNewLayout_;
    const wchar_t* pageClass = builtPageBoxClass_.c_str();
    HWND root = window_.Get();

    easel_ = View(L"AVToolBarEasel", root, 0, 0, 400, 34);
    HWND tools = View(L"AVToolBarView", easel_, 2, 2, 36, 30);
    HWND hand = Child(L"Button", L"Hand", tools, 2, 2, 30, 26);
    HWND navigation = View(L"AVToolBarView", easel_, 42, 2, 120, 30);
    const int pageWidth = newLayout ? 30 : 60;
    pageBox_ = Child(pageClass, L"", navigation, 2, 4, pageWidth, 22, WS_BORDER);
    zoomBox_ = Child(L"Edit", L"100%", navigation, pageWidth + 6, 4, 50, 22, WS_BORDER);
    StackInOrder({pageBox_, zoomBox_});
    // Looks like a page box but is not: its class differs in case.
    HWND lowerCase =
        Child(kLowerCaseEditClass, newLayout ? L"7" : L"2 of 9", easel_, 170, 6, 30, 22);
    StackInOrder({tools, navigation, lowerCase});
    (void)hand;

    HWND splitter = View(L"AVSplitterView", root, 0, 34, 400, 4);
    HWND status = View(L"AVStatusLayoutView", root, 0, 440, 400, 26);
    // A number box that only the new layout's walks count as a page box.
    HWND number = newLayout ? nullptr : Child(L"Edit", L"12", status, 2, 2, 30, 22, WS_BORDER);
    (void)number;
    HWND tabs = View(L"AVTabView", root, 0, 38, 24, 400);
    HWND search = View(L"AVWebSearchView", root, 376, 38, 24, 400);
    StackInOrder({easel_, splitter, status, tabs, search});

    treeBuilt_ = true;
    UpdatePageBox();
    UpdateZoomBox();
    if (!toolbarVisible_) {
        ::ShowWindow(easel_, SW_HIDE);
    }
    if (documentShown_) {
        ShowDocumentView();
    }
    FitDocumentView();
}

void StandIn::ShowDocumentView() {
    documentTimer_.Stop();
    if (!window_ || LiveChild(documentView_)) {
        return;
    }
    documentPending_ = false;
    documentShown_ = true;
    documentView_ =
        View(builtNewLayout_ ? L"AVNullDocView" : L"AVPageView", window_.Get(), 24, 38, 352, 400);
    // Its own children, which no walk should ever reach.
    // Hidden, so that they do not cover the page: the walks meet hidden windows all the same.
    HWND inner = View(L"AVPageView", documentView_, 0, 0, 352, 30);
    HWND page = Child(L"Edit", L"9 of 9", documentView_, 4, 34, 30, 22);
    HWND zoom = Child(L"Edit", L"400%", documentView_, 40, 34, 50, 22);
    StackInOrder({inner, page, zoom});
    for (HWND decoy : {inner, page, zoom}) {
        ::ShowWindow(decoy, SW_HIDE);
    }
    ::SetWindowPos(documentView_, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FitDocumentView();
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    ::SetEnvironmentVariableW(kDocumentViewReadyVariable, std::to_wstring(now.QuadPart).c_str());
}

void StandIn::FitDocumentView() {
    if (!window_) {
        return;
    }
    RECT client = {};
    ::GetClientRect(window_.Get(), &client);
    const int width = std::max(0, static_cast<int>(client.right));
    const int height = std::max(0, static_cast<int>(client.bottom));
    // The navigation bar along the bottom, the tab and web search views down the sides, the
    // document view in between; the toolbar keeps its place and size.
    for (HWND c = ::GetWindow(window_.Get(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[32] = {};
        ::GetWindowTextW(c, text, 32);
        const std::wstring_view name(text);
        if (name == L"AVStatusLayoutView") {
            ::MoveWindow(c, 0, std::max(38, height - 26), width, 26, TRUE);
        } else if (name == L"AVTabView") {
            ::MoveWindow(c, 0, 38, 24, std::max(0, height - 64), TRUE);
        } else if (name == L"AVWebSearchView") {
            ::MoveWindow(c, std::max(24, width - 24), 38, 24, std::max(0, height - 64), TRUE);
        }
    }
    if (HWND view = LiveChild(documentView_)) {
        ::MoveWindow(view, 24, 38, std::max(0, width - 48), std::max(0, height - 64), TRUE);
    }
}

StandIn* StandIn::OwnerOfDocumentView(HWND view) {
    HWND parent = ::GetParent(view);
    wchar_t name[64] = {};
    if (!parent || !::GetClassNameW(parent, name, 64) || std::wcscmp(name, kControlClass) != 0) {
        return nullptr;
    }
    auto* self = reinterpret_cast<StandIn*>(::GetWindowLongPtrW(parent, GWLP_USERDATA));
    return self && self->documentView_ == view ? self : nullptr;
}

void StandIn::PaintDocument(HWND view, HDC dc) const {
    RECT client = {};
    ::GetClientRect(view, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    const int zoom = std::clamp(zoomPercent_, 10, 800);
    RECT sheet = {16, 12, 16 + ::MulDiv(460, zoom, 100), 12 + ::MulDiv(600, zoom, 100)};
    ::FillRect(dc, &sheet, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &sheet, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));

    // One line of text_ per page (the test documents have one content stream a page).
    std::wstring line;
    std::size_t start = 0;
    for (int page = 1; start <= text_.size(); ++page) {
        const std::size_t end = std::min(text_.find(L'\n', start), text_.size());
        if (page == page_) {
            line = text_.substr(start, end - start);
            break;
        }
        start = end + 1;
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    const int margin = ::MulDiv(28, zoom, 100);
    RECT text = {sheet.left + margin, sheet.top + margin, sheet.right - margin, sheet.bottom};
    com::UniqueGdiObject font(::CreateFontW(
        -::MulDiv(30, zoom, 100), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    HGDIOBJ previous = ::SelectObject(dc, font.Get());
    ::DrawTextW(dc, line.c_str(), -1, &text, DT_LEFT | DT_TOP | DT_WORDBREAK);
    ::SelectObject(dc, previous);
}

void StandIn::UpdatePageBox() {
    if (HWND box = LiveChild(pageBox_)) {
        std::wstring format = Setting(L"FOLIVEX_STANDIN_PAGEBOX_FORMAT");
        if (format.empty()) {
            format = builtNewLayout_ ? L"%P" : L"%P of %N";
        }
        ::SetWindowTextW(box, PageBoxText(format, page_, pageCount_).c_str());
    }
    if (HWND view = LiveChild(documentView_)) {
        ::InvalidateRect(view, nullptr, TRUE);
    }
}

void StandIn::UpdateZoomBox() {
    if (HWND box = LiveChild(zoomBox_)) {
        ::SetWindowTextW(box, (std::to_wstring(zoomPercent_) + L"%").c_str());
    }
    if (HWND view = LiveChild(documentView_)) {
        ::InvalidateRect(view, nullptr, TRUE);
    }
}

HRESULT StandIn::Load(const std::wstring& path) {
    documentTimer_.Stop();
    if (HWND view = LiveChild(documentView_)) {
        ::DestroyWindow(view);
    }
    documentView_ = nullptr;
    documentShown_ = false;
    documentPending_ = false;
    source_ = path;
    heldDocument_ = HoldDocumentIfAsked(path);
    const std::optional<std::string> data = ReadFileBytes(path);
    const std::optional<int> count = data ? PdfPageCount(*data) : std::nullopt;
    documentLoaded_ = count.has_value();
    selected_ = false;
    text_.clear();
    if (documentLoaded_) {
        // Latin-1, as the test documents are written.
        const std::optional<std::string> shown = PdfText(*data);
        for (char c : shown.value_or(std::string())) {
            text_ += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
    }
    if (!documentLoaded_) {
        // Nothing to show: the document view does not appear.
        return S_FALSE;
    }
    pageCount_ = std::max(*count, 1);
    page_ = 1;
    zoomPercent_ = 100;
    UpdatePageBox();
    UpdateZoomBox();
    // Before activation there is no window to time it: it waits for the activation.
    documentPending_ = true;
    StartDocumentTimer();
    return S_OK;
}

// --- IDispatch

HRESULT StandIn::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT StandIn::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

HRESULT StandIn::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT StandIn::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    DISPPARAMS none = {};
    const DISPPARAMS& arguments = params ? *params : none;
    if (arguments.cArgs > 0 && !arguments.rgvarg) {
        return E_INVALIDARG;
    }
    JournalInvoke(member, flags, arguments);
    if (member < 1 || member > kLastMember) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // A window thread that does not take the work in time: busy, as a message filter says.
    if (!OnWindowThread([this] { ApplyLayoutSettings(); })) {
        return RPC_E_SERVERCALL_RETRYLATER;
    }
    if (FailureRequested(std::to_wstring(member))) {
        const std::wstring description = L"Stand-in failure of member " + std::to_wstring(member);
        if (!exception) {
            return kStandInFailure;
        }
        *exception = {};
        exception->scode = kStandInFailure;
        exception->bstrSource = ::SysAllocString(L"StandIn");
        exception->bstrDescription = ::SysAllocString(description.c_str());
        return DISP_E_EXCEPTION;
    }
    HRESULT outcome = RPC_E_SERVERCALL_RETRYLATER;
    OnWindowThread([&] { outcome = CallMember(member, flags, arguments, result, argumentError); });
    return outcome;
}

HRESULT StandIn::CallMember(DISPID member, WORD flags, const DISPPARAMS& params, VARIANT* result,
                            UINT* argumentError) {
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put) {
        if (member != 1) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            return DISP_E_PARAMNOTOPTIONAL;
        }
    } else if (params.cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    const UINT expected = put ? 1 : static_cast<UINT>(kArity[member]);
    if (kArity[member] >= 0 && params.cArgs != expected) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (!put && !(flags & DISPATCH_METHOD) && !(member == 1 && (flags & DISPATCH_PROPERTYGET))) {
        return DISP_E_MEMBERNOTFOUND;
    }

    // Each argument converted to its declared kind, in declared order.
    std::vector<com::Variant> values(kArity[member] >= 0 ? expected : 0);
    for (UINT i = 0; i < values.size(); ++i) {
        const UINT slot = params.cArgs - 1 - i;
        const VARTYPE kind = put ? static_cast<VARTYPE>(VT_BSTR) : ArgumentKind(member, i);
        if (FAILED(::VariantChangeType(values[i].Get(), &params.rgvarg[slot], 0, kind))) {
            if (argumentError) {
                *argumentError = slot;
            }
            return DISP_E_TYPEMISMATCH;
        }
    }
    if (result) {
        ::VariantInit(result);
    }

    const int lastPage = std::max(pageCount_, 1);
    switch (member) {
    case 1:
        if (put) {
            source_ = com::Bstr::ToString(values[0]->bstrVal);
        } else if (result) {
            result->vt = VT_BSTR;
            result->bstrVal =
                ::SysAllocStringLen(source_.data(), static_cast<UINT>(source_.size()));
        }
        return S_OK;
    case 2: {
        const HRESULT hr = Load(com::Bstr::ToString(values[0]->bstrVal));
        if (result) {
            result->vt = VT_BOOL;
            result->boolVal = hr == S_OK ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
    }
    case 3:
        toolbarVisible_ = values[0]->boolVal != VARIANT_FALSE;
        if (HWND easel = LiveChild(easel_)) {
            ::ShowWindow(easel, toolbarVisible_ ? SW_SHOWNA : SW_HIDE);
        }
        return S_OK;
    case 4:
        page_ = 1;
        break;
    case 5:
        page_ = lastPage;
        break;
    case 6:
        page_ = std::min(page_ + 1, lastPage);
        break;
    case 7:
        page_ = std::max(page_ - 1, 1);
        break;
    case 8:
        page_ = std::clamp(static_cast<int>(values[0]->lVal), 1, lastPage);
        break;
    case 15:
        return PrintWithDialog();
    case 16:
    case 17: {
        const float percent = values[0]->fltVal;
        if (std::isfinite(percent) && percent >= 1.0f && percent <= 6400.0f) {
            zoomPercent_ = static_cast<int>(std::lround(percent));
            UpdateZoomBox();
        }
        return S_OK;
    }
    default:
        return S_OK;
    }
    UpdatePageBox();
    return S_OK;
}

// --- IOleCommandTarget

HRESULT StandIn::QueryStatus(const GUID* group, ULONG count, OLECMD commands[], OLECMDTEXT*) {
    if (group) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    if (count > 0 && !commands) {
        return E_POINTER;
    }
    for (ULONG i = 0; i < count; ++i) {
        commands[i].cmdf =
            commands[i].cmdID == OLECMDID_PRINT ? (OLECMDF_SUPPORTED | OLECMDF_ENABLED) : 0;
    }
    return S_OK;
}

HRESULT StandIn::Exec(const GUID* group, DWORD command, DWORD option, VARIANT* in, VARIANT*) {
    if (group) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    JournalCommand(command, option, in);
    if (command != OLECMDID_PRINT) {
        return OLECMDERR_E_NOTSUPPORTED;
    }
    return FailureRequested(L"print") ? E_FAIL : S_OK;
}

// --- the control's window

LRESULT CALLBACK StandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = com::WindowInstance<StandIn>(window, message, lParam);
    if (message == WM_NCDESTROY) {
        if (self && self->window_.Get() == window) {
            // Destroyed with its container's window: nothing left to destroy later.
            self->documentTimer_.Stop();
            self->saveDialogTimer_.Stop();
            self->window_.Release();
            self->easel_ = self->pageBox_ = self->zoomBox_ = self->documentView_ =
                self->searchBox_ = nullptr;
        }
    } else if (message == WM_SIZE && self) {
        self->FitDocumentView();
    } else if (message == WM_TIMER && wParam == kDocumentTimerId && self) {
        self->ShowDocumentView();
        return 0;
    } else if (message == WM_TIMER && wParam == kSaveDialogTimerId && self) {
        self->saveDialogTimer_.Stop();
        // The control may be released while the dialog is up: nothing of it is touched after.
        self->RunDialog(L"Save a Copy...", L"save");
        return 0;
    } else if (message == WM_KEYDOWN && self && self->OnKey(static_cast<UINT>(wParam))) {
        return 0;
    } else if (message == WM_CHAR && wParam < 0x20) {
        return 0; // the control characters of Ctrl+letter: no beep
    } else if (message == WM_CHAR) {
        const std::wstring typed(1, static_cast<wchar_t>(wParam));
        JournalKey(L"char", &typed);
        return 0;
    } else if (message == WM_LBUTTONDOWN || message == WM_MOUSEACTIVATE) {
        ::SetFocus(window);
    } else if ((message == WM_SETFOCUS || message == WM_KILLFOCUS) && self) {
        self->OnFocusChange(message == WM_SETFOCUS, reinterpret_cast<HWND>(wParam));
    } else if (message == WM_GETDLGCODE && !AcceleratorKeys()) {
        // A viewer's own keys; Tab and Enter stay with a dialog-style host. In accelerator mode
        // the default answer (nothing), as many in-place controls give.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// --- keyboard

bool StandIn::OfferAccelerator(MSG& message) {
    if (!AcceleratorKeys() || message.message != WM_KEYDOWN) {
        return false;
    }
    // The chord acts on the windows, so it is taken where they live; a window thread that does
    // not take it leaves the key unhandled.
    bool taken = false;
    OnWindowThread(
        [&] { taken = OnTextChord(static_cast<UINT>(message.wParam), kKeyViaAccelerator); });
    return taken;
}

bool StandIn::OnTextChord(UINT key, std::uint32_t path) {
    const bool control = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    if (!control) {
        return false;
    }
    if (key == 'A') {
        // Only a shown document has text to select.
        selected_ = !shift && documentLoaded_;
        JournalKey(shift ? L"deselect" : L"select", nullptr, path);
        return true;
    }
    if (key == 'C' && !shift) {
        if (selected_ && CopyText()) {
            JournalKey(L"copy", &text_, path);
        } else {
            JournalKey(L"copy", nullptr, path);
        }
        return true;
    }
    if (key == 'F' && shift) {
        OpenSearch(path);
        return true;
    }
    return false;
}

void StandIn::OnFocusChange(bool gotFocus, HWND other) {
    if (!AcceleratorKeys()) {
        return;
    }
    if (gotFocus) {
        FocusEntered();
    } else if (!OwnsWindow(other)) {
        FocusLeft();
    }
}

bool StandIn::OnKey(UINT key) {
    static constexpr struct {
        UINT key;
        const wchar_t* name;
    } kNavigation[] = {{VK_LEFT, L"left"}, {VK_RIGHT, L"right"},   {VK_UP, L"up"},
                       {VK_DOWN, L"down"}, {VK_PRIOR, L"page-up"}, {VK_NEXT, L"page-down"},
                       {VK_HOME, L"home"}, {VK_END, L"end"}};
    for (const auto& navigation : kNavigation) {
        if (key == navigation.key) {
            const std::wstring name = navigation.name;
            JournalKey(L"navigate", &name);
            return true;
        }
    }
    const bool control = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    if (!control) {
        return false;
    }
    // In accelerator mode the window ignores the text chords: they come as accelerators.
    if (!AcceleratorKeys() && OnTextChord(key, kKeyViaWindow)) {
        return true;
    }
    if (key == 'S' && shift) {
        // Not opened here: its modal loop would retrieve the rest of the chord (the key-ups),
        // and a sender that pumps until it has seen its last key processed would wait in vain.
        // A posted message would not do either, as posted messages are retrieved before input;
        // a timer's message is generated only once no input is left in the queue.
        if (window_ && !saveDialogTimer_.Running()) {
            saveDialogTimer_.Start(window_.Get(), kSaveDialogTimerId, USER_TIMER_MINIMUM);
        }
        return true;
    }
    return false;
}

bool StandIn::RunDialog(const wchar_t* title, const wchar_t* name) {
    // A host may release the control from a handler that runs inside the modal loop.
    com::ComPtr<StandIn> keepAlive(this);
    HWND owner = window_ ? ::GetAncestor(window_.Get(), GA_ROOT) : nullptr;
    const bool ran = RunModalDialog(owner, title, name);
    JournalDialog(std::wstring(name) + (ran ? L"-closed" : L"-failed"));
    return ran;
}

HRESULT StandIn::PrintWithDialog() {
    if (!PrintDialogWanted()) {
        return S_OK;
    }
    // A dialog that cannot be shown is not a print the user was offered.
    return RunDialog(L"Print", L"print") ? S_OK : E_FAIL;
}

bool StandIn::CopyText() {
    if (!window_ || !::OpenClipboard(window_.Get())) {
        return false;
    }
    bool copied = false;
    if (::EmptyClipboard()) {
        const std::size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (void* target = ::GlobalLock(memory)) {
                std::copy(text_.c_str(), text_.c_str() + text_.size() + 1,
                          static_cast<wchar_t*>(target));
                ::GlobalUnlock(memory);
                copied = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
            if (!copied) {
                ::GlobalFree(memory); // the clipboard owns it only once SetClipboardData succeeded
            }
        }
    }
    ::CloseClipboard();
    return copied;
}

// The search box: an edit box wide enough that nothing takes it for a page box, and with no text
// that looks like a page or zoom readout until the user types one.
void StandIn::OpenSearch(std::uint32_t path) {
    if (!window_) {
        return;
    }
    HWND box = LiveChild(searchBox_);
    if (!box) {
        box = Child(L"Edit", L"", window_.Get(), 100, 40, 200, 22, WS_BORDER | ES_AUTOHSCROLL);
        if (!box) {
            return;
        }
        ::SetPropW(box, kSelfProperty, this);
        ::SetPropW(box, kOldProcedureProperty,
                   reinterpret_cast<HANDLE>(::SetWindowLongPtrW(
                       box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandIn::SearchBoxProc))));
        ::SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        searchBox_ = box;
    }
    ::SendMessageW(box, EM_SETSEL, 0, -1);
    ::SetFocus(box);
    JournalKey(L"search-open", nullptr, path);
}

LRESULT CALLBACK StandIn::SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<StandIn*>(::GetPropW(box, kSelfProperty));
    const auto old = reinterpret_cast<WNDPROC>(::GetPropW(box, kOldProcedureProperty));
    if (message == WM_KEYDOWN && self) {
        if (wParam == VK_RETURN) {
            const int length = ::GetWindowTextLengthW(box);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(::GetWindowTextW(box, text.data(), length + 1)));
            JournalKey(L"search", &text);
            return 0;
        }
        if (wParam == 'F' && KeyDown(VK_CONTROL) && KeyDown(VK_SHIFT) && !AcceleratorKeys()) {
            self->OpenSearch(kKeyViaWindow);
            return 0;
        }
    } else if (message == WM_CHAR && (wParam == L'\r' || wParam < 0x20) && wParam != L'\b') {
        return 0; // Enter and Ctrl+letter: no beep, no control character in the box
    } else if (message == WM_NCDESTROY) {
        ::RemovePropW(box, kSelfProperty);
        ::RemovePropW(box, kOldProcedureProperty);
        ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    }
    return old ? ::CallWindowProcW(old, box, message, wParam, lParam)
               : ::DefWindowProcW(box, message, wParam, lParam);
}

} // namespace folivex::standin
