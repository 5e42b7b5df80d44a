#include "viewer_bridge/keystrokes.h"

#include <array>

namespace folivex {
namespace {

namespace vk = virtual_key;

constexpr std::array<KeystrokeKeyName, 44> kKeyNames = {{
    {L"BACKSPACE", vk::kBack},
    {L"BS", vk::kBack},
    {L"BKSP", vk::kBack},
    {L"BREAK", 0x03},
    {L"CAPSLOCK", 0x14},
    {L"DELETE", vk::kDelete},
    {L"DEL", vk::kDelete},
    {L"DOWN", vk::kDown},
    {L"END", vk::kEnd},
    {L"ENTER", vk::kReturn},
    {L"ESC", vk::kEscape},
    {L"HELP", 0x2F},
    {L"HOME", vk::kHome},
    {L"INSERT", vk::kInsert},
    {L"INS", vk::kInsert},
    {L"LEFT", vk::kLeft},
    {L"NUMLOCK", 0x90},
    {L"PGDN", vk::kNext},
    {L"PGUP", vk::kPrior},
    {L"PRTSC", 0x2C},
    {L"RIGHT", vk::kRight},
    {L"SCROLLLOCK", 0x91},
    {L"TAB", vk::kTab},
    {L"UP", vk::kUp},
    {L"ADD", 0x6B},
    {L"SUBTRACT", 0x6D},
    {L"MULTIPLY", 0x6A},
    {L"DIVIDE", 0x6F},
    {L"F1", vk::kF1},
    {L"F2", vk::kF1 + 1},
    {L"F3", vk::kF1 + 2},
    {L"F4", vk::kF1 + 3},
    {L"F5", vk::kF1 + 4},
    {L"F6", vk::kF1 + 5},
    {L"F7", vk::kF1 + 6},
    {L"F8", vk::kF1 + 7},
    {L"F9", vk::kF1 + 8},
    {L"F10", vk::kF1 + 9},
    {L"F11", vk::kF1 + 10},
    {L"F12", vk::kF1 + 11},
    {L"F13", vk::kF1 + 12},
    {L"F14", vk::kF1 + 13},
    {L"F15", vk::kF1 + 14},
    {L"F16", vk::kF16},
}};

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::optional<std::uint16_t> NamedKey(std::wstring_view name) {
    for (const KeystrokeKeyName& key : kKeyNames) {
        if (key.name.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            same = AsciiUpper(name[i]) == key.name[i];
        }
        if (same) {
            return key.virtualKey;
        }
    }
    return std::nullopt;
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The character starting at `pos`, combining a UTF-16 surrogate pair where wchar_t is 16 bits.
char32_t CharacterAt(std::wstring_view text, std::size_t pos, std::size_t& length) {
    const char32_t first = static_cast<char32_t>(text[pos]);
    length = 1;
    if (IsHighSurrogate(first) && pos + 1 < text.size()) {
        const char32_t second = static_cast<char32_t>(text[pos + 1]);
        if (IsLowSurrogate(second)) {
            length = 2;
            return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        }
    }
    return first;
}

std::optional<std::uint16_t> ModifierKey(wchar_t c) {
    switch (c) {
    case L'+':
        return vk::kShift;
    case L'^':
        return vk::kControl;
    case L'%':
        return vk::kMenu;
    default:
        return std::nullopt;
    }
}

struct Held {
    bool shift = false;
    bool control = false;
    bool alt = false;

    bool Holds(std::uint16_t key) const {
        return key == vk::kShift ? shift : key == vk::kControl ? control : alt;
    }
    void Hold(std::uint16_t key) {
        (key == vk::kShift ? shift : key == vk::kControl ? control : alt) = true;
    }
};

class Parser {
public:
    explicit Parser(std::wstring_view text) : text_(text) {}

    KeystrokeParse Run() {
        KeystrokeParse result;
        if (ParseSequence(result.events, Held{}, 0) && pos_ < text_.size()) {
            // Only an unmatched ")" stops the outermost sequence early.
            Fail(KeystrokeError::UnbalancedParenthesis, pos_);
        }
        if (error_ != KeystrokeError::None) {
            result.events.clear();
            result.events.shrink_to_fit();
            result.error = error_;
            result.errorOffset = errorOffset_;
        }
        return result;
    }

private:
    bool Fail(KeystrokeError error, std::size_t offset) {
        error_ = error;
        errorOffset_ = offset;
        return false;
    }

    bool CheckSize(const std::vector<KeyEvent>& out, std::size_t offset) {
        return out.size() <= kMaxKeystrokeEvents || Fail(KeystrokeError::TooManyEvents, offset);
    }

    // Items up to the end of the text or a ")" (left for the caller).
    bool ParseSequence(std::vector<KeyEvent>& out, Held held, int depth) {
        while (pos_ < text_.size() && text_[pos_] != L')') {
            if (!ParseItem(out, held, depth)) {
                return false;
            }
        }
        return true;
    }

    // Modifiers, then the one key or group they apply to. The modifiers are pressed only when
    // the item yields a key, and only those not already held by an enclosing group.
    bool ParseItem(std::vector<KeyEvent>& out, Held held, int depth) {
        const std::size_t itemStart = out.size();
        std::array<std::uint16_t, 3> pressed{};
        std::size_t pressedCount = 0;
        bool sawModifier = false;
        while (pos_ < text_.size()) {
            const std::optional<std::uint16_t> modifier = ModifierKey(text_[pos_]);
            if (!modifier) {
                break;
            }
            sawModifier = true;
            if (!held.Holds(*modifier)) {
                held.Hold(*modifier);
                pressed[pressedCount++] = *modifier;
                out.push_back(KeyEvent::Press(*modifier));
            }
            ++pos_;
        }
        if (sawModifier && (pos_ == text_.size() || text_[pos_] == L')')) {
            return Fail(KeystrokeError::DanglingModifier, pos_ == 0 ? 0 : pos_ - 1);
        }

        const std::size_t bodyStart = out.size();
        const std::size_t keyOffset = pos_;
        const wchar_t c = text_[pos_];
        bool ok = true;
        if (c == L'(') {
            ok = ParseGroup(out, held, depth);
        } else if (c == L'{') {
            ok = ParseBrace(out);
        } else if (c == L'}') {
            ok = Fail(KeystrokeError::StrayClosingBrace, pos_);
        } else if (c == L'~') {
            ++pos_;
            Tap(out, vk::kReturn);
        } else {
            std::size_t length = 0;
            const char32_t character = CharacterAt(text_, pos_, length);
            pos_ += length;
            TapCharacter(out, character);
        }
        if (!ok) {
            return false;
        }
        if (out.size() == bodyStart) {
            out.resize(itemStart);
            return true;
        }
        while (pressedCount > 0) {
            out.push_back(KeyEvent::Release(pressed[--pressedCount]));
        }
        return CheckSize(out, keyOffset);
    }

    bool ParseGroup(std::vector<KeyEvent>& out, Held held, int depth) {
        const std::size_t open = pos_++;
        if (depth + 1 > kMaxKeystrokeNesting) {
            return Fail(KeystrokeError::NestingTooDeep, open);
        }
        if (!ParseSequence(out, held, depth + 1)) {
            return false;
        }
        if (pos_ >= text_.size()) {
            return Fail(KeystrokeError::UnbalancedParenthesis, open);
        }
        ++pos_; // the ")"
        return true;
    }

    // "{name}" or "{name count}". The name has at least one character, so "{}}" names "}".
    bool ParseBrace(std::vector<KeyEvent>& out) {
        const std::size_t open = pos_;
        const std::size_t close =
            open + 2 <= text_.size() ? text_.find(L'}', open + 2) : std::wstring_view::npos;
        if (close == std::wstring_view::npos) {
            return Fail(KeystrokeError::UnclosedBrace, open);
        }
        pos_ = close + 1;
        std::wstring_view name = text_.substr(open + 1, close - open - 1);
        std::uint32_t count = 1;
        const std::size_t space = name.rfind(L' ');
        if (space != std::wstring_view::npos && space >= 1) {
            const std::wstring_view digits = name.substr(space + 1);
            name = name.substr(0, space);
            if (digits.empty()) {
                return Fail(KeystrokeError::BadRepeatCount, open);
            }
            count = 0;
            for (const wchar_t d : digits) {
                if (d < L'0' || d > L'9') {
                    return Fail(KeystrokeError::BadRepeatCount, open);
                }
                count = count * 10 + static_cast<std::uint32_t>(d - L'0');
                if (count > kMaxKeystrokeRepeat) {
                    return Fail(KeystrokeError::BadRepeatCount, open);
                }
            }
        }

        std::size_t length = 0;
        const char32_t character = CharacterAt(name, 0, length);
        if (length == name.size()) {
            for (std::uint32_t i = 0; i < count; ++i) {
                TapCharacter(out, character);
            }
        } else {
            const std::optional<std::uint16_t> key = NamedKey(name);
            if (!key) {
                return Fail(KeystrokeError::UnknownKeyName, open);
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                Tap(out, *key);
            }
        }
        return CheckSize(out, open);
    }

    static void Tap(std::vector<KeyEvent>& out, std::uint16_t key) {
        out.push_back(KeyEvent::Press(key));
        out.push_back(KeyEvent::Release(key));
    }

    static void TapCharacter(std::vector<KeyEvent>& out, char32_t character) {
        out.push_back(KeyEvent::CharPress(character));
        out.push_back(KeyEvent::CharRelease(character));
    }

    std::wstring_view text_;
    std::size_t pos_ = 0;
    KeystrokeError error_ = KeystrokeError::None;
    std::size_t errorOffset_ = 0;
};

void AppendUnicode(std::vector<KeyInput>& out, char32_t character, bool up) {
    if (character > 0x10FFFF) {
        character = 0xFFFD;
    }
    if (character >= 0x10000) {
        const char32_t offset = character - 0x10000;
        out.push_back(
            {KeyInput::Kind::Unicode, static_cast<std::uint16_t>(0xD800 + (offset >> 10)), up});
        out.push_back(
            {KeyInput::Kind::Unicode, static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)), up});
        return;
    }
    out.push_back({KeyInput::Kind::Unicode, static_cast<std::uint16_t>(character), up});
}

} // namespace

KeystrokeParse ParseKeystrokes(std::wstring_view keys) {
    return Parser(keys).Run();
}

std::span<const KeystrokeKeyName> KeystrokeKeyNames() {
    return kKeyNames;
}

std::vector<KeyInput> LowerKeyEvents(std::span<const KeyEvent> events,
                                     const KeyboardLayout& layout) {
    std::vector<KeyInput> out;
    out.reserve(events.size());
    Held held;

    // The character pressed last, with the modifiers pressed for it alone; the parser releases
    // every character right after pressing it.
    struct Typed {
        char32_t character = 0;
        std::optional<LayoutKey> key;
        std::array<std::uint16_t, 3> extras{};
        std::size_t extraCount = 0;
    };
    std::optional<Typed> typed;

    for (const KeyEvent& event : events) {
        if (event.kind == KeyEvent::Kind::VirtualKey) {
            const auto key = static_cast<std::uint16_t>(event.code);
            if (key == vk::kShift) {
                held.shift = !event.up;
            } else if (key == vk::kControl) {
                held.control = !event.up;
            } else if (key == vk::kMenu) {
                held.alt = !event.up;
            }
            out.push_back({KeyInput::Kind::VirtualKey, key, event.up});
            continue;
        }

        const char32_t character = event.code;
        if (!event.up) {
            Typed now;
            now.character = character;
            now.key = layout.KeyFor(character);
            if (now.key) {
                const std::array<std::pair<bool, std::uint16_t>, 3> needs = {{
                    {now.key->shift && !held.shift, vk::kShift},
                    {now.key->control && !held.control, vk::kControl},
                    {now.key->alt && !held.alt, vk::kMenu},
                }};
                for (const auto& [needed, modifier] : needs) {
                    if (needed) {
                        now.extras[now.extraCount++] = modifier;
                        out.push_back({KeyInput::Kind::VirtualKey, modifier, false});
                    }
                }
                out.push_back({KeyInput::Kind::VirtualKey, now.key->virtualKey, false});
            } else {
                AppendUnicode(out, character, false);
            }
            typed = now;
            continue;
        }

        Typed released;
        if (typed && typed->character == character) {
            released = *typed;
        } else {
            released.character = character;
            released.key = layout.KeyFor(character);
        }
        typed.reset();
        if (released.key) {
            out.push_back({KeyInput::Kind::VirtualKey, released.key->virtualKey, true});
            while (released.extraCount > 0) {
                out.push_back(
                    {KeyInput::Kind::VirtualKey, released.extras[--released.extraCount], true});
            }
        } else {
            AppendUnicode(out, character, true);
        }
    }
    return out;
}

bool ParsedKeystrokeSender::SendKeys(std::wstring_view keys) {
    const KeystrokeParse parse = ParseKeystrokes(keys);
    if (!parse.Ok()) {
        return false;
    }
    if (parse.events.empty()) {
        return true;
    }
    const std::vector<KeyInput> inputs = LowerKeyEvents(parse.events, layout_);
    return sink_.Deliver(inputs);
}

} // namespace folivex
