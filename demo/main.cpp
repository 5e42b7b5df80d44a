// Folivex demo: a desktop application hosting one Viewer control.
//
//   folivex_demo.exe [FILE_OR_ADDRESS]
//   folivex_demo.exe --tour DIR --open FILE [--download URL]
//
// With --tour it takes the scripted tour, writes a screenshot of each step into DIR and exits;
// otherwise it opens the document given, if any, and runs until the window is closed. It keeps
// no settings between runs.

#include "main_window.h"
#include "tour.h"

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

namespace {

struct Arguments {
    std::wstring open;
    std::wstring download;
    std::wstring tourDir;
};

Arguments ParseArguments() {
    Arguments result;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--open" && hasValue) {
            result.open = argv[++i];
        } else if (arg == L"--download" && hasValue) {
            result.download = argv[++i];
        } else if ((arg == L"--tour" || arg == L"--screenshots") && hasValue) {
            result.tourDir = argv[++i];
        } else if (result.open.empty()) {
            result.open = arg;
        }
    }
    ::LocalFree(argv);
    return result;
}

// OLE for the whole run, released last: the control, drag and drop and the clipboard need it.
class OleScope {
public:
    OleScope() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleScope() {
        if (ok_) {
            ::OleUninitialize();
        }
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const Arguments arguments = ParseArguments();
    OleScope ole;
    if (!ole.Ok()) {
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    auto main = folivex::demo::MainWindow::Create(instance);
    if (!main) {
        return 1;
    }
    if (!arguments.tourDir.empty()) {
        ::SetWindowPos(main->Window(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
        ::ShowWindow(main->Window(), SW_SHOW);
        ::UpdateWindow(main->Window());
        const int status =
            folivex::demo::RunTour(*main, {arguments.open, arguments.download, arguments.tourDir});
        main.reset();
        return status;
    }

    ::ShowWindow(main->Window(), show);
    ::UpdateWindow(main->Window());
    if (!arguments.open.empty()) {
        main->Run().Open(arguments.open);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!main->PreTranslate(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
