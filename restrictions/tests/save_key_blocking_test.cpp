#include "restrictions/save_key_blocking.h"

#include <gtest/gtest.h>

#include <optional>

namespace folivex {
namespace {

namespace kh = keyboard_hook;

TEST(SaveKeyDecision, SwallowsPressAndReleaseOfSWithCtrlAndShift) {
    for (const std::uint32_t message : {kh::kKeyDown, kh::kKeyUp, kh::kSysKeyDown, kh::kSysKeyUp}) {
        EXPECT_TRUE(ShouldSwallowKey(0, message, 0x53, true, true)) << message;
        EXPECT_FALSE(ShouldSwallowKey(0, message, 0x53, true, false)) << "Ctrl+S " << message;
        EXPECT_FALSE(ShouldSwallowKey(0, message, 0x53, false, true)) << "Shift+S " << message;
        EXPECT_FALSE(ShouldSwallowKey(0, message, 0x53, false, false));
    }
}

TEST(SaveKeyDecision, EverythingElsePasses) {
    // The modifiers themselves, other letters, other hook codes and other messages.
    for (const std::uint32_t key : {0x10u, 0x11u, 0xA0u, 0xA2u, 0x12u, 0x41u, 0x73u, 0x153u}) {
        EXPECT_FALSE(ShouldSwallowKey(0, kh::kKeyDown, key, true, true)) << key;
    }
    EXPECT_FALSE(ShouldSwallowKey(3, kh::kKeyDown, 0x53, true, true));
    EXPECT_FALSE(ShouldSwallowKey(-1, kh::kKeyDown, 0x53, true, true));
    EXPECT_FALSE(ShouldSwallowKey(0, 0x0102 /* WM_CHAR */, 0x53, true, true));
    EXPECT_FALSE(ShouldSwallowKey(0, 0x0200, 0x53, true, true));
    EXPECT_FALSE(IsExaminedKeyMessage(1, kh::kKeyDown));
    EXPECT_TRUE(IsExaminedKeyMessage(0, kh::kSysKeyUp));
}

TEST(SaveKeyDecision, HeldModifiersFollowTheEventsTheHookSees) {
    namespace kh = keyboard_hook;
    HeldModifiers held;
    held.Observe(kh::kKeyDown, 0xA2, 1000);    // left Ctrl
    held.Observe(kh::kSysKeyDown, 0xA1, 1001); // right Shift, with Alt held
    EXPECT_TRUE(held.ctrl.down && held.shift.down);
    held.Observe(kh::kKeyDown, kh::kSaveKey, 1002);
    held.Observe(0x0200, 0x11, 1003); // not a key message
    EXPECT_TRUE(held.ctrl.down && held.shift.down);
    held.Observe(kh::kKeyUp, 0x11, 1004);
    EXPECT_FALSE(held.ctrl.down);
    EXPECT_TRUE(held.shift.down);
    held.Observe(kh::kSysKeyUp, 0x10, 1005);
    EXPECT_FALSE(held.shift.down);
}

// Decides S the way the hook does: each modifier from its seen record and the asynchronous state.
bool Swallows(const HeldModifiers& held, std::uint32_t time, bool asyncCtrl, bool asyncShift) {
    const bool ctrl = HeldModifiers::Down(held.ctrl, asyncCtrl, time);
    const bool shift = HeldModifiers::Down(held.shift, asyncShift, time);
    return ShouldSwallowKey(0, keyboard_hook::kKeyDown, keyboard_hook::kSaveKey, ctrl, shift);
}

TEST(SaveKeyDecision, APressSeenBridgesALaggingKeyStateOnly) {
    namespace kh = keyboard_hook;
    HeldModifiers held;
    // Right after installation: the chord's presses came, the asynchronous state still says up.
    held.Observe(kh::kKeyDown, 0x11, 5000);
    held.Observe(kh::kKeyDown, 0x10, 5001);
    EXPECT_TRUE(Swallows(held, 5002, false, false));
    // A press whose key never showed as down stops counting once the lag is long past: its
    // release was lost before the state caught up.
    EXPECT_FALSE(Swallows(held, 5000 + HeldModifiers::kLagBridgeMs, false, false));
    // The bridge is measured on the event clock, which wraps.
    HeldModifiers wrapping;
    wrapping.Observe(kh::kKeyDown, 0x11, 0xFFFFFFF0u);
    wrapping.Observe(kh::kKeyDown, 0x10, 0xFFFFFFF0u);
    EXPECT_TRUE(Swallows(wrapping, 5, false, false));
}

TEST(SaveKeyDecision, AReleaseTheHookNeverSawLeavesNoModifierDown) {
    namespace kh = keyboard_hook;
    constexpr std::uint32_t kLag = HeldModifiers::kLagBridgeMs;
    HeldModifiers held;
    // Ctrl+Shift+S typed normally: swallowed, whatever the state says within the lag.
    held.Observe(kh::kKeyDown, 0x11, 100);
    held.Observe(kh::kKeyDown, 0x10, 101);
    EXPECT_TRUE(Swallows(held, 102, true, true));
    EXPECT_TRUE(Swallows(held, 103, true, false)) << "a state that flickers back is bridged";
    // Shift's release went where the hook cannot see; Ctrl+S once the lag is over passes.
    EXPECT_FALSE(Swallows(held, 101 + kLag, true, false));
    EXPECT_TRUE(held.shift.down) << "the hook still has not seen the release";
    // The same with Ctrl lost and Shift+S.
    held.Observe(kh::kKeyUp, 0x10, 1000);
    held.Observe(kh::kKeyDown, 0x10, 1001);
    EXPECT_FALSE(Swallows(held, 1002, false, true)) << "Ctrl's press is long past";
    // Both pressed again: blocked again, whatever the lost releases left in the record.
    held.Observe(kh::kKeyUp, 0x11, 1003);
    held.Observe(kh::kKeyDown, 0x11, 1004);
    EXPECT_TRUE(Swallows(held, 1005, false, false));
}

TEST(SaveKeyDecision, KeyStateBit15MeansDown) {
    EXPECT_TRUE(KeyStateIsDown(static_cast<std::int16_t>(0x8000)));
    EXPECT_TRUE(KeyStateIsDown(static_cast<std::int16_t>(0x8001)));
    EXPECT_TRUE(KeyStateIsDown(-127)); // 0xFF81: down and toggled
    EXPECT_FALSE(KeyStateIsDown(1));   // toggled only
    EXPECT_FALSE(KeyStateIsDown(0));
}

class FakeHookPlatform : public SaveKeyHookPlatform {
public:
    bool InstallHook() override {
        ++installs;
        if (!works) {
            return false;
        }
        EXPECT_FALSE(installed) << "a second hook while one is installed";
        installed = true;
        return true;
    }
    void RemoveHook() override {
        ++removals;
        EXPECT_TRUE(installed) << "removing a hook that is not installed";
        installed = false;
    }
    bool works = true;
    bool installed = false;
    int installs = 0;
    int removals = 0;
};

class SaveKeyClaimsTest : public ::testing::Test {
protected:
    FakeHookPlatform platform;
    std::optional<SaveKeyClaims> claims{std::in_place, platform};
};

TEST_F(SaveKeyClaimsTest, OneControlOnAndOff) {
    SaveKeyBlocking control(*claims);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoFalse);
    control.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoTrue);
    EXPECT_TRUE(platform.installed);
    control.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(platform.installs, 1);

    control.PutDisableSaveKeys(kAutoFalse);
    control.PutDisableSaveKeys(kAutoFalse);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoFalse);
    EXPECT_EQ(platform.removals, 1);
    EXPECT_FALSE(platform.installed);
}

TEST_F(SaveKeyClaimsTest, AnyNonZeroValueIsTrue) {
    SaveKeyBlocking control(*claims);
    control.PutDisableSaveKeys(1);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoTrue);
}

TEST_F(SaveKeyClaimsTest, TurningOffWhatWasNeverOnMakesNoPlatformCall) {
    SaveKeyBlocking control(*claims);
    control.PutDisableSaveKeys(kAutoFalse);
    control.Terminate();
    EXPECT_EQ(platform.installs, 0);
    EXPECT_EQ(platform.removals, 0);
}

TEST_F(SaveKeyClaimsTest, TwoControlsShareOneHookWhicheverLetsGoFirst) {
    enum class Leave { TurnOff, Terminate };
    for (const Leave first : {Leave::TurnOff, Leave::Terminate}) {
        for (const Leave second : {Leave::TurnOff, Leave::Terminate}) {
            for (const bool reverse : {false, true}) {
                FakeHookPlatform hooks;
                SaveKeyClaims threadClaims(hooks);
                SaveKeyBlocking a(threadClaims);
                SaveKeyBlocking b(threadClaims);
                a.PutDisableSaveKeys(kAutoTrue);
                b.PutDisableSaveKeys(kAutoTrue);
                EXPECT_EQ(hooks.installs, 1);

                SaveKeyBlocking& leavesFirst = reverse ? b : a;
                SaveKeyBlocking& leavesLast = reverse ? a : b;
                auto leave = [](SaveKeyBlocking& control, Leave how) {
                    how == Leave::TurnOff ? control.PutDisableSaveKeys(kAutoFalse)
                                          : control.Terminate();
                };
                leave(leavesFirst, first);
                EXPECT_TRUE(hooks.installed) << "the other control still blocks";
                EXPECT_EQ(leavesLast.DisableSaveKeys(), kAutoTrue);
                EXPECT_EQ(leavesFirst.DisableSaveKeys(), kAutoFalse);

                leave(leavesLast, second);
                EXPECT_FALSE(hooks.installed);
                EXPECT_EQ(hooks.removals, 1);
                EXPECT_EQ(threadClaims.ClaimCount(), 0u);
            }
        }
    }
}

TEST_F(SaveKeyClaimsTest, AControlWithoutAClaimRemovesNothing) {
    SaveKeyBlocking blocking(*claims);
    SaveKeyBlocking idle(*claims);
    blocking.PutDisableSaveKeys(kAutoTrue);
    idle.PutDisableSaveKeys(kAutoFalse);
    idle.Terminate();
    EXPECT_TRUE(platform.installed);
    EXPECT_EQ(platform.removals, 0);
}

TEST_F(SaveKeyClaimsTest, FailedInstallationReadsFalseAndIsTriedAgain) {
    SaveKeyBlocking control(*claims);
    platform.works = false;
    control.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoFalse);
    EXPECT_FALSE(claims->HookInstalled());
    EXPECT_EQ(claims->ClaimCount(), 0u);

    control.PutDisableSaveKeys(kAutoFalse);
    EXPECT_EQ(platform.removals, 0);

    platform.works = true;
    control.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoTrue);
    EXPECT_EQ(platform.installs, 2);
    EXPECT_TRUE(platform.installed);
}

TEST_F(SaveKeyClaimsTest, AfterTheLastClaimGoesTheNextClaimInstallsAgain) {
    SaveKeyBlocking a(*claims);
    a.PutDisableSaveKeys(kAutoTrue);
    a.Terminate();
    SaveKeyBlocking b(*claims);
    b.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(platform.installs, 2);
    EXPECT_TRUE(platform.installed);
}

TEST_F(SaveKeyClaimsTest, ATerminatedControlIgnoresLaterPuts) {
    SaveKeyBlocking control(*claims);
    control.Terminate();
    control.PutDisableSaveKeys(kAutoTrue);
    EXPECT_EQ(platform.installs, 0);
    EXPECT_EQ(control.DisableSaveKeys(), kAutoFalse);
}

TEST_F(SaveKeyClaimsTest, DestroyingAControlReleasesItsClaim) {
    {
        SaveKeyBlocking control(*claims);
        control.PutDisableSaveKeys(kAutoTrue);
    }
    EXPECT_FALSE(platform.installed);
    EXPECT_EQ(claims->ClaimCount(), 0u);
}

TEST_F(SaveKeyClaimsTest, TheRegistryNeverLeavesAHookBehind) {
    claims->Claim(this);
    EXPECT_TRUE(platform.installed);
    claims.reset();
    EXPECT_FALSE(platform.installed);
    EXPECT_EQ(platform.removals, 1);
}

} // namespace
} // namespace folivex
