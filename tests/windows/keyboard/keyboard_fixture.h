#pragma once
// What the keyboard tests share: the stand-in's two ways of taking keys, its journal of the key
// actions with the way each key came, the clipboard, and the test document's text.

#include "tests/windows/standin/journal_reader.h"
#include "tests/windows/support/test_settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace folivex::testing {

struct KeyMode {
    const wchar_t* setting; // the stand-in's FOLIVEX_STANDIN_KEYS
    bool accelerator;
};
inline constexpr KeyMode kMessageKeys{L"messages", false};
inline constexpr KeyMode kAcceleratorKeys{L"accelerator", true};
std::string KeyModeName(const ::testing::TestParamInfo<KeyMode>& info);

inline constexpr const wchar_t* kThreePagesText =
    L"Folivex test page 1 of 3\r\nFolivex test page 2 of 3\r\nFolivex test page 3 of 3";

// The stand-in's journal in a fresh file, and its key mode, for the life of the object.
class KeyJournal {
public:
    explicit KeyJournal(const KeyMode& mode);
    void Mark();
    // Key actions since the mark, as "action" or "action:text", each followed by "@window" or
    // "@accelerator".
    std::vector<std::wstring> Actions() const;
    // The way the mode's text chords come: "@window" or "@accelerator".
    const wchar_t* ChordPath() const { return accelerator_ ? L"@accelerator" : L"@window"; }

private:
    ScratchDirectory directory_;
    std::wstring path_;
    ScopedSetting journal_;
    ScopedSetting keys_;
    ScopedSetting printDialog_{L"FOLIVEX_STANDIN_PRINT_DIALOG", L"none"};
    bool accelerator_;
    std::size_t mark_ = 0;
};

std::optional<std::wstring> ClipboardText();
void PutClipboardText(const std::wstring& text);

// A press and release of `key` with the modifiers held around it.
std::vector<INPUT> Keys(std::initializer_list<WORD> modifiers, WORD key);

// True when the keyboard focus is the stand-in component's own window inside `control`.
bool FocusInComponent(HWND control);

} // namespace folivex::testing
