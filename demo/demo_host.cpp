// Folivex demo host: a window holding one Viewer that fills its client area.
//
//   folivex_demo.exe [--open FILE] [--screenshots DIR]
//
// With --screenshots it shows the window, waits for it to settle, writes DIR\demo.bmp and exits.

#include "screenshot.h"

#include "interface/folivex_interface.h"

#include "com/bstr.h"
#include "com/hosted_control.h"

#include <shellapi.h>

#include <memory>
#include <string>

namespace {

using folivex::com::HostedControl;

HostedControl* g_viewer = nullptr;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g_viewer) {
            g_viewer->Move(0, 0, LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    std::wstring open;
    std::wstring screenshots;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; argv && i + 1 < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--open") {
            open = argv[++i];
        } else if (arg == L"--screenshots") {
            screenshots = argv[++i];
        }
    }
    ::LocalFree(argv);

    ::OleInitialize(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"FolivexDemo";
    ::RegisterClassExW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Folivex demo", WS_OVERLAPPEDWINDOW, 40,
                                    40, 800, 600, nullptr, nullptr, instance, nullptr);
    int status = 0;
    {
        auto viewer =
            std::make_unique<HostedControl>(window, L"Folivex.Viewer", L"Viewer1", nullptr);
        g_viewer = viewer.get();
        if (FAILED(viewer->CreationResult())) {
            ::MessageBoxW(window, L"Folivex.Viewer is not registered.", L"Folivex demo",
                          MB_ICONERROR);
            status = 1;
        } else {
            viewer->Show(true);
            RECT client = {};
            ::GetClientRect(window, &client);
            viewer->Move(0, 0, client.right, client.bottom);
            folivex::com::ComPtr<_Viewer> control;
            viewer->Object()->QueryInterface(IID_PPV_ARGS(&control));
            if (control && !open.empty()) {
                folivex::com::Bstr path(open);
                VARIANT_BOOL opened = VARIANT_FALSE;
                control->OpenPDF(path.Get(), &opened);
            }
        }
        ::ShowWindow(window, screenshots.empty() ? show : SW_SHOW);
        ::UpdateWindow(window);
        if (!screenshots.empty()) {
            Pump(1500);
            if (!folivex::demo::SaveWindowBitmap(window, screenshots + L"\\demo.bmp")) {
                status = 2;
            }
            ::DestroyWindow(window);
        } else {
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        g_viewer = nullptr;
    }
    ::OleUninitialize();
    return status;
}
