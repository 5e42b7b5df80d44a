#pragma once
// The component's windows as the control reads and drives them: the collecting walk of an open,
// the toolbar and navigation bar, the readouts, and the stand-alone viewer applications'
// windows. The captured list and the readouts' last values it works on are the member state's.

#include "control/viewer_state.h"
#include "reader_windows/toolbar.h"
#include "reader_windows/win32_top_level_windows.h"
#include "reader_windows/win32_window_actions.h"
#include "reader_windows/win32_window_tree.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace folivex {

class ReaderWindowsPart {
public:
    explicit ReaderWindowsPart(ViewerState& state) : state_(state) {}
    ReaderWindowsPart(const ReaderWindowsPart&) = delete;
    ReaderWindowsPart& operator=(const ReaderWindowsPart&) = delete;

    // The walks start at the control's window, passed at each call: it may be gone meanwhile.
    std::wstring CollectViewerWindows(HWND root);
    std::int32_t Page(HWND root);
    std::int16_t ZoomPct(HWND root);
    HResult PageTotal(std::int32_t& total);

    HResult ShowToolbar(AutoBool blnShow, AutoBool blnCloseToolbar, ViewerComponent& component,
                        CoverPanel& coverPanel);
    void EnableToolbar() { folivex::EnableToolbar(state_.Captured, windowActions_); }
    void DisableToolbar() { folivex::DisableToolbar(state_.Captured, windowActions_); }
    void EnableNavigationBar() { folivex::EnableNavigationBar(state_.Captured, windowActions_); }
    void DisableNavigationBar() { folivex::DisableNavigationBar(state_.Captured, windowActions_); }

    AutoBool CloseAcrobat();
    AutoBool CloseReader();

private:
    ViewerState& state_;
    Win32WindowTree tree_;
    Win32WindowActions windowActions_;
    Win32TopLevelWindows topLevelWindows_;
};

} // namespace folivex
