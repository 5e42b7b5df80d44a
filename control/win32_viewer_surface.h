#pragma once
// Picture1 as the toolbar logic and the resizing place it, and the control's window as Refresh
// repaints it. Both look at the control's windows and the component as they are at the call.

#include "control/win32_viewer.h"
#include "reader_windows/toolbar.h"
#include "viewer_bridge/viewer_commands.h"

namespace folivex {

class Viewer::Surface final : public CoverPanel, public ControlSurface {
public:
    explicit Surface(Viewer& viewer) : viewer_(viewer) {}
    void ShowAtTopRight() override;
    void RepaintNow() override;
    // After a resize a panel already shown stays at the component's top-right corner.
    void KeepCoverPanelInPlace();

private:
    void PlaceCoverPanel(UINT extraFlags);

    Viewer& viewer_;
};

} // namespace folivex
