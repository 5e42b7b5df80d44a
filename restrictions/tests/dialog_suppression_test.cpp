#include "restrictions/dialog_suppression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace folivex {
namespace {

class FakeTimer : public RepeatingTimer {
public:
    bool Start() override {
        ++starts;
        running = works;
        return works;
    }
    void Stop() override {
        ++stops;
        running = false;
    }
    bool Running() const override { return running; }
    bool running = false;
    bool works = true;
    int starts = 0;
    int stops = 0;
};

// Top-level windows in the platform's search order. Matching is as FindWindowA does it: the
// whole title, ASCII letter case ignored.
class FakeDesktop : public DesktopWindows {
public:
    struct Window {
        WindowHandle handle;
        std::wstring title;
        std::string className;
    };

    WindowHandle FindTopLevelWindow(const std::wstring& title) override {
        searches.push_back(title);
        for (const Window& window : windows) {
            if (SameIgnoringCase(window.title, title)) {
                return window.handle;
            }
        }
        return 0;
    }
    std::string ClassName(WindowHandle handle) override {
        classQueries.push_back(handle);
        for (const Window& window : windows) {
            if (window.handle == handle) {
                return window.className;
            }
        }
        return "";
    }
    void PostClose(WindowHandle handle) override { closed.push_back(handle); }

    std::vector<Window> windows;
    std::vector<std::wstring> searches;
    std::vector<WindowHandle> classQueries;
    std::vector<WindowHandle> closed;

private:
    static bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
        auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c; };
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [&](auto x, auto y) { return lower(x) == lower(y); });
    }
};

class DialogSuppressionTest : public ::testing::Test {
protected:
    FakeTimer timer1;
    FakeTimer timer2;
    FakeDesktop desktop;
    DialogRestrictions restrictions{timer1, timer2};
};

TEST_F(DialogSuppressionTest, StartsOffWithEmptyCaptions) {
    EXPECT_FALSE(restrictions.PrintDialogSuppressed());
    EXPECT_FALSE(restrictions.SaveDialogSuppressed());
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"");
    EXPECT_EQ(restrictions.SaveDialogCaption(), L"");
}

TEST_F(DialogSuppressionTest, DefaultTitleClosesADialogTitledPrint) {
    desktop.windows = {{0x10, L"Print", "#32770"}};
    restrictions.DisablePrintDialog();
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"print");
    EXPECT_TRUE(timer1.running);
    restrictions.Timer1Tick(desktop);
    EXPECT_EQ(desktop.searches, std::vector<std::wstring>{L"print"});
    EXPECT_EQ(desktop.closed, std::vector<WindowHandle>{0x10});

    // The timer runs on: a dialog opened again is closed again.
    restrictions.Timer1Tick(desktop);
    EXPECT_EQ(desktop.closed.size(), 2u);
}

TEST_F(DialogSuppressionTest, SaveDefaultTitle) {
    desktop.windows = {{0x20, L"Save a Copy...", "#32770"}};
    restrictions.DisableSaveDialog();
    EXPECT_EQ(restrictions.SaveDialogCaption(), L"save a copy...");
    restrictions.Timer2Tick(desktop);
    EXPECT_EQ(desktop.closed, std::vector<WindowHandle>{0x20});
}

TEST_F(DialogSuppressionTest, OnlyDialogsOfTheExactClassAreClosed) {
    desktop.windows = {{0x10, L"Print", "#32770x"}, {0x11, L"print", "#32770"}};
    restrictions.DisablePrintDialog();
    restrictions.Timer1Tick(desktop);
    EXPECT_TRUE(desktop.closed.empty());

    desktop.windows = {{0x12, L"Print", "Notepad"}};
    restrictions.Timer1Tick(desktop);
    EXPECT_TRUE(desktop.closed.empty());

    desktop.windows = {{0x13, L"Print", ""}}; // class query failed
    restrictions.Timer1Tick(desktop);
    EXPECT_TRUE(desktop.closed.empty());
}

TEST_F(DialogSuppressionTest, ANonDialogFirstMatchHidesTheDialogBehindIt) {
    desktop.windows = {{0x30, L"Print", "Edit"}, {0x31, L"Print", "#32770"}};
    restrictions.DisablePrintDialog();
    restrictions.Timer1Tick(desktop);
    EXPECT_EQ(desktop.searches.size(), 1u);
    EXPECT_EQ(desktop.classQueries, std::vector<WindowHandle>{0x30});
    EXPECT_TRUE(desktop.closed.empty());
}

TEST_F(DialogSuppressionTest, NoMatchEndsTheTick) {
    desktop.windows = {{0x40, L"Print preview", "#32770"}};
    restrictions.DisablePrintDialog();
    restrictions.Timer1Tick(desktop);
    EXPECT_TRUE(desktop.classQueries.empty());
    EXPECT_TRUE(desktop.closed.empty());
}

TEST_F(DialogSuppressionTest, EnablingStopsTheTimerAndKeepsTheCaption) {
    desktop.windows = {{0x10, L"Drucken", "#32770"}};
    restrictions.DisablePrintDialog(L"Drucken");
    restrictions.EnablePrintDialog();
    EXPECT_FALSE(timer1.running);
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"Drucken");
    // A tick still queued when the timer stopped closes nothing.
    restrictions.Timer1Tick(desktop);
    EXPECT_TRUE(desktop.closed.empty());

    restrictions.EnablePrintDialog();
    EXPECT_EQ(timer1.stops, 1);
}

TEST_F(DialogSuppressionTest, DisablingAgainReplacesTheCaptionWithoutRestarting) {
    restrictions.DisablePrintDialog(L"first");
    restrictions.DisablePrintDialog(L"second");
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"second");
    EXPECT_EQ(timer1.starts, 1);
    EXPECT_TRUE(timer1.running);

    desktop.windows = {{0x50, L"first", "#32770"}, {0x51, L"second", "#32770"}};
    restrictions.Timer1Tick(desktop);
    EXPECT_EQ(desktop.closed, std::vector<WindowHandle>{0x51});
}

TEST_F(DialogSuppressionTest, AnEmptyCaptionIsUsedLikeAnyOther) {
    restrictions.DisableSaveDialog(L"");
    EXPECT_TRUE(timer2.running);
    restrictions.Timer2Tick(desktop);
    EXPECT_EQ(desktop.searches, std::vector<std::wstring>{L""});
}

TEST_F(DialogSuppressionTest, PrintAndSaveAreIndependent) {
    desktop.windows = {{0x60, L"Print", "#32770"}, {0x61, L"Save a Copy...", "#32770"}};
    restrictions.DisablePrintDialog();
    restrictions.DisableSaveDialog();
    restrictions.EnablePrintDialog();
    EXPECT_FALSE(timer1.running);
    EXPECT_TRUE(timer2.running);
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"print");

    restrictions.Timer1Tick(desktop);
    restrictions.Timer2Tick(desktop);
    EXPECT_EQ(desktop.closed, std::vector<WindowHandle>{0x61});

    restrictions.DisableSaveDialog(L"other");
    EXPECT_EQ(restrictions.PrintDialogCaption(), L"print");
}

TEST_F(DialogSuppressionTest, ATimerThatFailedToStartIsTriedAgain) {
    timer1.works = false;
    restrictions.DisablePrintDialog();
    EXPECT_FALSE(restrictions.PrintDialogSuppressed());
    timer1.works = true;
    restrictions.DisablePrintDialog();
    EXPECT_TRUE(restrictions.PrintDialogSuppressed());
    EXPECT_EQ(timer1.starts, 2);
}

} // namespace
} // namespace folivex
