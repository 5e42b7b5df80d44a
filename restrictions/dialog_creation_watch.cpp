#include "restrictions/dialog_creation_watch.h"

#include <algorithm>

namespace folivex {
namespace {

bool Suppressing(const DialogRestrictions& restrictions) {
    return restrictions.PrintDialogSuppressed() || restrictions.SaveDialogSuppressed();
}

// The desktop as the ticks see it, except that a window already sent WM_CLOSE in this round is
// not sent another: print and save titles (or two controls) may name the same dialog.
class ClosingOnce : public DesktopWindows {
public:
    explicit ClosingOnce(DesktopWindows& desktop) : desktop_(desktop) {}
    WindowHandle FindTopLevelWindow(const std::wstring& title) override {
        return desktop_.FindTopLevelWindow(title);
    }
    std::string ClassName(WindowHandle window) override { return desktop_.ClassName(window); }
    void PostClose(WindowHandle window) override {
        if (std::find(closed_.begin(), closed_.end(), window) == closed_.end()) {
            closed_.push_back(window);
            desktop_.PostClose(window);
        }
    }

private:
    DesktopWindows& desktop_;
    std::vector<WindowHandle> closed_;
};

} // namespace

DialogCreationWatch::~DialogCreationWatch() {
    if (hooked_) {
        platform_.RemoveHook();
    }
}

void DialogCreationWatch::Update(DialogRestrictions& restrictions) {
    const auto found = std::find(watching_.begin(), watching_.end(), &restrictions);
    if (Suppressing(restrictions) && found == watching_.end()) {
        watching_.push_back(&restrictions);
    } else if (!Suppressing(restrictions) && found != watching_.end()) {
        watching_.erase(found);
    }
    UpdateHook();
}

void DialogCreationWatch::Forget(DialogRestrictions& restrictions) {
    watching_.erase(std::remove(watching_.begin(), watching_.end(), &restrictions),
                    watching_.end());
    UpdateHook();
}

void DialogCreationWatch::DialogCreated(DesktopWindows& desktop) {
    ClosingOnce once(desktop);
    // Closing posts a message and runs no code of the host's, so the list cannot change here;
    // a copy all the same keeps the loop safe whatever the platform does.
    const std::vector<DialogRestrictions*> watching = watching_;
    for (DialogRestrictions* restrictions : watching) {
        restrictions->Timer1Tick(once);
        restrictions->Timer2Tick(once);
    }
}

void DialogCreationWatch::UpdateHook() {
    if (!watching_.empty() && !hooked_) {
        // A hook that could not be installed is tried again by the next switch; the timers
        // cover the time without it.
        hooked_ = platform_.InstallHook();
    } else if (watching_.empty() && hooked_) {
        platform_.RemoveHook();
        hooked_ = false;
    }
}

} // namespace folivex
