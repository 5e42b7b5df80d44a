#pragma once
// What one control restricts on the desktop: Timer1 and Timer2 closing the print and save
// dialogs (helped by the thread's creation watch, which closes a dialog as it appears rather
// than at the next tick), and the save-key blocking. The captions and the DisableSaveKeys value
// are copied into the member state, where the design keeps them.

#include "control/viewer_state.h"
#include "restrictions/dialog_suppression.h"
#include "restrictions/win32_desktop_windows.h"
#include "restrictions/win32_dialog_creation_hook.h"
#include "restrictions/win32_save_key_hook.h"

#include "com/unique_handle.h"

#include <windows.h>

#include <string>

namespace folivex {

// Timer1 or Timer2: a repeating timer of the control's window, whose ticks the window procedure
// hands back to the part that started it. Killed when it goes.
class ViewerTimer final : public RepeatingTimer {
public:
    ViewerTimer(HWND& window, UINT_PTR id) : window_(window), id_(id) {}
    bool Start() override { return timer_.Start(window_, id_, kDialogTimerIntervalMs); }
    void Stop() override { timer_.Stop(); }
    bool Running() const override { return timer_.Running(); }

private:
    com::WindowTimer timer_;
    HWND& window_; // the part's, set once the control's window exists
    UINT_PTR id_;
};

class RestrictionsPart {
public:
    explicit RestrictionsPart(ViewerState& state);
    RestrictionsPart(const RestrictionsPart&) = delete;
    RestrictionsPart& operator=(const RestrictionsPart&) = delete;

    // The timers tick on the control's window, which is made after this part.
    void AttachTimers(HWND window) { timerWindow_ = window; }
    // A WM_TIMER of the control's window: false when the id is neither Timer1 nor Timer2.
    bool TimerTick(UINT_PTR id);

    void DisablePrintDialog(const std::wstring& strWindowCaption);
    void DisableSaveDialog(const std::wstring& strWindowCaption);
    void EnablePrintDialog();
    void EnableSaveDialog();

    AutoBool DisableSaveKeys() const { return saveKeys_.Get(); }
    void PutDisableSaveKeys(AutoBool value);

    // The control's termination: its own save-key claim goes, other controls' stay.
    void TerminateSaveKeys() { saveKeys_.Terminate(); }
    // The control's termination: both suppressions stop. The thread's creation watch forgets
    // this control when the part goes, which follows at once.
    void EndDialogSuppression();

private:
    static constexpr UINT_PTR kTimer1Id = 1;
    static constexpr UINT_PTR kTimer2Id = 2;

    ViewerState& state_;
    HWND timerWindow_ = nullptr;
    ViewerTimer timer1_{timerWindow_, kTimer1Id};
    ViewerTimer timer2_{timerWindow_, kTimer2Id};
    DialogRestrictions dialogs_{timer1_, timer2_};
    Win32DialogCreationWatch dialogWatch_{dialogs_}; // closes the dialogs before the timers do
    Win32DesktopWindows desktop_;
    Win32SaveKeyBlocking saveKeys_;
};

} // namespace folivex
