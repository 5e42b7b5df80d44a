#pragma once
// Swallowing the save chord Ctrl+Shift+S, desktop-wide, with a low-level keyboard hook.
//
// A thread has at most one hook, shared by all its controls. Each control that sets
// DisableSaveKeys to True holds a claim on it; the hook is installed with the first claim and
// removed with the last, so one control turning blocking off, or terminating, never lifts the
// restriction that another control of the thread still asks for, and no hook outlives every
// claim.

#include "common/portable_types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folivex {

namespace keyboard_hook {
inline constexpr int kAction = 0; // HC_ACTION
inline constexpr std::uint32_t kKeyDown = 0x0100;
inline constexpr std::uint32_t kKeyUp = 0x0101;
inline constexpr std::uint32_t kSysKeyDown = 0x0104;
inline constexpr std::uint32_t kSysKeyUp = 0x0105;
inline constexpr std::uint32_t kSaveKey = 0x53; // the letter S
} // namespace keyboard_hook

// The events the hook looks at: key presses and releases, with or without Alt.
constexpr bool IsExaminedKeyMessage(int hookCode, std::uint32_t message) {
    namespace kh = keyboard_hook;
    return hookCode == kh::kAction && (message == kh::kKeyDown || message == kh::kKeyUp ||
                                       message == kh::kSysKeyDown || message == kh::kSysKeyUp);
}

// True when the event is to be swallowed: S pressed or released while Ctrl and Shift are down.
// Alt is not looked at, so Ctrl+Alt+Shift+S is swallowed too; Ctrl and Shift themselves pass.
constexpr bool ShouldSwallowKey(int hookCode, std::uint32_t message, std::uint32_t virtualKey,
                                bool ctrlDown, bool shiftDown) {
    return IsExaminedKeyMessage(hookCode, message) && virtualKey == keyboard_hook::kSaveKey &&
           ctrlDown && shiftDown;
}

// One modifier as the hook itself has seen it go down and up.
struct SeenModifier {
    bool down = false;           // a press seen, its release not (yet)
    std::uint32_t pressedAt = 0; // the press's event time, in milliseconds
};

// Ctrl and Shift as the hook itself has seen them. The platform's asynchronous key state can lag
// behind the events a low-level hook is handed (seen under Wine right after the hook was
// installed: S came with Ctrl and Shift pressed just before it, yet read as up, and a key once
// read as down could read as up at the next event), so a press the hook saw also counts, but only
// to bridge that lag: for kLagBridgeMs after the press, on the events' own clock. Beyond that the
// asynchronous state alone decides, so a release the hook never saw (it went to the secure
// desktop, the hook timed out, another hook swallowed it) cannot leave a modifier down for good.
// Trivially destructible, so that a thread can keep one for its hook.
struct HeldModifiers {
    static constexpr std::uint32_t kLagBridgeMs = 100;

    SeenModifier ctrl;
    SeenModifier shift;

    constexpr void Observe(std::uint32_t message, std::uint32_t virtualKey, std::uint32_t time) {
        namespace kh = keyboard_hook;
        const bool down = message == kh::kKeyDown || message == kh::kSysKeyDown;
        const bool up = message == kh::kKeyUp || message == kh::kSysKeyUp;
        if (!down && !up) {
            return;
        }
        SeenModifier* seen = nullptr;
        // VK_SHIFT, VK_LSHIFT, VK_RSHIFT; VK_CONTROL, VK_LCONTROL, VK_RCONTROL.
        if (virtualKey == 0x10 || virtualKey == 0xA0 || virtualKey == 0xA1) {
            seen = &shift;
        } else if (virtualKey == 0x11 || virtualKey == 0xA2 || virtualKey == 0xA3) {
            seen = &ctrl;
        }
        if (!seen) {
            return;
        }
        if (up) {
            *seen = SeenModifier{};
        } else if (!seen->down) {
            // A held key repeats its press; the first one starts the bridge.
            *seen = SeenModifier{true, time};
        }
    }

    // Whether the modifier counts as down for an event at `now` (event time, milliseconds,
    // wrapping) while the asynchronous state says `asyncDown`.
    static constexpr bool Down(const SeenModifier& seen, bool asyncDown, std::uint32_t now) {
        return asyncDown ||
               (seen.down && static_cast<std::uint32_t>(now - seen.pressedAt) < kLagBridgeMs);
    }
};

// A key state as the platform reports it: bit 15 set means the key is down.
constexpr bool KeyStateIsDown(std::int16_t state) {
    return (static_cast<std::uint16_t>(state) & 0x8000u) != 0;
}

// Installs and removes the thread's one keyboard hook.
class SaveKeyHookPlatform {
public:
    virtual ~SaveKeyHookPlatform() = default;
    virtual bool InstallHook() = 0; // false when the platform refused
    virtual void RemoveHook() = 0;
};

// The claims of one thread's controls on its hook.
class SaveKeyClaims {
public:
    explicit SaveKeyClaims(SaveKeyHookPlatform& platform) : platform_(platform) {}
    ~SaveKeyClaims();
    SaveKeyClaims(const SaveKeyClaims&) = delete;
    SaveKeyClaims& operator=(const SaveKeyClaims&) = delete;

    // Adds the owner's claim, installing the hook if it is the first. False, with no claim
    // recorded, when the hook could not be installed.
    bool Claim(const void* owner);
    // Drops the owner's claim, if it has one; removes the hook with the last claim.
    void Release(const void* owner);

    bool HasClaim(const void* owner) const;
    std::size_t ClaimCount() const { return owners_.size(); }
    bool HookInstalled() const { return installed_; }

private:
    SaveKeyHookPlatform& platform_;
    std::vector<const void*> owners_;
    bool installed_ = false;
};

// The DisableSaveKeys property of one control.
class SaveKeyBlocking {
public:
    explicit SaveKeyBlocking(SaveKeyClaims& claims) : claims_(claims) {}
    ~SaveKeyBlocking() { claims_.Release(this); }
    SaveKeyBlocking(const SaveKeyBlocking&) = delete;
    SaveKeyBlocking& operator=(const SaveKeyBlocking&) = delete;

    // True only while this control's claim holds: after a failed installation it reads False,
    // and setting True again tries again.
    AutoBool DisableSaveKeys() const { return ToAutoBool(claims_.HasClaim(this)); }
    // Reports nothing, whatever the platform does.
    void PutDisableSaveKeys(AutoBool value);
    // The control's termination: its own claim goes, other controls' claims stay. Later puts
    // are ignored.
    void Terminate();

private:
    SaveKeyClaims& claims_;
    bool terminated_ = false;
};

} // namespace folivex
