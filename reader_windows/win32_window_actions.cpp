#include "reader_windows/win32_window_actions.h"

#include "reader_windows/win32_window_tree.h"

#include <windows.h>

namespace folivex {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

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
    RECT r{};
    if (!GetWindowRect(ToHwnd(window), &r)) {
        return false;
    }
    rect = WindowRect{r.left, r.top, r.right, r.bottom};
    return true;
}

} // namespace folivex
