#pragma once
// The desktop's top-level windows through the ANSI user32 calls, for the dialog suppression.

#include "restrictions/dialog_suppression.h"

namespace folivex {

class Win32DesktopWindows : public DesktopWindows {
public:
    WindowHandle FindTopLevelWindow(const std::wstring& title) override;
    std::string ClassName(WindowHandle window) override;
    void PostClose(WindowHandle window) override;
};

} // namespace folivex
