#pragma once
// WindowActions on the desktop's windows through user32.

#include "reader_windows/toolbar.h"

namespace folivex {

class Win32WindowActions final : public WindowActions {
public:
    void PostClose(WindowHandle window) override;
    void Enable(WindowHandle window, bool enable) override;
    bool Rect(WindowHandle window, WindowRect& rect) override;
};

} // namespace folivex
