#pragma once
// Holds the control for the length of a call that lets the host's code run (a wait, an event),
// so that the host may release it meanwhile; the hold is counted as the control's own, which
// Closed() leaves out.

#include "control/win32_viewer.h"

namespace folivex {

class Viewer::KeepAlive {
public:
    explicit KeepAlive(Viewer& viewer) : viewer_(&viewer) { ++viewer.ownReferences_; }
    ~KeepAlive() { --viewer_->ownReferences_; }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

private:
    com::ComPtr<Viewer> viewer_;
};

} // namespace folivex
