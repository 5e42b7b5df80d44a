#pragma once
// The window tree of the desktop through user32's "A" forms; text in the ANSI code page.

#include "reader_windows/window_tree.h"

namespace folivex {

// The text queries are messages, answered by the thread that owns the window. A component that
// renders off the host's thread owns its windows there, and that thread may stop answering: a
// window of another thread is asked with a send timeout, and one that does not answer in time
// reads as a window without text. Its thread is then not asked again for a while, so that a
// walk over many of its windows stays within one timeout.
class Win32WindowTree final : public WindowTree {
public:
    static constexpr unsigned kAnswerTimeoutMs = 500;
    static constexpr unsigned kHungThreadPauseMs = 3000;

    std::int32_t ClassName(WindowHandle window, std::span<char> buffer) override;
    std::intptr_t TextLength(WindowHandle window) override;
    std::intptr_t Text(WindowHandle window, std::span<char> buffer) override;
    WindowHandle FirstChild(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    bool Rect(WindowHandle window, WindowRect& rect) override;
    std::wstring AnsiToWide(std::string_view bytes) const override;

private:
    // The message's result, or 0 when the window's thread did not answer.
    std::intptr_t Ask(WindowHandle window, unsigned message, std::uintptr_t wParam,
                      std::intptr_t lParam);

    unsigned long hungThread_ = 0;
    unsigned long long hungSince_ = 0;
};

// Whether the window's thread answers a message within `timeoutMs` (at once for this thread's
// own windows): the calls that send a window a message and cannot be bounded (EnableWindow)
// ask this first.
bool Win32WindowAnswers(WindowHandle window, unsigned timeoutMs);

// MultiByteToWideChar with the ANSI code page; shared by the Win32 side of this folder.
std::wstring Win32AnsiToWide(std::string_view bytes);

} // namespace folivex
