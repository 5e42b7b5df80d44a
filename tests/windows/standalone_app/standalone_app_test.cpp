// The stand-alone test application behaves as its README says, seen from another process the
// way the control sees it: by title, by class, and by what the messages sent to it return.

#include "tests/windows/standalone_app/win32_standalone_app_launcher.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace folivex::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr UINT kSendTimeoutMs = 5000;

std::string ClassOf(HWND window) {
    char name[256] = {};
    int length = ::GetClassNameA(window, name, 256);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string TitleOf(HWND window) {
    char title[256] = {};
    int length = ::GetWindowTextA(window, title, 256);
    return std::string(title, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

// SendMessageTimeoutA: true when delivered, with the handler's result in `result`.
bool Send(HWND window, UINT message, LRESULT& result, UINT flags = SMTO_NORMAL,
          UINT timeoutMs = kSendTimeoutMs) {
    DWORD_PTR answer = 0;
    LRESULT delivered = ::SendMessageTimeoutA(window, message, 0, 0, flags, timeoutMs, &answer);
    result = static_cast<LRESULT>(answer);
    return delivered != 0;
}

class StandaloneAppTest : public ::testing::Test {
protected:
    void Launch(const std::vector<std::wstring>& arguments) {
        ASSERT_FALSE(StandaloneApp::DefaultPath().empty()) << "folivex_standalone_app.exe";
        ASSERT_TRUE(app_.Start(arguments)) << "CreateProcess failed: " << ::GetLastError();
        ASSERT_TRUE(app_.WaitReady());
    }

    StandaloneApp app_;
};

TEST_F(StandaloneAppTest, EveryTitleIsFoundWithItsClassInCreationOrder) {
    Launch({L"--window", L"Adobe Acrobat", L"--window", L"Adobe Acrobat Standard", L"--class",
            L"AcrobatSDIWindow", L"--window", L"Adobe Reader - report.pdf"});
    ASSERT_EQ(app_.Windows().size(), 3u);

    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Acrobat"), app_.Window(0));
    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Acrobat Standard"), app_.Window(1));
    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Reader - report.pdf"), app_.Window(2));
    EXPECT_EQ(::FindWindowA("AcrobatSDIWindow", nullptr), app_.Window(1));
    // The whole title must match: a document name after "Adobe Reader" hides the window.
    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Reader"), nullptr);

    EXPECT_EQ(ClassOf(app_.Window(0)), "FolivexStandaloneApp");
    EXPECT_EQ(ClassOf(app_.Window(1)), "AcrobatSDIWindow");
    for (HWND window : app_.Windows()) {
        EXPECT_TRUE(::IsWindowVisible(window));
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        EXPECT_EQ(owner, app_.ProcessId());
    }
    EXPECT_EQ(TitleOf(app_.Window(1)), "Adobe Acrobat Standard");
    // Finding windows sends them nothing.
    EXPECT_EQ(app_.ReadLog(), Lines{});
}

// The order the platform keeps, for a failure message.
std::string ZOrder(const StandaloneApp& app) {
    std::string text = "windows";
    for (HWND window : app.Windows()) {
        text += ' ';
        text += std::to_string(reinterpret_cast<std::uintptr_t>(window));
    }
    text += "; from the top";
    HWND window = ::GetTopWindow(nullptr);
    for (int i = 0; window && i < 8; ++i, window = ::GetWindow(window, GW_HWNDNEXT)) {
        text += ' ';
        text += std::to_string(reinterpret_cast<std::uintptr_t>(window));
    }
    return text;
}

TEST_F(StandaloneAppTest, TheLastOfTwoEqualTitlesIsOnTopUnlessSentToTheBottom) {
    Launch({L"--window", L"Adobe Reader", L"--window", L"Adobe Reader"});
    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Reader"), app_.Window(1)) << ZOrder(app_);
    app_.Terminate();

    StandaloneApp second;
    ASSERT_TRUE(
        second.Start({L"--window", L"Adobe Reader", L"--window", L"Adobe Reader", L"--at-bottom"}));
    ASSERT_TRUE(second.WaitReady());
    EXPECT_EQ(::FindWindowA(nullptr, "Adobe Reader"), second.Window(0)) << ZOrder(second);
}

TEST_F(StandaloneAppTest, DefaultCloseDestroysTheWindowAndEndsTheApp) {
    Launch({L"--window", L"Adobe Reader"});
    HWND reader = ::FindWindowA(nullptr, "Adobe Reader");
    ASSERT_EQ(reader, app_.Window(0));

    LRESULT result = -1;
    ASSERT_TRUE(Send(reader, WM_CLOSE, result));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(::IsWindow(reader));
    // The same handle once more, as the closing step does: nothing is there to answer.
    EXPECT_EQ(::SendMessageA(reader, WM_DESTROY, 0, 0), 0);

    EXPECT_EQ(app_.ReadLog(), (Lines{"WM_CLOSE Adobe Reader", "WM_DESTROY Adobe Reader",
                                     "WM_NCDESTROY Adobe Reader"}));
    DWORD exitCode = 99;
    ASSERT_TRUE(app_.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(StandaloneAppTest, IgnoredCloseKeepsTheWindowAndDestroyGivesTheChosenResult) {
    Launch({L"--window", L"Adobe Reader", L"--on-close", L"ignore", L"--destroy-result", L"7"});
    HWND reader = app_.Window(0);

    LRESULT result = -1;
    ASSERT_TRUE(Send(reader, WM_CLOSE, result));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(::IsWindow(reader));
    ASSERT_TRUE(Send(reader, WM_DESTROY, result));
    EXPECT_EQ(result, 7);
    // A sent WM_DESTROY is only a notification: the window lives on.
    EXPECT_TRUE(::IsWindow(reader));
    EXPECT_EQ(::SendMessageA(reader, WM_DESTROY, 0, 0), 7);

    EXPECT_EQ(app_.ReadLog(), (Lines{"WM_CLOSE Adobe Reader", "WM_DESTROY Adobe Reader",
                                     "WM_DESTROY Adobe Reader"}));
    EXPECT_TRUE(app_.Running());
}

TEST_F(StandaloneAppTest, DestroyResultAppliesOnlyToItsWindowAndTakesNegativeAndHexValues) {
    Launch({L"--window", L"Adobe Acrobat", L"--destroy-result", L"-1", L"--window",
            L"Adobe Acrobat Professional", L"--on-close", L"ignore", L"--destroy-result", L"0x10",
            L"--window", L"Adobe Reader", L"--on-close", L"ignore"});
    LRESULT result = 0;
    ASSERT_TRUE(Send(app_.Window(1), WM_DESTROY, result));
    EXPECT_EQ(result, 16);
    ASSERT_TRUE(Send(app_.Window(2), WM_DESTROY, result));
    EXPECT_EQ(result, 0);
    // DestroyWindow's own WM_DESTROY reaches the handler too; its result goes nowhere.
    ASSERT_TRUE(Send(app_.Window(0), WM_CLOSE, result));
    EXPECT_FALSE(::IsWindow(app_.Window(0)));
    EXPECT_TRUE(app_.Running());
    EXPECT_EQ(app_.ReadLog(), (Lines{"WM_DESTROY Adobe Acrobat Professional",
                                     "WM_DESTROY Adobe Reader", "WM_CLOSE Adobe Acrobat",
                                     "WM_DESTROY Adobe Acrobat", "WM_NCDESTROY Adobe Acrobat"}));
}

TEST_F(StandaloneAppTest, AHungAppFailsAnAbortIfHungSendAndAnswersAfterwards) {
    Launch({L"--window", L"Adobe Reader", L"--on-close", L"ignore", L"--hang", L"6000"});
    HWND reader = app_.Window(0);
    ASSERT_TRUE(::IsWindow(reader));

    LRESULT result = 0;
    ::SetLastError(0);
    EXPECT_FALSE(Send(reader, WM_CLOSE, result, SMTO_ABORTIFHUNG, 2000));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_TRUE(app_.Running());

    // After the hang it processes messages again.
    ASSERT_TRUE(Send(reader, WM_DESTROY, result, SMTO_NORMAL, 20000));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(app_.WaitForLogLine("WM_DESTROY Adobe Reader"));
}

TEST_F(StandaloneAppTest, ADialogHasTheDialogClassAndClosesOnAPostedClose) {
    Launch({L"--dialog", L"Print"});
    HWND dialog = app_.Window(0);
    EXPECT_EQ(ClassOf(dialog), "#32770");
    EXPECT_EQ(TitleOf(dialog), "Print");
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(::GetParent(dialog), nullptr);
    // The platform's title comparison ignores case.
    EXPECT_EQ(::FindWindowA(nullptr, "print"), dialog);

    ASSERT_TRUE(::PostMessageA(dialog, WM_CLOSE, 0, 0));
    EXPECT_TRUE(StandaloneApp::WaitForWindowGone(dialog));
    EXPECT_EQ(app_.ReadLog(), (Lines{"WM_CLOSE Print", "WM_DESTROY Print", "WM_NCDESTROY Print"}));
    DWORD exitCode = 99;
    ASSERT_TRUE(app_.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(StandaloneAppTest, APlainWindowInFrontHidesTheDialogBehindIt) {
    Launch({L"--dialog", L"Save a Copy...", L"--plain", L"Save a Copy..."});
    HWND dialog = app_.Window(0);
    HWND plain = app_.Window(1);
    EXPECT_EQ(ClassOf(dialog), "#32770");
    EXPECT_NE(ClassOf(plain), "#32770");
    EXPECT_EQ(::FindWindowA(nullptr, "save a copy..."), plain);

    // A plain window closes on a posted close as well; the dialog behind it then comes first.
    ASSERT_TRUE(::PostMessageA(plain, WM_CLOSE, 0, 0));
    ASSERT_TRUE(StandaloneApp::WaitForWindowGone(plain));
    EXPECT_EQ(::FindWindowA(nullptr, "save a copy..."), dialog);
    EXPECT_TRUE(app_.Running());
}

TEST_F(StandaloneAppTest, ADialogThatIgnoresCloseStaysOpen) {
    Launch({L"--dialog", L"Print", L"--on-close", L"ignore", L"--plain", L"Other", L"--at-bottom"});
    ASSERT_TRUE(::PostMessageA(app_.Window(0), WM_CLOSE, 0, 0));
    ASSERT_TRUE(app_.WaitForLogLine("WM_CLOSE Print"));
    // A round trip through its queue: anything the close led to has happened by now.
    LRESULT result = 0;
    ASSERT_TRUE(Send(app_.Window(1), WM_NULL, result));
    EXPECT_TRUE(::IsWindow(app_.Window(0)));
    EXPECT_EQ(app_.ReadLog(), Lines{"WM_CLOSE Print"});
}

TEST_F(StandaloneAppTest, TitlesWithQuotesBackslashesAndSpacesArriveUnchanged) {
    const std::wstring title = L"Say \"hi\" \\ to C:\\Temp\\";
    Launch({L"--window", title});
    EXPECT_EQ(TitleOf(app_.Window(0)), "Say \"hi\" \\ to C:\\Temp\\");
    EXPECT_EQ(::FindWindowA(nullptr, "Say \"hi\" \\ to C:\\Temp\\"), app_.Window(0));
}

TEST_F(StandaloneAppTest, TheLifetimeEndsAnAppWhoseWindowsStayOpen) {
    Launch({L"--window", L"Adobe Reader", L"--on-close", L"ignore", L"--lifetime", L"300"});
    DWORD exitCode = 99;
    ASSERT_TRUE(app_.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
    EXPECT_EQ(app_.ReadLog(), Lines{});
}

TEST_F(StandaloneAppTest, ALifetimeShorterThanTheHangCutsTheHangShort) {
    Launch({L"--window", L"Adobe Reader", L"--hang", L"60000", L"--lifetime", L"300"});
    DWORD exitCode = 99;
    ASSERT_TRUE(app_.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 2u);
}

TEST(StandaloneAppCommandLine, MistakesEndTheAppBeforeAnyWindowExists) {
    const std::vector<std::vector<std::wstring>> mistakes = {
        {},
        {L"--on-close", L"ignore", L"--window", L"A"},
        {L"--window", L"A", L"--on-close", L"maybe"},
        {L"--window", L"A", L"--destroy-result", L"seven"},
        {L"--dialog", L"A", L"--destroy-result", L"1"},
        {L"--dialog", L"A", L"--class", L"Mine"},
        {L"--window", L"A", L"--hang", L"-5"},
        {L"--window", L"A", L"--lifetime"},
        {L"--window", L"A", L"--frobnicate"},
    };
    for (const auto& arguments : mistakes) {
        StandaloneApp app;
        ASSERT_TRUE(app.Start(arguments));
        EXPECT_FALSE(app.WaitReady()) << Narrow(app.CommandLine());
        DWORD exitCode = 99;
        ASSERT_TRUE(app.WaitForExit(15000, &exitCode));
        EXPECT_EQ(exitCode, 1u);
    }
}

TEST(StandaloneAppCommandLine, QuotingSurvivesTheSplitting) {
    EXPECT_EQ(QuoteArgument(L"plain"), L"plain");
    EXPECT_EQ(QuoteArgument(L""), L"\"\"");
    EXPECT_EQ(QuoteArgument(L"a b"), L"\"a b\"");
    EXPECT_EQ(QuoteArgument(L"a\\b c\\"), L"\"a\\b c\\\\\"");
    EXPECT_EQ(QuoteArgument(L"say \"x\""), L"\"say \\\"x\\\"\"");
}

} // namespace
} // namespace folivex::testing
