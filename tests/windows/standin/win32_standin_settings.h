#pragma once
// The stand-in's settings: environment variables read at each use, so that a test changes the
// stand-in's behaviour between two calls without making it again (the README lists them).

#include <windows.h>

#include <string>
#include <string_view>

namespace folivex::standin {

// The variable's value without blanks at its ends; empty when it is not set.
std::wstring Setting(const wchar_t* name);

// FOLIVEX_STANDIN_LAYOUT: the window tree of newer viewers unless "old".
bool NewLayout();
// FOLIVEX_STANDIN_PAGEBOX_CLASS: "Edit", or "RichEdit20A".
std::wstring PageBoxClass();
// The page box's text from its format: %P the page, %N the page count, %_ a blank, %% a percent.
std::wstring PageBoxText(const std::wstring& format, int page, int count);
// FOLIVEX_STANDIN_DOCVIEW_DELAY: milliseconds until the document view appears, -1 for never.
long DocumentViewDelay();
// FOLIVEX_STANDIN_DIALOG_TIMEOUT: milliseconds until a dialog nobody answers closes itself.
UINT DialogTimeout();
// FOLIVEX_STANDIN_PRINT_DIALOG: printing shows its dialog unless "none".
bool PrintDialogWanted();
// FOLIVEX_STANDIN_FAIL: whether the member (a number, or "print") is to fail.
bool FailureRequested(std::wstring_view member);
// FOLIVEX_STANDIN_KEYS: whether the text chords are taken as accelerators only.
bool AcceleratorKeys();

} // namespace folivex::standin
