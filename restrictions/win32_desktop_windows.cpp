#include "restrictions/win32_desktop_windows.h"

#include "common/win32_window_handle.h"

namespace folivex {
namespace {

// Characters the ANSI code page lacks become its default character, as any ANSI call would
// see them.
std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::string();
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(),
                          length, nullptr, nullptr);
    return ansi;
}

} // namespace

WindowHandle Win32DesktopWindows::FindTopLevelWindow(const std::wstring& title) {
    const std::string ansiTitle = ToAnsi(title);
    return FromHwnd(::FindWindowA(nullptr, ansiTitle.c_str()));
}

std::string Win32DesktopWindows::ClassName(WindowHandle window) {
    char buffer[kClassNameBufferSize] = {};
    const int length = ::GetClassNameA(ToHwnd(window), buffer, kClassNameBufferSize);
    if (length <= 0) {
        return std::string();
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

void Win32DesktopWindows::PostClose(WindowHandle window) {
    ::PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

} // namespace folivex
