#include "reader_windows/toolbar.h"

#include "reader_windows/viewer_window_names.h"

#include <array>
#include <limits>
#include <string_view>

namespace folivex {
namespace {

using namespace viewer_window;

bool IsView(const CapturedWindows& captured, std::size_t i, std::wstring_view viewName) {
    return captured.WindowClasses[i] == kView && captured.WindowTexts[i] == viewName;
}

void EnableEveryToolbar(const CapturedWindows& captured, WindowActions& windows, bool enable) {
    for (std::size_t i = 0; i < captured.Size(); ++i) {
        if (IsView(captured, i, kToolBarEasel)) {
            windows.Enable(captured.WindowHandles[i], enable);
        }
    }
}

void EnableFirstNavigationBar(const CapturedWindows& captured, WindowActions& windows,
                              bool enable) {
    for (std::size_t i = 0; i < captured.Size(); ++i) {
        if (IsView(captured, i, kStatusLayoutView)) {
            windows.Enable(captured.WindowHandles[i], enable);
            return;
        }
    }
}

// The width as the 16-bit value it is compared in; a width that does not fit is no width.
bool HasWidth16(WindowActions& windows, WindowHandle window, std::int16_t width) {
    WindowRect rect;
    if (!windows.Rect(window, rect)) {
        return false;
    }
    const std::int64_t actual = RectWidth(rect);
    if (actual < std::numeric_limits<std::int16_t>::min() ||
        actual > std::numeric_limits<std::int16_t>::max()) {
        return false;
    }
    return static_cast<std::int16_t>(actual) == width;
}

} // namespace

HResult ShowToolbar(AutoBool blnShow, AutoBool blnCloseToolbar, ToolbarTargets targets,
                    const CapturedWindows& captured, std::int16_t readerVersion,
                    AutoBool& toolbarClosed) {
    if (FromAutoBool(blnShow) && FromAutoBool(toolbarClosed)) {
        return kOk;
    }
    // The component takes the flag by reference and may write to it; the caller's is not ours to
    // change.
    AutoBool show = ToAutoBool(FromAutoBool(blnShow));
    const std::array<ComponentArg, 1> args{ComponentArg::Bool(show)};
    const HResult hr = targets.component.Invoke(component_member::kShowToolbar, args);
    if (Failed(hr)) {
        return hr;
    }
    if (!FromAutoBool(blnCloseToolbar)) {
        return kOk;
    }
    for (std::size_t i = 0; i < captured.Size(); ++i) {
        if (IsView(captured, i, kToolBarEasel)) {
            targets.windows.PostClose(captured.WindowHandles[i]);
        }
    }
    // The posted closes have not been handled yet: the narrow view still exists here.
    DisableNarrowToolbarView(captured, targets.windows);
    toolbarClosed = kAutoTrue;
    if (!IsNewLayout(readerVersion)) {
        targets.coverPanel.ShowAtTopRight();
    }
    return kOk;
}

void DisableNarrowToolbarView(const CapturedWindows& captured, WindowActions& windows) {
    for (std::size_t i = 0; i < captured.Size(); ++i) {
        if (IsView(captured, i, kToolBarView) &&
            HasWidth16(windows, captured.WindowHandles[i], kNarrowToolbarViewWidth)) {
            windows.Enable(captured.WindowHandles[i], false);
            return;
        }
    }
}

void EnableToolbar(const CapturedWindows& captured, WindowActions& windows) {
    EnableEveryToolbar(captured, windows, true);
}

void DisableToolbar(const CapturedWindows& captured, WindowActions& windows) {
    EnableEveryToolbar(captured, windows, false);
}

void EnableNavigationBar(const CapturedWindows& captured, WindowActions& windows) {
    EnableFirstNavigationBar(captured, windows, true);
}

void DisableNavigationBar(const CapturedWindows& captured, WindowActions& windows) {
    EnableFirstNavigationBar(captured, windows, false);
}

} // namespace folivex
