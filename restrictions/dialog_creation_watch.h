#pragma once
// Closing a suppressed dialog as soon as it is created rather than at the next tick of its
// suppression's timer: the platform reports the creation of top-level dialogs anywhere on the
// desktop to one hook per thread, shared by the thread's controls, and each control whose
// suppression is on then does what its timer's tick would do. The timers keep running as the
// safety net for a dialog whose creation was not reported.

#include "restrictions/dialog_suppression.h"

#include <vector>

namespace folivex {

// The platform's report of dialogs being created, for the calling thread.
class DialogCreationHookPlatform {
public:
    virtual ~DialogCreationHookPlatform() = default;
    virtual bool InstallHook() = 0; // false when the platform gave no hook
    virtual void RemoveHook() = 0;
};

// The controls of one thread whose dialog suppression is on; the hook is installed while there
// is one and removed with the last.
class DialogCreationWatch {
public:
    explicit DialogCreationWatch(DialogCreationHookPlatform& platform) : platform_(platform) {}
    ~DialogCreationWatch();
    DialogCreationWatch(const DialogCreationWatch&) = delete;
    DialogCreationWatch& operator=(const DialogCreationWatch&) = delete;

    // After a control's suppression was switched on or off.
    void Update(DialogRestrictions& restrictions);
    // The control is going away.
    void Forget(DialogRestrictions& restrictions);

    // A top-level dialog was created: every suppression that is on runs its tick now. A window
    // is sent WM_CLOSE once, by the first suppression that finds it.
    void DialogCreated(DesktopWindows& desktop);

    bool Hooked() const { return hooked_; }

private:
    void UpdateHook();

    DialogCreationHookPlatform& platform_;
    std::vector<DialogRestrictions*> watching_;
    bool hooked_ = false;
};

} // namespace folivex
