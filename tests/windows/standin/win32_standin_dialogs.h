#pragma once
// The stand-in's modal dialogs (its Print and Save dialogs): made from a template in memory,
// closed by OK, Cancel or WM_CLOSE, and by themselves when nobody answers them
// (FOLIVEX_STANDIN_DIALOG_TIMEOUT), with their opening and timing out journaled under `name`.

#include <windows.h>

namespace folivex::standin {

// Runs the dialog titled `title` over `owner` until it closes; false when it could not be shown.
bool RunModalDialog(HWND owner, const wchar_t* title, const wchar_t* name);

} // namespace folivex::standin
