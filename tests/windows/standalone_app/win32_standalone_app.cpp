// folivex_standalone_app.exe: another application on the desktop, with top-level windows and
// dialogs whose titles, classes and message handling the command line chooses, for the tests of
// closing stand-alone viewer windows and of dialog suppression. README.md lists the options.

#include "com/unique_handle.h"
#include "com/window_instance.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kDefaultClass[] = L"FolivexStandaloneApp";
constexpr DWORD kDefaultLifetimeMs = 30000;

enum class Kind { Window, Plain, Dialog };
enum class OnClose { Destroy, Ignore };

struct WindowPlan {
    Kind kind = Kind::Window;
    std::wstring title;
    std::wstring className = kDefaultClass;
    OnClose onClose = OnClose::Destroy;
    LRESULT destroyResult = 0;
    bool atBottom = false;
    HWND handle = nullptr;
};

struct Options {
    std::vector<WindowPlan> windows;
    DWORD hangMs = 0;
    DWORD lifetimeMs = kDefaultLifetimeMs;
    std::wstring readyFile;
    std::wstring logFile;
};

// Exit codes, documented in README.md.
constexpr int kExitAllDestroyed = 0;
constexpr int kExitUsage = 1;
constexpr int kExitLifetime = 2;
constexpr int kExitStartFailed = 3;

std::wstring g_logFile;
int g_liveWindows = 0;
bool g_zOrderFixed = false;

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                              size, nullptr, nullptr);
    }
    return out;
}

// Each line is opened, appended and closed on its own so that a test reading the file while we
// run sees every line written so far, and a crash loses nothing.
void LogLine(const wchar_t* message, const WindowPlan& plan) {
    if (g_logFile.empty()) {
        return;
    }
    folivex::com::UniqueFile file(::CreateFileW(
        g_logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    std::string line = ToUtf8(message) + " " + ToUtf8(plan.title) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::FlushFileBuffers(file.Get());
}

// Once all windows exist their order is what the tests rely on: the platform's activation of one
// of them (when another application's window goes away, for instance) must not raise it.
void KeepZOrder(LPARAM lParam) {
    if (g_zOrderFixed) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOZORDER;
    }
}

void WindowGone() {
    if (--g_liveWindows == 0) {
        ::PostQuitMessage(kExitAllDestroyed);
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* plan = folivex::com::WindowInstance<WindowPlan>(window, message, lParam);
    if (!plan) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        KeepZOrder(lParam);
        return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
        LogLine(L"WM_CLOSE", *plan);
        if (plan->onClose == OnClose::Destroy) {
            ::DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        LogLine(L"WM_DESTROY", *plan);
        return plan->destroyResult;
    case WM_NCDESTROY:
        LogLine(L"WM_NCDESTROY", *plan);
        plan->handle = nullptr;
        WindowGone();
        return ::DefWindowProcW(window, message, wParam, lParam);
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    auto* plan = reinterpret_cast<WindowPlan*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!plan) {
        return FALSE;
    }
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        KeepZOrder(lParam);
        return FALSE;
    case WM_CLOSE:
        LogLine(L"WM_CLOSE", *plan);
        if (plan->onClose == OnClose::Destroy) {
            ::DestroyWindow(dialog);
        }
        return TRUE;
    case WM_DESTROY:
        LogLine(L"WM_DESTROY", *plan);
        return TRUE;
    case WM_NCDESTROY:
        LogLine(L"WM_NCDESTROY", *plan);
        plan->handle = nullptr;
        ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
        WindowGone();
        return FALSE;
    default:
        return FALSE;
    }
}

bool RegisterClassOnce(const std::wstring& name) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name.c_str(), &existing)) {
        return true;
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name.c_str();
    return ::RegisterClassExW(&wc) != 0;
}

// A dialog template with no controls and no font: DLGTEMPLATE, then the menu, class and title
// arrays, each WORD-aligned, the whole DWORD-aligned as CreateDialogIndirect requires.
std::vector<DWORD> DialogTemplate(const std::wstring& title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE header = {};
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    header.cdit = 0;
    header.x = 20;
    header.y = 20;
    header.cx = 160;
    header.cy = 60;
    std::memcpy(words.data(), &header, sizeof(header));
    words.push_back(0); // no menu
    words.push_back(0); // the predefined dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    std::vector<DWORD> aligned((words.size() * sizeof(WORD) + sizeof(DWORD) - 1) / sizeof(DWORD),
                               0);
    std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    return aligned;
}

bool CreateOneWindow(WindowPlan& plan, int offset) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (plan.kind == Kind::Dialog) {
        std::vector<DWORD> dialogTemplate = DialogTemplate(plan.title);
        plan.handle = ::CreateDialogIndirectParamW(
            instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr,
            DialogProcedure, reinterpret_cast<LPARAM>(&plan));
    } else {
        if (!RegisterClassOnce(plan.className)) {
            return false;
        }
        plan.handle = ::CreateWindowExW(0, plan.className.c_str(), plan.title.c_str(),
                                        WS_OVERLAPPEDWINDOW, 40 + offset, 40 + offset, 320, 200,
                                        nullptr, nullptr, instance, &plan);
    }
    if (!plan.handle) {
        return false;
    }
    ++g_liveWindows;
    ::ShowWindow(plan.handle, SW_SHOWNOACTIVATE);
    return true;
}

// Each new window goes on top of the ones before it. Wine does not move a shown top-level
// window to the bottom (SetWindowPos with HWND_BOTTOM leaves it where it is), so the windows
// asked to lie beneath the others are simply created first.
bool CreateWindows(std::vector<WindowPlan>& plans) {
    int offset = 0;
    for (bool bottomPass : {true, false}) {
        for (WindowPlan& plan : plans) {
            if (plan.atBottom == bottomPass) {
                if (!CreateOneWindow(plan, offset)) {
                    return false;
                }
                offset += 24;
            }
        }
    }
    return true;
}

// Written to a side file and renamed into place, so a reader that sees the file sees all of it.
bool WriteReadyFile(const std::wstring& path, const std::vector<WindowPlan>& plans) {
    std::string content;
    for (const WindowPlan& plan : plans) {
        content += std::to_string(reinterpret_cast<std::uintptr_t>(plan.handle)) + "\r\n";
    }
    std::wstring temporary = path + L".partial";
    {
        folivex::com::UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        DWORD written = 0;
        if (!::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr) ||
            written != content.size()) {
            return false;
        }
    }
    return ::MoveFileExW(temporary.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool ParseMilliseconds(const wchar_t* text, DWORD& value) {
    wchar_t* end = nullptr;
    unsigned long parsed = std::wcstoul(text, &end, 10);
    if (end == text || *end != L'\0' || text[0] == L'-') {
        return false;
    }
    value = static_cast<DWORD>(parsed);
    return true;
}

bool ParseResult(const wchar_t* text, LRESULT& value) {
    wchar_t* end = nullptr;
    long long parsed = std::wcstoll(text, &end, 0);
    if (end == text || *end != L'\0') {
        return false;
    }
    value = static_cast<LRESULT>(parsed);
    return true;
}

// The error, for a person running the program by hand; tests look at the exit code.
bool Usage(const std::wstring& problem) {
    std::wstring text = L"folivex_standalone_app: " + problem + L" (see README.md)\n";
    ::OutputDebugStringW(text.c_str());
    if (HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE); err && err != INVALID_HANDLE_VALUE) {
        std::string narrow = ToUtf8(text);
        DWORD written = 0;
        ::WriteFile(err, narrow.data(), static_cast<DWORD>(narrow.size()), &written, nullptr);
    }
    return false;
}

bool ParseArguments(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::wstring name = argv[i];
        bool hasValue = i + 1 < argc;
        const wchar_t* value = hasValue ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (!hasValue) {
                return Usage(name + L" needs a value");
            }
            ++i;
            return true;
        };
        auto lastWindow = [&]() -> WindowPlan* {
            if (options.windows.empty()) {
                Usage(name + L" must follow a --window, --plain or --dialog");
                return nullptr;
            }
            return &options.windows.back();
        };
        if (name == L"--window" || name == L"--plain" || name == L"--dialog") {
            if (!needValue()) {
                return false;
            }
            WindowPlan plan;
            plan.kind = name == L"--window"  ? Kind::Window
                        : name == L"--plain" ? Kind::Plain
                                             : Kind::Dialog;
            plan.title = value;
            options.windows.push_back(std::move(plan));
        } else if (name == L"--class") {
            WindowPlan* plan = lastWindow();
            if (!plan || !needValue()) {
                return false;
            }
            if (plan->kind == Kind::Dialog) {
                return Usage(L"a dialog's class is always #32770");
            }
            if (value[0] == L'\0') {
                return Usage(L"--class needs a non-empty name");
            }
            plan->className = value;
        } else if (name == L"--on-close") {
            WindowPlan* plan = lastWindow();
            if (!plan || !needValue()) {
                return false;
            }
            if (std::wstring(value) == L"destroy") {
                plan->onClose = OnClose::Destroy;
            } else if (std::wstring(value) == L"ignore") {
                plan->onClose = OnClose::Ignore;
            } else {
                return Usage(L"--on-close takes destroy or ignore");
            }
        } else if (name == L"--destroy-result") {
            WindowPlan* plan = lastWindow();
            if (!plan || !needValue()) {
                return false;
            }
            if (plan->kind == Kind::Dialog) {
                return Usage(L"--destroy-result is for --window and --plain only");
            }
            if (!ParseResult(value, plan->destroyResult)) {
                return Usage(L"--destroy-result takes an integer");
            }
        } else if (name == L"--at-bottom") {
            WindowPlan* plan = lastWindow();
            if (!plan) {
                return false;
            }
            plan->atBottom = true;
        } else if (name == L"--hang") {
            if (!needValue() || !ParseMilliseconds(value, options.hangMs)) {
                return Usage(L"--hang takes milliseconds");
            }
        } else if (name == L"--lifetime") {
            if (!needValue() || !ParseMilliseconds(value, options.lifetimeMs)) {
                return Usage(L"--lifetime takes milliseconds");
            }
        } else if (name == L"--ready") {
            if (!needValue()) {
                return false;
            }
            options.readyFile = value;
        } else if (name == L"--log") {
            if (!needValue()) {
                return false;
            }
            options.logFile = value;
        } else {
            return Usage(L"unknown option " + name);
        }
    }
    if (options.windows.empty()) {
        return Usage(L"no window asked for");
    }
    return true;
}

DWORD Remaining(ULONGLONG deadline) {
    ULONGLONG now = ::GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

int Run(int argc, wchar_t** argv) {
    ULONGLONG deadline = ::GetTickCount64();
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        return kExitUsage;
    }
    deadline += options.lifetimeMs;
    g_logFile = options.logFile;
    if (!CreateWindows(options.windows)) {
        return kExitStartFailed;
    }
    g_zOrderFixed = true;
    if (!options.readyFile.empty() && !WriteReadyFile(options.readyFile, options.windows)) {
        return kExitStartFailed;
    }
    if (options.hangMs > 0) {
        DWORD remaining = Remaining(deadline);
        ::Sleep(options.hangMs < remaining ? options.hangMs : remaining);
    }
    for (;;) {
        DWORD remaining = Remaining(deadline);
        if (remaining == 0) {
            return kExitLifetime;
        }
        DWORD wait =
            ::MsgWaitForMultipleObjectsEx(0, nullptr, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wait == WAIT_TIMEOUT) {
            return kExitLifetime;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            bool dialogMessage = false;
            for (const WindowPlan& plan : options.windows) {
                if (plan.kind == Kind::Dialog && plan.handle &&
                    ::IsDialogMessageW(plan.handle, &msg)) {
                    dialogMessage = true;
                    break;
                }
            }
            if (!dialogMessage) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) {
        return kExitUsage;
    }
    int status = Run(argc, argv);
    ::LocalFree(argv);
    return status;
}
