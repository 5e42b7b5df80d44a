#include "reader_windows/win32_window_tree.h"

#include <windows.h>

#include <climits>

namespace folivex {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

int ClampToInt(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

} // namespace

std::int32_t Win32WindowTree::ClassName(WindowHandle window, std::span<char> buffer) {
    if (buffer.empty()) {
        return 0;
    }
    return GetClassNameA(ToHwnd(window), buffer.data(), ClampToInt(buffer.size()));
}

std::intptr_t Win32WindowTree::TextLength(WindowHandle window) {
    return Ask(window, WM_GETTEXTLENGTH, 0, 0);
}

std::intptr_t Win32WindowTree::Text(WindowHandle window, std::span<char> buffer) {
    if (buffer.empty()) {
        return 0;
    }
    return Ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
}

std::intptr_t Win32WindowTree::Ask(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    HWND hwnd = ToHwnd(window);
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (thread == 0) {
        return 0;
    }
    if (thread == GetCurrentThreadId()) {
        return static_cast<std::intptr_t>(SendMessageA(hwnd, message, wParam, lParam));
    }
    const ULONGLONG now = GetTickCount64();
    if (thread == hungThread_ && now - hungSince_ < kHungThreadPauseMs) {
        return 0;
    }
    DWORD_PTR result = 0;
    // SMTO_NORMAL: messages other threads send us meanwhile are still answered, so a component
    // thread that is itself waiting on this one cannot deadlock the two.
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &result)) {
        if (IsWindow(hwnd)) {
            hungThread_ = thread;
            hungSince_ = GetTickCount64();
        }
        return 0;
    }
    return static_cast<std::intptr_t>(result);
}

bool Win32WindowAnswers(WindowHandle window, unsigned timeoutMs) {
    HWND hwnd = ToHwnd(window);
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (thread == 0) {
        return false;
    }
    if (thread == GetCurrentThreadId()) {
        return true;
    }
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs,
                               &ignored) != 0;
}

WindowHandle Win32WindowTree::FirstChild(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_CHILD));
}

WindowHandle Win32WindowTree::NextSibling(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

bool Win32WindowTree::Rect(WindowHandle window, WindowRect& rect) {
    RECT r{};
    if (!GetWindowRect(ToHwnd(window), &r)) {
        return false;
    }
    rect = WindowRect{r.left, r.top, r.right, r.bottom};
    return true;
}

std::wstring Win32WindowTree::AnsiToWide(std::string_view bytes) const {
    return Win32AnsiToWide(bytes);
}

std::wstring Win32AnsiToWide(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int length = ClampToInt(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), needed);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

} // namespace folivex
