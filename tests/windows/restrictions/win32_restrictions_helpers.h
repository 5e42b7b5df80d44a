#pragma once
// What the restriction tests share: reading DisableSaveKeys, typing into a window and knowing
// when everything typed has arrived, opening a test document, focusing the stand-in component,
// and watching its journal.

#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/support/viewer_host.h"

#include "tests/windows/standin/journal_reader.h"

#include <windows.h>

#include <string>
#include <vector>

namespace folivex {

VARIANT_BOOL SaveKeysValue(testing::ViewerHost& viewer);

// Brings the receiver's window to the front, forgets what it had received, sends `keys` and
// then the sentinel key, and waits (pumping this thread, where the hook lives) until the
// sentinel's release arrived. Afterwards the receiver holds exactly what came through of `keys`.
bool TypeInto(testing::KeyReceiver& receiver, std::vector<INPUT> keys);

// OpenPDF of a test document; true when it reported True.
bool OpenDocument(testing::ViewerHost& viewer, const wchar_t* name);

// The stand-in component's window inside the control, made the focus of the foreground window.
HWND FocusComponent(testing::ViewerHost& viewer);

struct JournalMatch {
    standin::JournalKind kind;
    std::wstring value; // the entry's first argument
};
inline JournalMatch JournalKey(const wchar_t* action) {
    return {standin::JournalKind::Key, action};
}
inline JournalMatch JournalDialog(const wchar_t* event) {
    return {standin::JournalKind::Dialog, event};
}
bool JournalHas(const std::wstring& journal, const JournalMatch& match);
// Pumps this thread until the journal holds the entry; false after `timeoutMs`.
bool WaitForJournal(const std::wstring& journal, const JournalMatch& match,
                    DWORD timeoutMs = 10000);

// Pumps this thread for `milliseconds` (a few dozen ticks of a 25 ms timer) and tells whether
// `window` still exists afterwards.
bool StillOpenAfter(HWND window, DWORD milliseconds = 300);

// Pumps this thread, where the control's timers tick, until `window` is gone; false when it is
// still there after `timeoutMs`.
bool GoneWhilePumping(HWND window, DWORD timeoutMs = 5000);

} // namespace folivex
