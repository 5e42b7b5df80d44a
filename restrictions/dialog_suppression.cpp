#include "restrictions/dialog_suppression.h"

namespace folivex {

void DialogSuppression::Disable(const std::wstring& caption) {
    caption_ = caption;
    // A timer that failed to start is tried again by the next call.
    if (!timer_.Running()) {
        timer_.Start();
    }
}

void DialogSuppression::Enable() {
    if (timer_.Running()) {
        timer_.Stop();
    }
}

void DialogSuppression::Tick(DesktopWindows& desktop) {
    // A tick already queued when the suppression was switched off must not close anything.
    if (!timer_.Running()) {
        return;
    }
    const WindowHandle window = desktop.FindTopLevelWindow(caption_);
    if (window == 0) {
        return;
    }
    if (desktop.ClassName(window) == kDialogWindowClass) {
        desktop.PostClose(window);
    }
}

} // namespace folivex
