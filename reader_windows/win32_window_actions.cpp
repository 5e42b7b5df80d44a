#include "reader_windows/win32_window_actions.h"

#include "reader_windows/win32_window_tree.h"

#include "common/win32_window_handle.h"

namespace folivex {

void Win32WindowActions::PostClose(WindowHandle window) {
    // A captured window may be gone by now; the failed post is of no consequence.
    PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

void Win32WindowActions::Enable(WindowHandle window, bool enable) {
    // EnableWindow waits for the window's thread; one that has stopped answering is left as it
    // is rather than holding the caller.
    if (!Win32WindowAnswers(window, Win32WindowTree::kAnswerTimeoutMs)) {
        return;
    }
    // The result is the previous state, not success.
    EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

bool Win32WindowActions::Rect(WindowHandle window, WindowRect& rect) {
    return Win32WindowRect(window, rect);
}

} // namespace folivex
