#pragma once
// What the command tests share: a hosted viewer in one of the two window layouts (the stand-in's
// layout and the control's ReaderVersion set to match), the stand-in's journal for one test,
// the component's windows found by class and text, and the thread's error information.

#include "tests/windows/standin/journal_reader.h"
#include "tests/windows/support/clipboard.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/viewer_calls.h"
#include "tests/windows/support/viewer_host.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace folivex::testing {

struct Layout {
    const wchar_t* name; // the stand-in's FOLIVEX_STANDIN_LAYOUT
    short readerVersion; // what the control is told: 7 old, 8 new
    bool Old() const { return readerVersion <= 7; }
};
inline constexpr Layout kOldLayout{L"old", 7};
inline constexpr Layout kNewLayout{L"new", 8};

// For INSTANTIATE_TEST_SUITE_P: "old" or "new".
std::string LayoutName(const ::testing::TestParamInfo<Layout>& info);

// Points the stand-in's journal at a fresh file for the life of the object.
class ScopedJournal {
public:
    ScopedJournal();
    std::vector<standin::JournalEntry> Entries() const;
    // Entries after the mark.
    void Mark() { mark_ = Entries().size(); }
    std::vector<standin::JournalEntry> SinceMark() const;
    // The invoke lines for one member since the mark.
    std::vector<standin::JournalEntry> CallsOf(int member) const;
    // Key lines since the mark as "action" or "action:text".
    std::vector<std::wstring> KeyActions() const;

private:
    ScratchDirectory directory_;
    std::wstring path_;
    std::unique_ptr<ScopedSetting> setting_;
    std::size_t mark_ = 0;
};

// A window of the component found by class and text anywhere below `root`, in walk order.
HWND FindViewerWindow(HWND root, const char* className, const char* text, int index = 0);
// Every window below `root` with that class and text.
std::vector<HWND> FindViewerWindows(HWND root, const char* className, const char* text);
// A text box below `root` by class whose text satisfies nothing more than being of that class:
// the index-th in walk order.
HWND FindByClass(HWND root, const char* className, int index = 0);
int WindowWidth(HWND window);

inline constexpr const wchar_t* kThreePagesText =
    L"Folivex test page 1 of 3\r\nFolivex test page 2 of 3\r\nFolivex test page 3 of 3";

// A hosted viewer in the parameter's layout, its journal, and the print dialog switched off.
class LayoutFixture : public ::testing::TestWithParam<Layout> {
protected:
    LayoutFixture();
    void SetUp() override;
    // Opens three_pages.pdf and marks the journal after it.
    void OpenThreePages();
    HWND Control() const { return host_->ControlWindow(); }

    ComApartment apartment_;
    ScopedSetting layoutSetting_;
    ScopedSetting printDialog_{L"FOLIVEX_STANDIN_PRINT_DIALOG", L"none"};
    ScopedJournal journal_;
    std::unique_ptr<ViewerHost> host_;
    _Viewer* viewer_ = nullptr;
};

} // namespace folivex::testing
