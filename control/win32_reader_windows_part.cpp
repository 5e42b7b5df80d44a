#include "control/win32_reader_windows_part.h"

#include "reader_windows/readouts.h"
#include "reader_windows/stand_alone_windows.h"
#include "reader_windows/window_walks.h"

#include "common/win32_window_handle.h"

namespace folivex {

std::wstring ReaderWindowsPart::CollectViewerWindows(HWND root) {
    return folivex::CollectViewerWindows(tree_, FromHwnd(root), state_.ReaderVersion,
                                         state_.Captured);
}

std::int32_t ReaderWindowsPart::Page(HWND root) {
    return folivex::Page(tree_, FromHwnd(root), state_.ReaderVersion, state_.LastPage);
}

std::int16_t ReaderWindowsPart::ZoomPct(HWND root) {
    return folivex::ZoomPct(tree_, FromHwnd(root), state_.ReaderVersion, state_.LastZoomPct);
}

HResult ReaderWindowsPart::PageTotal(std::int32_t& total) {
    total = state_.LastPageTotal;
    return folivex::PageTotal(state_.Captured, state_.LastPageTotal, total);
}

HResult ReaderWindowsPart::ShowToolbar(AutoBool blnShow, AutoBool blnCloseToolbar,
                                       ViewerComponent& component, CoverPanel& coverPanel) {
    ToolbarTargets targets{component, windowActions_, coverPanel};
    return folivex::ShowToolbar(blnShow, blnCloseToolbar, targets, state_.Captured,
                                state_.ReaderVersion, state_.ToolbarClosed);
}

AutoBool ReaderWindowsPart::CloseAcrobat() {
    return folivex::CloseAcrobat(topLevelWindows_);
}

AutoBool ReaderWindowsPart::CloseReader() {
    return folivex::CloseReader(topLevelWindows_);
}

} // namespace folivex
