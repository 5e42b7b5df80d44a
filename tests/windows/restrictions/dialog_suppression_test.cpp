// Print and save dialog suppression on a real desktop: the control's timers close "#32770"
// dialogs of the component inside their own modal loops, and of another application.

#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/restrictions/win32_restrictions_helpers.h"

#include "tests/windows/standalone_app/win32_standalone_app_launcher.h"
#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace folivex {
namespace {

using testing::StandaloneApp;

class DialogSuppression : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(viewer_.CreationResult(), S_OK); }

    // Through the early-bound interface, which takes the caption by reference.
    void DisablePrint(const std::wstring& caption) {
        com::Bstr text(caption);
        BSTR argument = text.Get();
        ASSERT_EQ(viewer_.Viewer()->DisablePrintDialog(&argument), S_OK);
        EXPECT_EQ(argument, text.Get()) << "the by-reference caption was replaced";
        EXPECT_EQ(com::Bstr::ToString(argument), caption);
    }
    void DisableSave(const std::wstring& caption) {
        com::Bstr text(caption);
        BSTR argument = text.Get();
        ASSERT_EQ(viewer_.Viewer()->DisableSaveDialog(&argument), S_OK);
    }
    // Late-bound with the caption left out: the declared default applies.
    void DisableWithDefault(const wchar_t* method) {
        EXCEPINFO error = {};
        ASSERT_EQ(viewer_.Call(method, {}, nullptr, &error), S_OK) << method;
    }

    testing::ComApartment apartment_;
    testing::ScratchDirectory scratch_;
    std::wstring journal_ = scratch_.File(L"journal.txt");
    testing::ScopedSetting journalSetting_{L"FOLIVEX_STANDIN_JOURNAL", journal_.c_str()};
    // A dialog that nothing closes ends by itself long before the test would time out.
    testing::ScopedSetting dialogTimeout_{L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"8000"};
    testing::ViewerHost viewer_;
};

TEST_F(DialogSuppression, Timer1ClosesTheComponentsPrintDialogInsideItsModalLoop) {
    DisableWithDefault(L"DisablePrintDialog");
    // Returns only once the dialog has gone.
    ASSERT_EQ(viewer_.Viewer()->PrintWithDialog(), S_OK);
    EXPECT_TRUE(JournalHas(journal_, JournalDialog(L"print-open")));
    EXPECT_TRUE(JournalHas(journal_, JournalDialog(L"print-closed")));
    EXPECT_FALSE(JournalHas(journal_, JournalDialog(L"print-timeout")));
}

TEST_F(DialogSuppression, WithSuppressionOffThePrintDialogStaysUntilItsOwnTimeout) {
    testing::ScopedSetting quickTimeout(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"400");
    DisableWithDefault(L"DisablePrintDialog");
    ASSERT_EQ(viewer_.Viewer()->EnablePrintDialog(), S_OK);
    ASSERT_EQ(viewer_.Viewer()->PrintWithDialog(), S_OK);
    EXPECT_TRUE(JournalHas(journal_, JournalDialog(L"print-timeout")));
}

TEST_F(DialogSuppression, ADialogOfAnotherApplicationTitledInAnyCaseIsClosed) {
    StandaloneApp app;
    ASSERT_TRUE(app.Start({L"--dialog", L"PRINT"}));
    ASSERT_TRUE(app.WaitReady());
    DisableWithDefault(L"DisablePrintDialog"); // "print"
    EXPECT_TRUE(GoneWhilePumping(app.Window(0)));
    EXPECT_TRUE(app.WaitForLogLine("WM_CLOSE PRINT"));
}

TEST_F(DialogSuppression, AWindowThatIsNoDialogIsLeftOpenAndHidesADialogBehindIt) {
    StandaloneApp app;
    // The plain window lies above the dialog, so the search finds it first.
    ASSERT_TRUE(app.Start({L"--dialog", L"Print", L"--plain", L"Print"}));
    ASSERT_TRUE(app.WaitReady());
    HWND dialog = app.Window(0);
    HWND plain = app.Window(1);
    DisableWithDefault(L"DisablePrintDialog");
    EXPECT_TRUE(StillOpenAfter(plain));
    EXPECT_TRUE(::IsWindow(dialog));
    EXPECT_TRUE(app.ReadLog().empty()) << "something was sent a close request";

    // With the plain window gone, the dialog is the first found and goes at a following tick.
    ::PostMessageW(plain, WM_CLOSE, 0, 0);
    ASSERT_TRUE(GoneWhilePumping(plain));
    EXPECT_TRUE(GoneWhilePumping(dialog));
}

TEST_F(DialogSuppression, SwitchingOneOffLeavesTheOtherRunning) {
    StandaloneApp app;
    ASSERT_TRUE(
        app.Start({L"--dialog", L"Folivex Print Check", L"--dialog", L"Folivex Save Check"}));
    ASSERT_TRUE(app.WaitReady());
    HWND print = app.Window(0);
    HWND save = app.Window(1);

    DisablePrint(L"Folivex Print Check");
    DisableSave(L"Folivex Save Check");
    ASSERT_EQ(viewer_.Viewer()->EnablePrintDialog(), S_OK);
    // Enabling again what is already enabled changes nothing.
    ASSERT_EQ(viewer_.Viewer()->EnablePrintDialog(), S_OK);
    EXPECT_TRUE(GoneWhilePumping(save));
    EXPECT_TRUE(StillOpenAfter(print));

    // The other way round, with a new dialog of the save title.
    ASSERT_EQ(viewer_.Viewer()->EnableSaveDialog(), S_OK);
    StandaloneApp second;
    ASSERT_TRUE(second.Start({L"--dialog", L"Folivex Save Check"}));
    ASSERT_TRUE(second.WaitReady());
    DisablePrint(L"Folivex Print Check");
    EXPECT_TRUE(GoneWhilePumping(print));
    EXPECT_TRUE(StillOpenAfter(second.Window(0)));
}

TEST_F(DialogSuppression, TheSecondTitleGivenIsTheOneInForce) {
    StandaloneApp app;
    ASSERT_TRUE(
        app.Start({L"--dialog", L"Folivex First Title", L"--dialog", L"Folivex Second Title"}));
    ASSERT_TRUE(app.WaitReady());
    DisablePrint(L"Folivex First Title");
    DisablePrint(L"Folivex Second Title");
    EXPECT_TRUE(GoneWhilePumping(app.Window(1)));
    EXPECT_TRUE(StillOpenAfter(app.Window(0)));
    const auto log = app.ReadLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "WM_CLOSE Folivex First Title"), 0);
}

TEST_F(DialogSuppression, Timer2ClosesTheComponentsSaveACopyDialogByTheDefaultTitle) {
    ASSERT_TRUE(OpenDocument(viewer_, L"three_pages.pdf"));
    DisableWithDefault(L"DisableSaveDialog"); // "save a copy..."
    ASSERT_TRUE(FocusComponent(viewer_));
    ASSERT_TRUE(testing::SendKeys(testing::Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    ASSERT_TRUE(WaitForJournal(journal_, JournalDialog(L"save-open")));
    EXPECT_TRUE(WaitForJournal(journal_, JournalDialog(L"save-closed")));
    EXPECT_FALSE(JournalHas(journal_, JournalDialog(L"save-timeout")));
}

// The container takes the control out of its window and puts it back, or destroys its window
// and attaches the same control to a new one: suppression that was on stays on.
TEST(DialogSuppressionAcrossWindows, StaysOnThroughDeactivationAndANewContainerWindow) {
    testing::ComApartment apartment;
    HMODULE atl = ::LoadLibraryW(L"atl.dll");
    ASSERT_TRUE(atl);
    using InitFn = BOOL(WINAPI*)();
    using AttachFn = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);
    auto init =
        reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxWinInit")));
    auto attach = reinterpret_cast<AttachFn>(
        reinterpret_cast<void*>(::GetProcAddress(atl, "AtlAxAttachControl")));
    ASSERT_TRUE(init && attach && init());

    com::ComPtr<_Viewer> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    com::UniqueWindow host = testing::MakeHostWindow();
    auto axWindow = [&] {
        return com::UniqueWindow(::CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                                   320, 240, host.Get(), nullptr, nullptr,
                                                   nullptr));
    };
    com::UniqueWindow first = axWindow();
    ASSERT_EQ(attach(viewer.Get(), first.Get(), nullptr), S_OK);
    testing::PumpMessages();
    com::Bstr print(L"Folivex Print Check");
    BSTR printArgument = print.Get();
    ASSERT_EQ(viewer->DisablePrintDialog(&printArgument), S_OK);
    com::Bstr save(L"Folivex Save Check");
    BSTR saveArgument = save.Get();
    ASSERT_EQ(viewer->DisableSaveDialog(&saveArgument), S_OK);

    auto bothClosed = [](const char* when) {
        StandaloneApp app;
        ASSERT_TRUE(
            app.Start({L"--dialog", L"Folivex Print Check", L"--dialog", L"Folivex Save Check"}));
        ASSERT_TRUE(app.WaitReady());
        EXPECT_TRUE(GoneWhilePumping(app.Window(0))) << "print dialog, " << when;
        EXPECT_TRUE(GoneWhilePumping(app.Window(1))) << "save dialog, " << when;
    };

    // Deactivated in place.
    com::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(viewer.As(&inPlace), S_OK);
    ASSERT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    testing::PumpMessages();
    bothClosed("while deactivated");

    // The container's window goes; the same control is attached to, and activated in, a new one.
    first.Reset();
    testing::PumpMessages();
    bothClosed("without a container window");
    com::UniqueWindow second = axWindow();
    ASSERT_EQ(attach(viewer.Get(), second.Get(), nullptr), S_OK);
    testing::PumpMessages();
    bothClosed("in the new window");

    // And off means off.
    ASSERT_EQ(viewer->EnablePrintDialog(), S_OK);
    ASSERT_EQ(viewer->EnableSaveDialog(), S_OK);
    StandaloneApp app;
    ASSERT_TRUE(app.Start({L"--dialog", L"Folivex Print Check"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(StillOpenAfter(app.Window(0)));
    viewer.Reset();
    second.Reset();
    testing::PumpMessages();
}

} // namespace
} // namespace folivex
