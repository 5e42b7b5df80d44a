#include "restrictions/dialog_creation_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace folivex {
namespace {

class Timer : public RepeatingTimer {
public:
    bool Start() override { return running = true; }
    void Stop() override { running = false; }
    bool Running() const override { return running; }
    bool running = false;
};

// Windows in the platform's search order; titles compared exactly (case is the ticks' affair).
class Desktop : public DesktopWindows {
public:
    struct Window {
        WindowHandle handle;
        std::wstring title;
        std::string className;
    };
    WindowHandle FindTopLevelWindow(const std::wstring& title) override {
        for (const Window& window : windows) {
            if (window.title == title) {
                return window.handle;
            }
        }
        return 0;
    }
    std::string ClassName(WindowHandle handle) override {
        for (const Window& window : windows) {
            if (window.handle == handle) {
                return window.className;
            }
        }
        return "";
    }
    void PostClose(WindowHandle handle) override { closed.push_back(handle); }

    std::vector<Window> windows;
    std::vector<WindowHandle> closed;
};

class Hook : public DialogCreationHookPlatform {
public:
    bool InstallHook() override {
        ++installs;
        installed = works;
        return works;
    }
    void RemoveHook() override {
        ++removals;
        installed = false;
    }
    bool works = true;
    bool installed = false;
    int installs = 0;
    int removals = 0;
};

// One control's suppressions.
struct Control {
    Timer timer1;
    Timer timer2;
    DialogRestrictions restrictions{timer1, timer2};
};

class DialogCreationWatchTest : public ::testing::Test {
protected:
    Hook hook;
    Desktop desktop;
    Control a;
    Control b;
};

TEST_F(DialogCreationWatchTest, OneHookWhileAnySuppressionOfTheThreadIsOn) {
    DialogCreationWatch watch(hook);
    watch.Update(a.restrictions); // nothing on yet
    EXPECT_EQ(hook.installs, 0);

    a.restrictions.DisablePrintDialog();
    watch.Update(a.restrictions);
    b.restrictions.DisableSaveDialog();
    watch.Update(b.restrictions);
    a.restrictions.DisableSaveDialog();
    watch.Update(a.restrictions);
    EXPECT_EQ(hook.installs, 1);
    EXPECT_TRUE(hook.installed);

    a.restrictions.EnablePrintDialog();
    watch.Update(a.restrictions); // a's save suppression is still on
    a.restrictions.EnableSaveDialog();
    watch.Update(a.restrictions);
    EXPECT_TRUE(hook.installed);
    b.restrictions.EnableSaveDialog();
    watch.Update(b.restrictions);
    EXPECT_FALSE(hook.installed);
    EXPECT_EQ(hook.removals, 1);

    // On again: a new hook.
    b.restrictions.DisablePrintDialog();
    watch.Update(b.restrictions);
    EXPECT_EQ(hook.installs, 2);
    EXPECT_TRUE(watch.Hooked());
}

TEST_F(DialogCreationWatchTest, AControlThatGoesTakesItsShareOfTheHookWithIt) {
    {
        DialogCreationWatch watch(hook);
        a.restrictions.DisablePrintDialog();
        watch.Update(a.restrictions);
        b.restrictions.DisablePrintDialog();
        watch.Update(b.restrictions);
        watch.Forget(a.restrictions);
        EXPECT_TRUE(hook.installed);
        watch.Forget(b.restrictions);
        EXPECT_FALSE(hook.installed);

        // A created dialog no longer reaches the controls that went.
        desktop.windows = {{0x10, L"print", "#32770"}};
        watch.DialogCreated(desktop);
        EXPECT_TRUE(desktop.closed.empty());

        a.restrictions.DisablePrintDialog();
        watch.Update(a.restrictions);
    }
    // The watch itself going removes a hook still installed.
    EXPECT_FALSE(hook.installed);
    EXPECT_EQ(hook.removals, 2);
}

TEST_F(DialogCreationWatchTest, AHookThatCouldNotBeInstalledIsTriedAgain) {
    DialogCreationWatch watch(hook);
    hook.works = false;
    a.restrictions.DisablePrintDialog();
    watch.Update(a.restrictions);
    EXPECT_FALSE(watch.Hooked());
    hook.works = true;
    a.restrictions.DisableSaveDialog();
    watch.Update(a.restrictions);
    EXPECT_TRUE(watch.Hooked());
    EXPECT_EQ(hook.installs, 2);
}

TEST_F(DialogCreationWatchTest, ACreatedDialogGetsWhatATickWouldDoOnce) {
    DialogCreationWatch watch(hook);
    a.restrictions.DisablePrintDialog(L"print");
    a.restrictions.DisableSaveDialog(L"print"); // both titles name the same dialog
    watch.Update(a.restrictions);
    b.restrictions.DisablePrintDialog(L"print");
    watch.Update(b.restrictions);

    desktop.windows = {{0x10, L"print", "#32770"}, {0x11, L"save", "#32770"}};
    watch.DialogCreated(desktop);
    EXPECT_EQ(desktop.closed, std::vector<WindowHandle>{0x10});

    // The ticks' own rules hold: the first window of the title is the one looked at, and only
    // a dialog is closed.
    desktop.closed.clear();
    desktop.windows = {{0x20, L"print", "Notepad"}, {0x21, L"print", "#32770"}};
    watch.DialogCreated(desktop);
    EXPECT_TRUE(desktop.closed.empty());

    // A suppression switched off closes nothing, even while another keeps the hook.
    a.restrictions.EnablePrintDialog();
    a.restrictions.EnableSaveDialog();
    watch.Update(a.restrictions);
    b.restrictions.DisablePrintDialog(L"other");
    watch.Update(b.restrictions);
    desktop.windows = {{0x30, L"print", "#32770"}};
    watch.DialogCreated(desktop);
    EXPECT_TRUE(desktop.closed.empty());
}

} // namespace
} // namespace folivex
