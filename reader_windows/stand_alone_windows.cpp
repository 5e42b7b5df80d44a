#include "reader_windows/stand_alone_windows.h"

namespace folivex {

AutoBool CloseWindowTitled(TopLevelWindows& windows, std::span<const std::string_view> titles) {
    WindowHandle window = 0;
    for (std::string_view title : titles) {
        window = windows.FindByTitle(std::string(title));
        if (window != 0) {
            break;
        }
    }
    if (window == 0) {
        return kAutoFalse;
    }
    // The same handle for both messages, also when WM_CLOSE has destroyed the window already:
    // the destroyed window then answers WM_DESTROY with 0, which counts as closed.
    if (!windows.SendWithTimeout(window, kMessageClose, 0, 0, kCloseMessageTimeoutMs)) {
        return kAutoFalse;
    }
    const auto destroyed =
        windows.SendWithTimeout(window, kMessageDestroy, 0, 0, kCloseMessageTimeoutMs);
    return ToAutoBool(destroyed && *destroyed == 0);
}

AutoBool CloseAcrobat(TopLevelWindows& windows) {
    return CloseWindowTitled(windows, kAcrobatTitles);
}

AutoBool CloseReader(TopLevelWindows& windows) {
    return CloseWindowTitled(windows, kReaderTitles);
}

} // namespace folivex
