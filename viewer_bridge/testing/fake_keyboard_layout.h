#pragma once
// A US-like keyboard layout for the tests and the fuzzer of the keystroke lowering: lower-case
// letters and digits plain, upper case and "+" with Shift, "@" on AltGr (Ctrl+Alt), anything
// else (say "é") absent, so that both kinds of lowering are reached.

#include "viewer_bridge/keystrokes.h"

#include <optional>

namespace folivex::testing {

class FakeKeyboardLayout : public KeyboardLayout {
public:
    std::optional<LayoutKey> KeyFor(char32_t c) const override {
        if (c >= U'a' && c <= U'z') {
            return LayoutKey{static_cast<std::uint16_t>(c - U'a' + 'A')};
        }
        if (c >= U'A' && c <= U'Z') {
            return LayoutKey{static_cast<std::uint16_t>(c), true};
        }
        if (c >= U'0' && c <= U'9') {
            return LayoutKey{static_cast<std::uint16_t>(c)};
        }
        if (c == U'+') {
            return LayoutKey{0xBB, true};
        }
        if (c == U'@') {
            return LayoutKey{0x51, false, true, true};
        }
        return std::nullopt;
    }
};

} // namespace folivex::testing
