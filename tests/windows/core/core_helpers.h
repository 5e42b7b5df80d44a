#pragma once
// What the control's core tests share: the stand-in's journal for one test, the component's
// site window inside the control, the thread's error information, and the process's
// top-level windows.

#include "tests/windows/standin/journal_reader.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/viewer_calls.h"

#include "interface/folivex_interface.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace folivex::testing {

// Points the stand-in's journal at a fresh file for the life of the object.
class ScopedJournal {
public:
    ScopedJournal();
    std::vector<standin::JournalEntry> Entries() const;
    // The invoke lines for one member.
    std::vector<standin::JournalEntry> CallsOf(int member) const;

private:
    ScratchDirectory directory_;
    std::wstring path_;
    std::unique_ptr<ScopedSetting> setting_;
};

// The site window the component lives in: the control window's one child that is not the
// cover panel.
HWND ComponentSiteWindow(HWND control);

// The site's rectangle in the control's client coordinates.
RECT RectInParent(HWND window);

// Visible or hidden top-level windows of this process.
int CountProcessTopLevelWindows();

// A copy of a test document in `directory`, with the given attributes.
std::wstring CopyTestDocument(const ScratchDirectory& directory, const wchar_t* name,
                              const wchar_t* as, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

std::wstring TempPathOf(_Viewer* viewer);

} // namespace folivex::testing
