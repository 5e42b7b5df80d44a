#pragma once
// The main window's own toolbar (not the viewer component's): text buttons for the common
// commands and an editable zoom box. Text rather than icons, so the sample needs no bitmaps.

#include <windows.h>

#include <optional>
#include <string>

namespace folivex::demo {

class Toolbar {
public:
    bool Create(HWND parent, HINSTANCE instance);
    HWND Window() const { return toolbar_; }
    int Height() const;
    void Resize();

    // The percent typed or chosen in the zoom box; absent when it is not a number.
    std::optional<float> ZoomBoxPercent() const;
    // Shows the current zoom unless the user is typing in the box.
    void ShowZoom(std::optional<short> percent);
    // True when `window` is the zoom box's edit field.
    bool IsZoomBoxEdit(HWND window) const;

private:
    HWND toolbar_ = nullptr; // children of the parent: destroyed with it
    HWND zoomBox_ = nullptr;
};

} // namespace folivex::demo
