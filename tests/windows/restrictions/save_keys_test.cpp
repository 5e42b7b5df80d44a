// DisableSaveKeys under real keyboard input: the hook the control installs on this thread
// swallows Ctrl+Shift+S for a window of another thread, and only that chord.

#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/restrictions/win32_restrictions_helpers.h"

#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/viewer_host.h"

#include "restrictions/save_key_blocking.h"

#include <gtest/gtest.h>

#include <memory>

namespace folivex {
namespace {

using testing::Chord;
using testing::KeyReceiver;

class SaveKeys : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(receiver_.Window());
        ASSERT_EQ(viewer_.CreationResult(), S_OK);
    }

    testing::ComApartment apartment_;
    testing::ViewerHost viewer_;
    KeyReceiver receiver_;
};

TEST_F(SaveKeys, TheChordIsSwallowedPressAndReleaseWhileEveryOtherKeyPasses) {
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    EXPECT_EQ(SaveKeysValue(viewer_), VARIANT_TRUE);

    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver_.Received('S')) << "Ctrl+Shift+S";
    // The modifiers themselves pass, press and release.
    EXPECT_TRUE(receiver_.ReceivedPress(VK_CONTROL));
    EXPECT_TRUE(receiver_.ReceivedRelease(VK_CONTROL));
    EXPECT_TRUE(receiver_.ReceivedPress(VK_SHIFT));
    EXPECT_TRUE(receiver_.ReceivedRelease(VK_SHIFT));

    // Shift first makes no difference, nor does Alt held as well.
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_SHIFT, VK_CONTROL}, 'S')));
    EXPECT_FALSE(receiver_.Received('S')) << "Shift+Ctrl+S";
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_MENU, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver_.Received('S')) << "Ctrl+Alt+Shift+S";
    EXPECT_TRUE(receiver_.Received(VK_MENU));

    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S')) << "Ctrl+S";
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S')) << "Shift+S";
    ASSERT_TRUE(TypeInto(receiver_, Chord({}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S')) << "S";
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'D')));
    EXPECT_TRUE(receiver_.ReceivedPress('D')) << "Ctrl+Shift+D";

    // Switched off, the chord reaches the window again.
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_FALSE), S_OK);
    EXPECT_EQ(SaveKeysValue(viewer_), VARIANT_FALSE);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S'));
}

TEST_F(SaveKeys, TrueTwiceInstallsOneHookThatOneFalseRemoves) {
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    EXPECT_EQ(SaveKeysValue(viewer_), VARIANT_TRUE);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver_.Received('S'));

    // A second hook left behind by the second True would still swallow the chord here.
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_FALSE), S_OK);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S'));

    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_FALSE), S_OK);
    EXPECT_EQ(SaveKeysValue(viewer_), VARIANT_FALSE);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S'));

    // And it can be installed again.
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver_.Received('S'));
}

TEST_F(SaveKeys, TerminationRemovesTheHook) {
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    ASSERT_FALSE(receiver_.Received('S'));

    viewer_.Release();
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S'));
}

// A low-level hook of the test's own, installed before the control's, so the control's hook
// sees each key first. It swallows the presses tagged kWithheld: the control's hook has seen the
// key go down, the system never has, and no release ever follows. To the control's hook that is
// a release lost where it cannot see (the secure desktop, a hook that timed out).
class Withholder {
public:
    static constexpr ULONG_PTR kWithheld = 0x57480000u;

    Withholder()
        : hook_(::SetWindowsHookExW(WH_KEYBOARD_LL, &Withholder::Proc, ::GetModuleHandleW(nullptr),
                                    0)) {}
    ~Withholder() {
        if (hook_) {
            ::UnhookWindowsHookEx(hook_);
        }
    }
    Withholder(const Withholder&) = delete;
    Withholder& operator=(const Withholder&) = delete;
    bool Installed() const { return hook_ != nullptr; }

    static INPUT WithheldPress(WORD key) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwExtraInfo = kWithheld;
        return input;
    }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (code == HC_ACTION && event && event->dwExtraInfo == kWithheld) {
            return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_;
};

TEST_F(SaveKeys, AModifierWhoseReleaseNeverCameDoesNotStayDown) {
    Withholder withholder;
    ASSERT_TRUE(withholder.Installed());
    ASSERT_EQ(viewer_.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);

    for (const WORD lost : {VK_SHIFT, VK_CONTROL}) {
        SCOPED_TRACE(lost == VK_SHIFT ? "Shift lost" : "Ctrl lost");
        const DWORD pressedAt = ::GetTickCount();
        ASSERT_TRUE(TypeInto(receiver_, {Withholder::WithheldPress(lost)}));
        EXPECT_FALSE(receiver_.Received(lost)) << "the system never saw the press";
        // The hook trusts a press it saw only while the key state may still lag behind it.
        while (::GetTickCount() - pressedAt <= HeldModifiers::kLagBridgeMs) {
            testing::PumpMessages(10);
        }
        const WORD other = lost == VK_SHIFT ? VK_CONTROL : VK_SHIFT;
        ASSERT_TRUE(TypeInto(receiver_, Chord({other}, 'S')));
        EXPECT_TRUE(receiver_.ReceivedPress('S') && receiver_.ReceivedRelease('S'));
        // The chord typed normally is still swallowed.
        ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
        EXPECT_FALSE(receiver_.Received('S'));
    }
}

// Two controls on one thread share its one hook: the chord stays blocked while either still
// asks for it, whichever of them turns blocking off or terminates first.
enum class Step { TurnOffFirst, TerminateFirst, TurnOffSecond, TerminateSecond };

class TwoControls : public ::testing::TestWithParam<std::pair<Step, Step>> {
protected:
    void Do(Step step) {
        switch (step) {
        case Step::TurnOffFirst:
            ASSERT_EQ(first_->Viewer()->put_DisableSaveKeys(VARIANT_FALSE), S_OK);
            break;
        case Step::TerminateFirst:
            first_->Release();
            break;
        case Step::TurnOffSecond:
            ASSERT_EQ(second_->Viewer()->put_DisableSaveKeys(VARIANT_FALSE), S_OK);
            break;
        case Step::TerminateSecond:
            second_->Release();
            break;
        }
    }

    testing::ComApartment apartment_;
    std::unique_ptr<testing::ViewerHost> first_ = std::make_unique<testing::ViewerHost>();
    std::unique_ptr<testing::ViewerHost> second_ = std::make_unique<testing::ViewerHost>();
    KeyReceiver receiver_;
};

TEST_P(TwoControls, TheChordStaysBlockedUntilNeitherAsks) {
    ASSERT_TRUE(receiver_.Window());
    ASSERT_EQ(first_->CreationResult(), S_OK);
    ASSERT_EQ(second_->CreationResult(), S_OK);
    ASSERT_EQ(first_->Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    ASSERT_EQ(second_->Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    ASSERT_FALSE(receiver_.Received('S'));

    Do(GetParam().first);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver_.Received('S')) << "after the first step";
    // The control the step left alone still reads True; one that turned blocking off, False.
    const Step step = GetParam().first;
    const bool firstTouched = step == Step::TurnOffFirst || step == Step::TerminateFirst;
    EXPECT_EQ(SaveKeysValue(firstTouched ? *second_ : *first_), VARIANT_TRUE);
    testing::ViewerHost& touched = firstTouched ? *first_ : *second_;
    if (touched.Viewer()) {
        EXPECT_EQ(SaveKeysValue(touched), VARIANT_FALSE);
    }

    Do(GetParam().second);
    ASSERT_TRUE(TypeInto(receiver_, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_TRUE(receiver_.ReceivedPress('S')) << "after the second step";
}

INSTANTIATE_TEST_SUITE_P(
    EitherOrder, TwoControls,
    ::testing::Values(std::make_pair(Step::TurnOffFirst, Step::TurnOffSecond),
                      std::make_pair(Step::TurnOffSecond, Step::TerminateFirst),
                      std::make_pair(Step::TerminateFirst, Step::TurnOffSecond),
                      std::make_pair(Step::TerminateSecond, Step::TerminateFirst)));

TEST(SaveKeysTermination, AControlThatNeverBlockedLeavesTheOthersBlockingInForce) {
    testing::ComApartment apartment;
    testing::ViewerHost blocking;
    auto bystander = std::make_unique<testing::ViewerHost>();
    KeyReceiver receiver;
    ASSERT_TRUE(receiver.Window());
    ASSERT_EQ(blocking.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);

    bystander.reset();
    ASSERT_TRUE(TypeInto(receiver, Chord({VK_CONTROL, VK_SHIFT}, 'S')));
    EXPECT_FALSE(receiver.Received('S'));
    EXPECT_EQ(SaveKeysValue(blocking), VARIANT_TRUE);
}

// The component in the control sees no chord either: its Save a Copy... dialog never opens.
TEST(SaveKeysComponent, TheComponentsSaveDialogDoesNotOpen) {
    testing::ComApartment apartment;
    testing::ScratchDirectory scratch;
    const std::wstring journal = scratch.File(L"journal.txt");
    testing::ScopedSetting journalSetting(L"FOLIVEX_STANDIN_JOURNAL", journal.c_str());
    testing::ScopedSetting timeout(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT", L"2000");
    testing::ViewerHost viewer;
    ASSERT_TRUE(OpenDocument(viewer, L"three_pages.pdf"));
    ASSERT_EQ(viewer.Viewer()->put_DisableSaveKeys(VARIANT_TRUE), S_OK);

    HWND component = FocusComponent(viewer);
    ASSERT_TRUE(component);
    // Ctrl+A afterwards: its "select" line shows that the keys before it have been handled.
    std::vector<INPUT> keys = Chord({VK_CONTROL, VK_SHIFT}, 'S');
    const std::vector<INPUT> selectAll = Chord({VK_CONTROL}, 'A');
    keys.insert(keys.end(), selectAll.begin(), selectAll.end());
    ASSERT_TRUE(testing::SendKeys(keys));
    ASSERT_TRUE(WaitForJournal(journal, JournalKey(L"select")));
    // The save dialog would open from a timer once the input queue is empty.
    testing::PumpMessages(300);
    EXPECT_FALSE(JournalHas(journal, JournalDialog(L"save-open")));
}

} // namespace
} // namespace folivex
