#pragma once
// The main window's status bar: the page readout ("Page 3 of 5"), the zoom readout, a progress
// bar that exists only while a download runs, and the last message or failure in plain words.
// It uses a large font so that a screenshot shows the page at a glance.

#include "com/unique_handle.h"

#include <windows.h>

#include <optional>
#include <string>

namespace folivex::demo {

class StatusBar {
public:
    // Creates the bar along the bottom of `parent`.
    bool Create(HWND parent, HINSTANCE instance);
    HWND Window() const { return bar_; }
    // The height the parent leaves free for the bar.
    int Height() const;
    // Follows the parent's new size.
    void Resize();

    // Absent values (a readout that failed, or no document) show as a dash.
    void ShowPosition(std::optional<long> page, std::optional<long> pageTotal,
                      std::optional<short> zoomPercent);
    void ShowMessage(const std::wstring& text);
    void ShowFailure(const std::wstring& text);
    std::wstring Message() const { return message_; }
    std::wstring PositionText() const { return positionText_; }

    void BeginProgress();
    // A maximum of 0 means the size is unknown: the bar then shows activity only.
    void SetProgress(long current, long maximum);
    void EndProgress();

private:
    void LayOutParts();

    HWND bar_ = nullptr;      // a child of the parent: destroyed with it
    HWND progress_ = nullptr; // a child of the bar
    com::UniqueGdiObject font_;
    bool downloading_ = false;
    std::wstring message_;
    std::wstring positionText_;
};

} // namespace folivex::demo
