#pragma once
// TopLevelWindows of the desktop through user32's "A" forms.

#include "reader_windows/stand_alone_windows.h"

namespace folivex {

class Win32TopLevelWindows final : public TopLevelWindows {
public:
    WindowHandle FindByTitle(const std::string& title) override;
    std::optional<std::intptr_t> SendWithTimeout(WindowHandle window, std::uint32_t message,
                                                 std::uintptr_t wParam, std::intptr_t lParam,
                                                 std::uint32_t timeoutMs) override;
};

} // namespace folivex
