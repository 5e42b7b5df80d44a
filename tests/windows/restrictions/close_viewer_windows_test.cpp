// CloseAcrobat and CloseReader on windows of another application.

#include "tests/windows/standalone_app/win32_standalone_app_launcher.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace folivex {
namespace {

using testing::StandaloneApp;
using Log = std::vector<std::string>;

class CloseViewerWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(viewer_.CreationResult(), S_OK); }

    VARIANT_BOOL CloseReader() {
        VARIANT_BOOL result = 1;
        EXPECT_EQ(viewer_.Viewer()->CloseReader(&result), S_OK);
        return result;
    }
    VARIANT_BOOL CloseAcrobat() {
        VARIANT_BOOL result = 1;
        EXPECT_EQ(viewer_.Viewer()->CloseAcrobat(&result), S_OK);
        return result;
    }

    testing::ComApartment apartment_;
    testing::ViewerHost viewer_;
};

TEST_F(CloseViewerWindows, ReaderWindowIsClosedAndDestroyed) {
    StandaloneApp app;
    ASSERT_TRUE(app.Start({L"--window", L"Adobe Reader"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(CloseReader(), VARIANT_TRUE);
    EXPECT_TRUE(StandaloneApp::WaitForWindowGone(app.Window(0)));
    EXPECT_EQ(app.ReadLog(), (Log{"WM_CLOSE Adobe Reader", "WM_DESTROY Adobe Reader",
                                  "WM_NCDESTROY Adobe Reader"}));
}

TEST_F(CloseViewerWindows, WithoutAWindowOfTheWholeTitleNothingIsSent) {
    StandaloneApp app;
    // A document name in the title, and near misses: none is the Reader's title as a whole.
    ASSERT_TRUE(app.Start({L"--window", L"Adobe Reader - three_pages.pdf", L"--window",
                           L"Adobe Reader ", L"--window", L"Adobe Acrobat Pro"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(CloseReader(), VARIANT_FALSE);
    EXPECT_EQ(CloseAcrobat(), VARIANT_FALSE);
    testing::PumpMessages(100);
    EXPECT_TRUE(app.ReadLog().empty());
    for (HWND window : app.Windows()) {
        EXPECT_TRUE(::IsWindow(window));
    }
}

TEST_F(CloseViewerWindows, AcrobatTreatsOnlyTheFirstTitleOfItsListThatIsFound) {
    StandaloneApp app;
    ASSERT_TRUE(app.Start({L"--window", L"Adobe Acrobat Standard", L"--window", L"Adobe Acrobat"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(CloseAcrobat(), VARIANT_TRUE);
    EXPECT_TRUE(StandaloneApp::WaitForWindowGone(app.Window(1)));
    EXPECT_EQ(app.ReadLog(), (Log{"WM_CLOSE Adobe Acrobat", "WM_DESTROY Adobe Acrobat",
                                  "WM_NCDESTROY Adobe Acrobat"}));
    EXPECT_TRUE(::IsWindow(app.Window(0)));

    // Professional comes first of all, and a second call goes on to the next title.
    StandaloneApp professional;
    ASSERT_TRUE(professional.Start({L"--window", L"Adobe Acrobat Professional"}));
    ASSERT_TRUE(professional.WaitReady());
    EXPECT_EQ(CloseAcrobat(), VARIANT_TRUE);
    EXPECT_TRUE(StandaloneApp::WaitForWindowGone(professional.Window(0)));
    EXPECT_TRUE(::IsWindow(app.Window(0)));
    EXPECT_EQ(CloseAcrobat(), VARIANT_TRUE);
    EXPECT_TRUE(StandaloneApp::WaitForWindowGone(app.Window(0)));
}

TEST_F(CloseViewerWindows, ANonZeroDestroyResultGivesFalseAfterBothMessages) {
    StandaloneApp app;
    ASSERT_TRUE(app.Start(
        {L"--window", L"Adobe Reader", L"--on-close", L"ignore", L"--destroy-result", L"1"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(CloseReader(), VARIANT_FALSE);
    EXPECT_EQ(app.ReadLog(), (Log{"WM_CLOSE Adobe Reader", "WM_DESTROY Adobe Reader"}));
    EXPECT_TRUE(::IsWindow(app.Window(0)));
}

TEST_F(CloseViewerWindows, AWindowThatIgnoresTheCloseButAnswersZeroCountsAsClosed) {
    StandaloneApp app;
    ASSERT_TRUE(app.Start({L"--window", L"Adobe Reader", L"--on-close", L"ignore"}));
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(CloseReader(), VARIANT_TRUE);
    EXPECT_EQ(app.ReadLog(), (Log{"WM_CLOSE Adobe Reader", "WM_DESTROY Adobe Reader"}));
}

TEST_F(CloseViewerWindows, AHungApplicationDoesNotHoldTheCallForever) {
    StandaloneApp app;
    ASSERT_TRUE(
        app.Start({L"--window", L"Adobe Reader", L"--hang", L"9000", L"--lifetime", L"20000"}));
    ASSERT_TRUE(app.WaitReady());
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(CloseReader(), VARIANT_FALSE);
    // For the record only: the limit is the control's message timeout.
    std::printf("CloseReader on a hung application returned after %lu ms\n",
                static_cast<unsigned long>(::GetTickCount() - start));
}

} // namespace
} // namespace folivex
