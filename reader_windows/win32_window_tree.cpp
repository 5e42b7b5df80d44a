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
    return static_cast<std::intptr_t>(SendMessageA(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0));
}

std::intptr_t Win32WindowTree::Text(WindowHandle window, std::span<char> buffer) {
    if (buffer.empty()) {
        return 0;
    }
    return static_cast<std::intptr_t>(SendMessageA(ToHwnd(window), WM_GETTEXT,
                                                   static_cast<WPARAM>(buffer.size()),
                                                   reinterpret_cast<LPARAM>(buffer.data())));
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
