#include "control/win32_restrictions_part.h"

namespace folivex {

RestrictionsPart::RestrictionsPart(ViewerState& state) : state_(state) {}

bool RestrictionsPart::TimerTick(UINT_PTR id) {
    if (id == kTimer1Id) {
        dialogs_.Timer1Tick(desktop_);
        return true;
    }
    if (id == kTimer2Id) {
        dialogs_.Timer2Tick(desktop_);
        return true;
    }
    return false;
}

void RestrictionsPart::DisablePrintDialog(const std::wstring& strWindowCaption) {
    dialogs_.DisablePrintDialog(strWindowCaption);
    dialogWatch_.Update();
    state_.PrintDialogCaption = dialogs_.PrintDialogCaption();
}

void RestrictionsPart::DisableSaveDialog(const std::wstring& strWindowCaption) {
    dialogs_.DisableSaveDialog(strWindowCaption);
    dialogWatch_.Update();
    state_.SaveDialogCaption = dialogs_.SaveDialogCaption();
}

void RestrictionsPart::EnablePrintDialog() {
    dialogs_.EnablePrintDialog();
    dialogWatch_.Update();
}

void RestrictionsPart::EnableSaveDialog() {
    dialogs_.EnableSaveDialog();
    dialogWatch_.Update();
}

void RestrictionsPart::PutDisableSaveKeys(AutoBool value) {
    saveKeys_.Put(value);
    state_.DisableSaveKeys = saveKeys_.Get();
}

void RestrictionsPart::EndDialogSuppression() {
    dialogs_.EnablePrintDialog();
    dialogs_.EnableSaveDialog();
    timer1_.Stop();
    timer2_.Stop();
}

} // namespace folivex
