#pragma once
// Keystroke strings in the host's synthesiser syntax, turned into key events the platform can
// inject.
//
//   "^" Ctrl, "+" Shift, "%" Alt    held for the next key or the next parenthesised group
//   "(...)"                         a group: "+(ab)" holds Shift over a and b
//   "~", "{ENTER}"                  the Enter key
//   "{TAB}", "{ESC}", "{F5}", ...   named keys, letter case ignored (KeystrokeKeyNames())
//   "{+}", "{{}", "{}}", "{~}", ... one character typed as itself, whatever it is
//   "{LEFT 3}", "{a 2}"             a key or character repeated n times (0..kMaxKeystrokeRepeat)
//   anything else                   typed as itself ("[" and "]" included)
//
// Malformed input (an unclosed or stray brace, an unknown key name, a bad repeat count,
// unbalanced parentheses, a modifier with no key after it, too deep nesting, too many events) is
// rejected whole: the parse reports the error and yields no events, so nothing is ever sent
// from a half-understood string and no modifier can be left held down.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace folivex {

// Virtual-key codes as the platform numbers them.
namespace virtual_key {
inline constexpr std::uint16_t kBack = 0x08;
inline constexpr std::uint16_t kTab = 0x09;
inline constexpr std::uint16_t kReturn = 0x0D;
inline constexpr std::uint16_t kShift = 0x10;
inline constexpr std::uint16_t kControl = 0x11;
inline constexpr std::uint16_t kMenu = 0x12; // Alt
inline constexpr std::uint16_t kEscape = 0x1B;
inline constexpr std::uint16_t kPrior = 0x21; // Page Up
inline constexpr std::uint16_t kNext = 0x22;  // Page Down
inline constexpr std::uint16_t kEnd = 0x23;
inline constexpr std::uint16_t kHome = 0x24;
inline constexpr std::uint16_t kLeft = 0x25;
inline constexpr std::uint16_t kUp = 0x26;
inline constexpr std::uint16_t kRight = 0x27;
inline constexpr std::uint16_t kDown = 0x28;
inline constexpr std::uint16_t kInsert = 0x2D;
inline constexpr std::uint16_t kDelete = 0x2E;
inline constexpr std::uint16_t kF1 = 0x70;
inline constexpr std::uint16_t kF16 = 0x7F;
} // namespace virtual_key

inline constexpr std::uint32_t kMaxKeystrokeRepeat = 1000;
inline constexpr std::size_t kMaxKeystrokeEvents = 100000;
inline constexpr int kMaxKeystrokeNesting = 32;

struct KeyEvent {
    enum class Kind : std::uint8_t {
        VirtualKey, // code is a virtual-key code
        Character,  // code is a Unicode code point, to be typed however the layout allows
    };
    Kind kind;
    std::uint32_t code;
    bool up; // false: press, true: release

    static KeyEvent Press(std::uint16_t vk) { return {Kind::VirtualKey, vk, false}; }
    static KeyEvent Release(std::uint16_t vk) { return {Kind::VirtualKey, vk, true}; }
    static KeyEvent CharPress(char32_t c) { return {Kind::Character, c, false}; }
    static KeyEvent CharRelease(char32_t c) { return {Kind::Character, c, true}; }
    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

enum class KeystrokeError {
    None,
    UnclosedBrace,         // "{" with no "}" after it
    StrayClosingBrace,     // "}" outside braces
    UnknownKeyName,        // "{FOO}"
    BadRepeatCount,        // "{a x}", "{a 99999}"
    UnbalancedParenthesis, // "(" never closed, or ")" never opened
    DanglingModifier,      // "^" at the end or before ")"
    NestingTooDeep,        // more than kMaxKeystrokeNesting open groups
    TooManyEvents,         // more than kMaxKeystrokeEvents events in all
};

struct KeystrokeParse {
    std::vector<KeyEvent> events; // empty unless error is None
    KeystrokeError error = KeystrokeError::None;
    std::size_t errorOffset = 0; // index into the input where the error was found
    bool Ok() const { return error == KeystrokeError::None; }
};

KeystrokeParse ParseKeystrokes(std::wstring_view keys);

// The brace names the parser knows, in upper case, with the keys they stand for.
struct KeystrokeKeyName {
    std::wstring_view name;
    std::uint16_t virtualKey;
};
std::span<const KeystrokeKeyName> KeystrokeKeyNames();

// How the keyboard layout in use types a character: a virtual key plus the modifiers it needs.
struct LayoutKey {
    std::uint16_t virtualKey;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Nothing when the layout has no key for the character.
    virtual std::optional<LayoutKey> KeyFor(char32_t character) const = 0;
};

// One injected input, ready for the platform's input synthesiser.
struct KeyInput {
    enum class Kind : std::uint8_t {
        VirtualKey, // code is a virtual-key code
        Unicode,    // code is a UTF-16 code unit, injected as a character packet
    };
    Kind kind;
    std::uint16_t code;
    bool up;
    friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

// Characters become their layout's keys, so shortcuts such as Ctrl+A reach the component as
// key presses; the modifiers a character needs beyond those already held are pressed around it.
// Characters the layout cannot type are injected as Unicode packets.
std::vector<KeyInput> LowerKeyEvents(std::span<const KeyEvent> events,
                                     const KeyboardLayout& layout);

// Sends a keystroke string and returns once the keys have been processed.
class KeystrokeSender {
public:
    virtual ~KeystrokeSender() = default;
    // False when the string was malformed (nothing is sent) or the delivery failed.
    virtual bool SendKeys(std::wstring_view keys) = 0;
};

// Delivers injected inputs to the focused window and returns once they have been processed.
class KeyInputSink {
public:
    virtual ~KeyInputSink() = default;
    virtual bool Deliver(std::span<const KeyInput> inputs) = 0;
};

class ParsedKeystrokeSender : public KeystrokeSender {
public:
    ParsedKeystrokeSender(const KeyboardLayout& layout, KeyInputSink& sink)
        : layout_(layout), sink_(sink) {}
    bool SendKeys(std::wstring_view keys) override;

private:
    const KeyboardLayout& layout_;
    KeyInputSink& sink_;
};

} // namespace folivex
