#pragma once
// The tree of child windows that the embedded viewer component builds inside the control's
// window, reduced to the six queries the walks need. Strings cross in the ANSI code page, as
// the "A" forms of the platform deliver them; AnsiToWide turns them into the logic's text.
//
// A handle that is no longer a window answers like an empty leaf: no class (count 0), no text
// (length 0) and no children (first child 0).

#include "common/portable_types.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace folivex {

// A window's screen rectangle, in pixels.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// right - left without overflow, whatever the rectangle holds.
constexpr std::int64_t RectWidth(const WindowRect& rect) {
    return static_cast<std::int64_t>(rect.right) - static_cast<std::int64_t>(rect.left);
}

class WindowTree {
public:
    // The class-name buffer: 255 characters and the terminator.
    static constexpr std::size_t kClassNameBufferSize = 256;

    virtual ~WindowTree() = default;

    // GetClassNameA: copies the class name, cut to buffer.size() - 1 bytes, and a terminator
    // into the buffer and returns the number of bytes copied; 0 for a handle that is no window.
    virtual std::int32_t ClassName(WindowHandle window, std::span<char> buffer) = 0;

    // WM_GETTEXTLENGTH: the length of the window's text in bytes of the ANSI code page.
    virtual std::intptr_t TextLength(WindowHandle window) = 0;

    // WM_GETTEXT: copies at most buffer.size() - 1 bytes and a terminator; returns the number of
    // bytes copied.
    virtual std::intptr_t Text(WindowHandle window, std::span<char> buffer) = 0;

    // GetWindow GW_CHILD: the child at the top of the Z-order, or 0.
    virtual WindowHandle FirstChild(WindowHandle window) = 0;

    // GetWindow GW_HWNDNEXT: the next sibling below in the Z-order, or 0 after the last.
    virtual WindowHandle NextSibling(WindowHandle window) = 0;

    // GetWindowRect: false (and `rect` untouched) when the handle is no window.
    virtual bool Rect(WindowHandle window, WindowRect& rect) = 0;

    // Text of the ANSI code page as the logic's wide text.
    virtual std::wstring AnsiToWide(std::string_view bytes) const = 0;
};

} // namespace folivex
