#pragma once
// The clipboard for the text operations: cleared before a copy, read as Unicode text after it.

#include "viewer_bridge/text_operations.h"

#include <windows.h>

namespace folivex {

class Win32Clipboard : public ClipboardAccess {
public:
    // Another application may hold the clipboard open for a moment; opening is tried this many
    // times, this far apart, before the step gives up.
    static constexpr int kOpenAttempts = 10;
    static constexpr DWORD kOpenRetryDelayMs = 20;

    // The owner is the window the emptied clipboard is assigned to; null is allowed.
    explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}

    bool Clear() override;
    std::wstring ReadText() override;

private:
    HWND owner_;
};

} // namespace folivex
