#include "main_window.h"

#include "failure_text.h"
#include "resource.h"

#include <commctrl.h>

#include <optional>

namespace folivex::demo {

namespace {

constexpr wchar_t kClassName[] = L"FolivexDemoMainWindow";
constexpr UINT_PTR kPollTimer = 1;
// Twice a second is quick enough to follow paging inside the document and cheap: each readout
// walks a small window tree.
constexpr UINT kPollMilliseconds = 500;

std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
    std::unique_ptr<MainWindow> main(new MainWindow(instance));
    if (!main->Build()) {
        return nullptr;
    }
    return main;
}

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
    if (window_) {
        ::DestroyWindow(window_);
    }
}

bool MainWindow::Build() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc); // a second window in the process finds it registered
    accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    HMENU menu = ::LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    window_ = ::CreateWindowExW(0, kClassName, L"Folivex Demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 960, 720, nullptr, menu, instance_, this);
    if (!window_) {
        ::DestroyMenu(menu);
        return false;
    }
    if (!toolbar_.Create(window_, instance_) || !status_.Create(window_, instance_)) {
        return false;
    }
    commands_ =
        std::make_unique<Commands>(window_, status_, toolbar_, [this] { RefreshPosition(); });
    CreateViewer();
    LayOut();
    ::SetTimer(window_, kPollTimer, kPollMilliseconds, nullptr);
    return true;
}

void MainWindow::CreateViewer() {
    host_ = std::make_unique<com::HostedControl>(window_, L"Folivex.Viewer", L"Viewer1", nullptr);
    if (FAILED(host_->CreationResult()) ||
        FAILED(host_->Object()->QueryInterface(IID_PPV_ARGS(&viewer_)))) {
        status_.ShowFailure(DescribeFailure(nullptr, IID__Viewer, L"Creating Folivex.Viewer",
                                            host_->CreationResult()) +
                            L" Register Folivex.dll (regsvr32) for this architecture.");
        viewer_.Reset();
        return;
    }
    host_->Show(true);
    commands_->Bind(viewer_.Get());
    // Without the events the demo still works, only without a progress bar: say so and go on.
    sink_ = com::Make<DownloadEventSink>(this);
    const HRESULT hr = events_.Connect(viewer_.Get(), DIID___Viewer, sink_->Unknown());
    if (FAILED(hr)) {
        status_.ShowFailure(DescribeFailure(nullptr, IID_IConnectionPoint,
                                            L"Connecting to the download events", hr));
    } else {
        status_.ShowMessage(L"Ready");
    }
}

void MainWindow::LayOut() {
    RECT client = {};
    ::GetClientRect(window_, &client);
    toolbar_.Resize();
    status_.Resize();
    const int top = toolbar_.Height();
    const int height = client.bottom - top - status_.Height();
    if (host_) {
        host_->Move(0, top, client.right, height > 0 ? height : 0);
    }
}

void MainWindow::RefreshPosition() {
    if (!viewer_ || commands_->Busy()) {
        return;
    }
    // Each readout on its own: a closed toolbar loses the page box but not the page count.
    long page = 0;
    long total = 0;
    short zoom = 0;
    const bool hasPage = SUCCEEDED(viewer_->get_Page(&page)) && page > 0;
    const bool hasTotal = SUCCEEDED(viewer_->get_PageTotal(&total)) && total > 0;
    const bool hasZoom = SUCCEEDED(viewer_->get_ZoomPct(&zoom)) && zoom > 0;
    status_.ShowPosition(hasPage ? std::optional<long>(page) : std::nullopt,
                         hasTotal ? std::optional<long>(total) : std::nullopt,
                         hasZoom ? std::optional<short>(zoom) : std::nullopt);
    toolbar_.ShowZoom(hasZoom ? std::optional<short>(zoom) : std::nullopt);

    // The title names the document and page too, so the taskbar and a screenshot show both.
    std::wstring title = L"Folivex Demo";
    if (!commands_->Document().empty()) {
        title = FileName(commands_->Document()) + L" - " + title;
        if (hasPage) {
            title = L"Page " + std::to_wstring(page) +
                    (hasTotal ? L" of " + std::to_wstring(total) : std::wstring()) + L" - " + title;
        }
    }
    wchar_t current[512] = {};
    ::GetWindowTextW(window_, current, 512);
    if (title != current) {
        ::SetWindowTextW(window_, title.c_str());
    }
}

bool MainWindow::PreTranslate(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        toolbar_.IsZoomBoxEdit(message.hwnd)) {
        commands_->Execute(ID_ZOOM_APPLY);
        return true;
    }
    return accelerators_ && ::TranslateAcceleratorW(window_, accelerators_, &message);
}

void MainWindow::DownloadStarted(const std::wstring& saveFile) {
    status_.BeginProgress();
    status_.ShowMessage(L"Downloading to " + FileName(saveFile) + L"...");
    Notify(DownloadPhase::Started, 0, 0);
}

void MainWindow::DownloadProgress(long curBytes, long maxBytes, const std::wstring&) {
    status_.SetProgress(curBytes, maxBytes);
    // Small documents in bytes: "0 of 1 KB" would say nothing.
    const bool kilobytes = (maxBytes > 0 ? maxBytes : curBytes) >= 10 * 1024;
    const auto amount = [kilobytes](long bytes) {
        return std::to_wstring(kilobytes ? bytes / 1024 : bytes);
    };
    std::wstring text = L"Downloading " + amount(curBytes);
    if (maxBytes > 0) {
        text += L" of " + amount(maxBytes);
    }
    text += kilobytes ? L" KB" : L" bytes";
    status_.ShowMessage(text);
    ::UpdateWindow(status_.Window());
    Notify(DownloadPhase::Progress, curBytes, maxBytes);
}

void MainWindow::DownloadError(const std::wstring& saveFile) {
    status_.ShowFailure(L"The download of " + FileName(saveFile) + L" failed: nothing arrived.");
    Notify(DownloadPhase::Error, 0, 0);
}

void MainWindow::DownloadComplete(long maxBytes, const std::wstring&) {
    status_.SetProgress(maxBytes, maxBytes);
    Notify(DownloadPhase::Complete, maxBytes, maxBytes);
    status_.EndProgress();
}

void MainWindow::Notify(DownloadPhase phase, long curBytes, long maxBytes) {
    if (observer_) {
        observer_(phase, curBytes, maxBytes);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainWindow*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (commands_) {
            LayOut();
        }
        return 0;
    case WM_SETFOCUS:
        // The document, not the frame, should take the keys.
        if (host_ && viewer_) {
            host_->Focus();
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ZOOM_BOX) {
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                commands_->Execute(ID_ZOOM_APPLY);
            }
            return 0;
        }
        if (commands_) {
            commands_->Execute(LOWORD(wParam));
        }
        return 0;
    case WM_INITMENUPOPUP:
        if (commands_) {
            commands_->UpdateMenu(reinterpret_cast<HMENU>(wParam));
        }
        return 0;
    case WM_TIMER:
        if (wParam == kPollTimer) {
            RefreshPosition();
        }
        return 0;
    case WM_CLOSE:
        // A close while OpenPDF waits would tear the control down under its own call.
        if (commands_ && commands_->Busy()) {
            status_.ShowFailure(L"Please wait until the document has opened, then close.");
            return 0;
        }
        ::DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        ::KillTimer(window_, kPollTimer);
        // The Viewer goes before its parent window: events first, then the control itself.
        events_.Disconnect();
        if (sink_) {
            sink_->Detach();
        }
        if (commands_) {
            commands_->Bind(nullptr);
        }
        viewer_.Reset();
        host_.reset();
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND window = window_;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

} // namespace folivex::demo
