#include "viewer_bridge/keystrokes.h"
#include "viewer_bridge/testing/fake_keyboard_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace folivex {
namespace {

namespace vk = virtual_key;
using E = KeyEvent;

std::vector<KeyEvent> Parse(std::wstring_view keys) {
    const KeystrokeParse parse = ParseKeystrokes(keys);
    EXPECT_TRUE(parse.Ok()) << "error " << static_cast<int>(parse.error) << " at "
                            << parse.errorOffset;
    return parse.events;
}

std::vector<KeyEvent> Tap(std::uint16_t key) {
    return {E::Press(key), E::Release(key)};
}
std::vector<KeyEvent> Type(std::u32string_view text) {
    std::vector<KeyEvent> events;
    for (const char32_t c : text) {
        events.push_back(E::CharPress(c));
        events.push_back(E::CharRelease(c));
    }
    return events;
}
std::vector<KeyEvent> Join(std::initializer_list<std::vector<KeyEvent>> parts) {
    std::vector<KeyEvent> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(Keystrokes, PlainCharactersAreTypedAsThemselves) {
    EXPECT_EQ(Parse(L"aB3 ."), Type(U"aB3 ."));
    EXPECT_EQ(Parse(L"[x]"), Type(U"[x]"));
    EXPECT_TRUE(Parse(L"").empty());
}

TEST(Keystrokes, TheTextOperationSequences) {
    EXPECT_EQ(Parse(L"^a"),
              Join({{E::Press(vk::kControl)}, Type(U"a"), {E::Release(vk::kControl)}}));
    EXPECT_EQ(Parse(L"+^a"), Join({{E::Press(vk::kShift), E::Press(vk::kControl)},
                                   Type(U"a"),
                                   {E::Release(vk::kControl), E::Release(vk::kShift)}}));
    EXPECT_EQ(Parse(L"^c"),
              Join({{E::Press(vk::kControl)}, Type(U"c"), {E::Release(vk::kControl)}}));
    EXPECT_EQ(Parse(L"+^f"), Join({{E::Press(vk::kShift), E::Press(vk::kControl)},
                                   Type(U"f"),
                                   {E::Release(vk::kControl), E::Release(vk::kShift)}}));
    EXPECT_EQ(Parse(L"{ENTER}"), Tap(vk::kReturn));
}

TEST(Keystrokes, ModifiersHoldForTheNextKeyOnly) {
    EXPECT_EQ(Parse(L"%fx"),
              Join({{E::Press(vk::kMenu)}, Type(U"f"), {E::Release(vk::kMenu)}, Type(U"x")}));
    EXPECT_EQ(Parse(L"^{END}"),
              Join({{E::Press(vk::kControl)}, Tap(vk::kEnd), {E::Release(vk::kControl)}}));
    EXPECT_EQ(Parse(L"+~"),
              Join({{E::Press(vk::kShift)}, Tap(vk::kReturn), {E::Release(vk::kShift)}}));
    // A repeated modifier is pressed once.
    EXPECT_EQ(Parse(L"++a"), Join({{E::Press(vk::kShift)}, Type(U"a"), {E::Release(vk::kShift)}}));
}

TEST(Keystrokes, ParenthesesHoldAModifierOverAGroup) {
    EXPECT_EQ(Parse(L"+(ab)c"),
              Join({{E::Press(vk::kShift)}, Type(U"ab"), {E::Release(vk::kShift)}, Type(U"c")}));
    EXPECT_EQ(Parse(L"(ab)"), Type(U"ab"));
    // Inside a group, a modifier the group already holds is not pressed again.
    EXPECT_EQ(Parse(L"^(a+b^c)"), Join({{E::Press(vk::kControl)},
                                        Type(U"a"),
                                        {E::Press(vk::kShift)},
                                        Type(U"b"),
                                        {E::Release(vk::kShift)},
                                        Type(U"c"),
                                        {E::Release(vk::kControl)}}));
    // Items without keys send nothing, not even their modifiers.
    EXPECT_TRUE(Parse(L"+()").empty());
    EXPECT_TRUE(Parse(L"^{a 0}").empty());
}

TEST(Keystrokes, EnterAndNamedKeys) {
    EXPECT_EQ(Parse(L"~"), Tap(vk::kReturn));
    const std::map<std::wstring, std::uint16_t> keys = {
        {L"{TAB}", vk::kTab},       {L"{ESC}", vk::kEscape},     {L"{BS}", vk::kBack},
        {L"{BKSP}", vk::kBack},     {L"{BACKSPACE}", vk::kBack}, {L"{DEL}", vk::kDelete},
        {L"{DELETE}", vk::kDelete}, {L"{HOME}", vk::kHome},      {L"{END}", vk::kEnd},
        {L"{PGUP}", vk::kPrior},    {L"{PGDN}", vk::kNext},      {L"{LEFT}", vk::kLeft},
        {L"{RIGHT}", vk::kRight},   {L"{UP}", vk::kUp},          {L"{DOWN}", vk::kDown},
        {L"{INS}", vk::kInsert},    {L"{F1}", vk::kF1},          {L"{F10}", 0x79},
        {L"{F16}", vk::kF16},       {L"{enter}", vk::kReturn},   {L"{Tab}", vk::kTab},
    };
    for (const auto& [text, key] : keys) {
        EXPECT_EQ(Parse(text), Tap(key)) << std::string(text.begin(), text.end());
    }
    for (const KeystrokeKeyName& name : KeystrokeKeyNames()) {
        const std::wstring text = L"{" + std::wstring(name.name) + L"}";
        EXPECT_EQ(Parse(text), Tap(name.virtualKey));
    }
}

TEST(Keystrokes, BracesTypeEverySpecialCharacterLiterally) {
    const std::u32string specials = U"+^%~{}()[]";
    for (const char32_t c : specials) {
        std::wstring text = L"{";
        text += static_cast<wchar_t>(c);
        text += L"}";
        EXPECT_EQ(Parse(text), Type(std::u32string(1, c))) << static_cast<char>(c);
    }
    EXPECT_EQ(Parse(L"1{+}1"), Type(U"1+1"));
    EXPECT_EQ(Parse(L"{a}"), Type(U"a"));
    EXPECT_EQ(Parse(L"{ }"), Type(U" "));
}

TEST(Keystrokes, RepeatCounts) {
    EXPECT_EQ(Parse(L"{LEFT 3}"), Join({Tap(vk::kLeft), Tap(vk::kLeft), Tap(vk::kLeft)}));
    EXPECT_EQ(Parse(L"{x 2}"), Type(U"xx"));
    EXPECT_EQ(Parse(L"{} 2}"), Type(U"}}"));
    EXPECT_EQ(Parse(L"{{ 2}"), Type(U"{{"));
    EXPECT_EQ(
        Parse(L"+{TAB 2}"),
        Join({{E::Press(vk::kShift)}, Tap(vk::kTab), Tap(vk::kTab), {E::Release(vk::kShift)}}));
    EXPECT_EQ(Parse(L"{a 1000}").size(), 2000u);
}

TEST(Keystrokes, CharactersBeyondTheBasicPlane) {
    // U+1F600, spelt as a surrogate pair where wchar_t is 16 bits.
    std::wstring text;
    if constexpr (sizeof(wchar_t) == 2) {
        text = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    } else {
        text = {static_cast<wchar_t>(0x1F600)};
    }
    EXPECT_EQ(Parse(text), Type(U"\U0001F600"));
    EXPECT_EQ(Parse(L"{" + text + L"}"), Type(U"\U0001F600"));
}

TEST(Keystrokes, MalformedInputIsRejectedWhole) {
    struct Case {
        const wchar_t* text;
        KeystrokeError error;
        std::size_t offset;
    };
    const Case cases[] = {
        {L"ab{ENTER", KeystrokeError::UnclosedBrace, 2},
        {L"{", KeystrokeError::UnclosedBrace, 0},
        {L"{}", KeystrokeError::UnclosedBrace, 0},
        {L"x}", KeystrokeError::StrayClosingBrace, 1},
        {L"{FOO}", KeystrokeError::UnknownKeyName, 0},
        {L"{F17}", KeystrokeError::UnknownKeyName, 0},
        {L"{ab}", KeystrokeError::UnknownKeyName, 0},
        {L"{a x}", KeystrokeError::BadRepeatCount, 0},
        {L"{a }", KeystrokeError::BadRepeatCount, 0},
        {L"{a -1}", KeystrokeError::BadRepeatCount, 0},
        {L"{a 1001}", KeystrokeError::BadRepeatCount, 0},
        {L"{a 99999999999999999999}", KeystrokeError::BadRepeatCount, 0},
        {L"+(ab", KeystrokeError::UnbalancedParenthesis, 1},
        {L"ab)", KeystrokeError::UnbalancedParenthesis, 2},
        {L"(a))", KeystrokeError::UnbalancedParenthesis, 3},
        {L"a^", KeystrokeError::DanglingModifier, 1},
        {L"+", KeystrokeError::DanglingModifier, 0},
        {L"(a%)", KeystrokeError::DanglingModifier, 2},
    };
    for (const Case& c : cases) {
        const KeystrokeParse parse = ParseKeystrokes(c.text);
        const std::wstring text(c.text);
        EXPECT_EQ(parse.error, c.error) << std::string(text.begin(), text.end());
        EXPECT_EQ(parse.errorOffset, c.offset) << std::string(text.begin(), text.end());
        EXPECT_TRUE(parse.events.empty());
        EXPECT_FALSE(parse.Ok());
    }
}

TEST(Keystrokes, HostileInputIsBounded) {
    const std::wstring deep(100, L'(');
    EXPECT_EQ(ParseKeystrokes(deep + L"a" + std::wstring(100, L')')).error,
              KeystrokeError::NestingTooDeep);
    EXPECT_TRUE(ParseKeystrokes(std::wstring(32, L'(') + L"a" + std::wstring(32, L')')).Ok());

    std::wstring flood;
    for (int i = 0; i < 60; ++i) {
        flood += L"{a 1000}";
    }
    const KeystrokeParse parse = ParseKeystrokes(flood);
    EXPECT_EQ(parse.error, KeystrokeError::TooManyEvents);
    EXPECT_TRUE(parse.events.empty());
}

using FakeLayout = testing::FakeKeyboardLayout;

KeyInput Down(std::uint16_t key) {
    return {KeyInput::Kind::VirtualKey, key, false};
}
KeyInput Up(std::uint16_t key) {
    return {KeyInput::Kind::VirtualKey, key, true};
}
KeyInput UnicodeDown(std::uint16_t unit) {
    return {KeyInput::Kind::Unicode, unit, false};
}
KeyInput UnicodeUp(std::uint16_t unit) {
    return {KeyInput::Kind::Unicode, unit, true};
}

std::vector<KeyInput> Lower(std::wstring_view keys) {
    const KeystrokeParse parse = ParseKeystrokes(keys);
    EXPECT_TRUE(parse.Ok());
    return LowerKeyEvents(parse.events, FakeLayout());
}

TEST(KeystrokeLowering, ShortcutsBecomeTheLayoutsKeys) {
    EXPECT_EQ(Lower(L"^a"),
              (std::vector{Down(vk::kControl), Down('A'), Up('A'), Up(vk::kControl)}));
    EXPECT_EQ(Lower(L"+^f"), (std::vector{Down(vk::kShift), Down(vk::kControl), Down('F'), Up('F'),
                                          Up(vk::kControl), Up(vk::kShift)}));
    EXPECT_EQ(Lower(L"{ENTER}"), (std::vector{Down(vk::kReturn), Up(vk::kReturn)}));
}

TEST(KeystrokeLowering, ModifiersACharacterNeedsArePressedAroundItUnlessHeld) {
    EXPECT_EQ(Lower(L"A"), (std::vector{Down(vk::kShift), Down('A'), Up('A'), Up(vk::kShift)}));
    EXPECT_EQ(Lower(L"+A"), (std::vector{Down(vk::kShift), Down('A'), Up('A'), Up(vk::kShift)}));
    EXPECT_EQ(Lower(L"{+}"), (std::vector{Down(vk::kShift), Down(0xBB), Up(0xBB), Up(vk::kShift)}));
    EXPECT_EQ(Lower(L"^@"), (std::vector{Down(vk::kControl), Down(vk::kMenu), Down(0x51), Up(0x51),
                                         Up(vk::kMenu), Up(vk::kControl)}));
}

TEST(KeystrokeLowering, CharactersTheLayoutLacksGoAsUnicode) {
    EXPECT_EQ(Lower(L"\u00e9"), (std::vector{UnicodeDown(0xE9), UnicodeUp(0xE9)}));
    const std::vector<KeyEvent> events = {E::CharPress(U'\U0001F600'),
                                          E::CharRelease(U'\U0001F600')};
    EXPECT_EQ(LowerKeyEvents(events, FakeLayout()),
              (std::vector{UnicodeDown(0xD83D), UnicodeDown(0xDE00), UnicodeUp(0xD83D),
                           UnicodeUp(0xDE00)}));
}

class RecordingSink : public KeyInputSink {
public:
    bool Deliver(std::span<const KeyInput> inputs) override {
        batches.emplace_back(inputs.begin(), inputs.end());
        return succeed;
    }
    std::vector<std::vector<KeyInput>> batches;
    bool succeed = true;
};

TEST(ParsedKeystrokeSender, SendsOneBatchPerStringAndNothingWhenMalformed) {
    FakeLayout layout;
    RecordingSink sink;
    ParsedKeystrokeSender sender(layout, sink);
    EXPECT_TRUE(sender.SendKeys(L"^c"));
    ASSERT_EQ(sink.batches.size(), 1u);
    EXPECT_EQ(sink.batches[0].size(), 4u);

    EXPECT_FALSE(sender.SendKeys(L"^{BOGUS}"));
    EXPECT_FALSE(sender.SendKeys(L"+(ab"));
    EXPECT_EQ(sink.batches.size(), 1u);

    EXPECT_TRUE(sender.SendKeys(L""));
    EXPECT_EQ(sink.batches.size(), 1u);

    sink.succeed = false;
    EXPECT_FALSE(sender.SendKeys(L"x"));
}

} // namespace
} // namespace folivex
