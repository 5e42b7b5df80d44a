#pragma once
// The viewer's toolbar and navigation bar, shown and hidden through the component's own toolbar
// switch, closed, enabled and disabled directly on the windows of the captured window list.

#include "common/portable_types.h"
#include "reader_windows/captured_windows.h"
#include "reader_windows/window_tree.h"
#include "viewer_bridge/viewer_component.h"

#include <cstdint>

namespace folivex {

// What the toolbar operations do to captured windows. A handle that is no longer a window makes
// each of these fail quietly.
class WindowActions {
public:
    virtual ~WindowActions() = default;
    // PostMessageA WM_CLOSE, wParam 0, lParam 0; does not wait for the window to close.
    virtual void PostClose(WindowHandle window) = 0;
    // EnableWindow with TRUE or FALSE.
    virtual void Enable(WindowHandle window, bool enable) = 0;
    // GetWindowRect: false when the handle is no window.
    virtual bool Rect(WindowHandle window, WindowRect& rect) = 0;
};

// The control's cover panel, laid over the place of the closed toolbar in the old layout.
class CoverPanel {
public:
    virtual ~CoverPanel() = default;
    // Places the panel at the control's top-right corner (top: the component site's top; left:
    // the control's width minus the panel's width) and makes it visible.
    virtual void ShowAtTopRight() = 0;
};

// What ShowToolbar acts on besides the captured list.
struct ToolbarTargets {
    ViewerComponent& component;
    WindowActions& windows;
    CoverPanel& coverPanel;
};

// The width of a toolbar view that ShowToolbar disables after closing the toolbar.
inline constexpr std::int16_t kNarrowToolbarViewWidth = 36;

// Shows or hides the toolbar through the component (nothing at all when asked to show while
// `toolbarClosed` is set); with blnCloseToolbar it then closes the captured toolbar windows,
// disables the narrow toolbar view, sets `toolbarClosed` and, in the old layout, shows the cover
// panel. Returns the toolbar switch's failure unchanged, with no further step run.
HResult ShowToolbar(AutoBool blnShow, AutoBool blnCloseToolbar, ToolbarTargets targets,
                    const CapturedWindows& captured, std::int16_t readerVersion,
                    AutoBool& toolbarClosed);

// Disables the first captured toolbar view exactly 36 pixels wide.
void DisableNarrowToolbarView(const CapturedWindows& captured, WindowActions& windows);

// Every captured toolbar window.
void EnableToolbar(const CapturedWindows& captured, WindowActions& windows);
void DisableToolbar(const CapturedWindows& captured, WindowActions& windows);

// The first captured navigation bar only.
void EnableNavigationBar(const CapturedWindows& captured, WindowActions& windows);
void DisableNavigationBar(const CapturedWindows& captured, WindowActions& windows);

} // namespace folivex
