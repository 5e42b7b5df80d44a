#include "control/win32_viewer_surface.h"

#include "viewer_bridge/win32_component_host.h"

namespace folivex {

void Viewer::Surface::PlaceCoverPanel(UINT extraFlags) {
    HWND panel = viewer_.coverPanel_.Get();
    HWND window = viewer_.window_.Get();
    if (!panel || !window || !viewer_.component_) {
        return;
    }
    RECT client = {};
    RECT bounds = {};
    ::GetClientRect(window, &client);
    ::GetWindowRect(panel, &bounds);
    ::SetWindowPos(panel, HWND_TOP, client.right - (bounds.right - bounds.left),
                   viewer_.component_->Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | extraFlags);
}

void Viewer::Surface::ShowAtTopRight() {
    PlaceCoverPanel(SWP_SHOWWINDOW);
}

void Viewer::Surface::KeepCoverPanelInPlace() {
    if (HWND panel = viewer_.coverPanel_.Get(); panel && ::IsWindowVisible(panel)) {
        PlaceCoverPanel(0);
    }
}

void Viewer::Surface::RepaintNow() {
    if (HWND window = viewer_.window_.Get()) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

} // namespace folivex
