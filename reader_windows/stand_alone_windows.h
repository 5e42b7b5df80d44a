#pragma once
// Closing the main window of a stand-alone Acrobat or Reader application on the same desktop.
// Another application may be hung, so every message to it is sent with a time limit.

#include "common/portable_types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace folivex {

// Top-level windows of the desktop.
class TopLevelWindows {
public:
    virtual ~TopLevelWindows() = default;

    // FindWindowA with no class: the first top-level window whose whole title equals `title`
    // (ANSI code page, the platform's comparison), or 0.
    virtual WindowHandle FindByTitle(const std::string& title) = 0;

    // SendMessageTimeoutA aborting if the receiver is hung: the message's result, or nothing
    // when it was not handled within `timeoutMs`. A window that no longer exists handles
    // nothing and answers 0.
    virtual std::optional<std::intptr_t> SendWithTimeout(WindowHandle window, std::uint32_t message,
                                                         std::uintptr_t wParam,
                                                         std::intptr_t lParam,
                                                         std::uint32_t timeoutMs) = 0;
};

inline constexpr std::uint32_t kMessageClose = 0x0010;   // WM_CLOSE
inline constexpr std::uint32_t kMessageDestroy = 0x0002; // WM_DESTROY
// Long enough for a busy application to handle a close request, short enough for a host.
inline constexpr std::uint32_t kCloseMessageTimeoutMs = 5000;

// Titles searched, in order. Plain ASCII, the same bytes in every ANSI code page.
inline constexpr std::string_view kAcrobatTitles[] = {"Adobe Acrobat Professional", "Adobe Acrobat",
                                                      "Adobe Acrobat Standard"};
inline constexpr std::string_view kReaderTitles[] = {"Adobe Reader"};

// Finds the first window titled by one of `titles` (the first title that yields one wins),
// sends it WM_CLOSE and then WM_DESTROY, and returns True when WM_DESTROY answered 0. False when
// no window is found (nothing is sent), when WM_DESTROY answered non-zero, or when either
// message was not handled in time (WM_DESTROY is then not sent after a WM_CLOSE that was not).
AutoBool CloseWindowTitled(TopLevelWindows& windows, std::span<const std::string_view> titles);

AutoBool CloseAcrobat(TopLevelWindows& windows);
AutoBool CloseReader(TopLevelWindows& windows);

} // namespace folivex
