#pragma once
// The window tree of the desktop through user32's "A" forms; text in the ANSI code page.

#include "reader_windows/window_tree.h"

namespace folivex {

class Win32WindowTree final : public WindowTree {
public:
    std::int32_t ClassName(WindowHandle window, std::span<char> buffer) override;
    std::intptr_t TextLength(WindowHandle window) override;
    std::intptr_t Text(WindowHandle window, std::span<char> buffer) override;
    WindowHandle FirstChild(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    bool Rect(WindowHandle window, WindowRect& rect) override;
    std::wstring AnsiToWide(std::string_view bytes) const override;
};

// MultiByteToWideChar with the ANSI code page; shared by the Win32 side of this folder.
std::wstring Win32AnsiToWide(std::string_view bytes);

} // namespace folivex
