#include "tests/windows/keyboard/keyboard_fixture.h"

#include <cwchar>

namespace folivex::testing {

std::string KeyModeName(const ::testing::TestParamInfo<KeyMode>& info) {
    return info.param.accelerator ? "accelerator" : "messages";
}

KeyJournal::KeyJournal(const KeyMode& mode)
    : path_(directory_.File(L"journal.txt")), journal_(L"FOLIVEX_STANDIN_JOURNAL", path_.c_str()),
      keys_(L"FOLIVEX_STANDIN_KEYS", mode.setting), accelerator_(mode.accelerator) {}

void KeyJournal::Mark() {
    mark_ = standin::ReadJournal(path_).size();
}

std::vector<std::wstring> KeyJournal::Actions() const {
    const std::vector<standin::JournalEntry> entries = standin::ReadJournal(path_);
    std::vector<std::wstring> actions;
    for (std::size_t i = mark_; i < entries.size(); ++i) {
        const standin::JournalEntry& entry = entries[i];
        if (entry.kind != standin::JournalKind::Key || entry.arguments.empty()) {
            continue;
        }
        std::wstring action = entry.arguments[0].value;
        if (entry.arguments.size() > 1) {
            action += L":" + entry.arguments[1].value;
        }
        action += entry.flags == standin::kKeyViaAccelerator ? L"@accelerator" : L"@window";
        actions.push_back(action);
    }
    return actions;
}

std::optional<std::wstring> ClipboardText() {
    if (!::OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = std::wstring(chars);
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void PutClipboardText(const std::wstring& text) {
    if (!::OpenClipboard(nullptr)) {
        return;
    }
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = ::GlobalLock(memory)) {
            std::wmemcpy(static_cast<wchar_t*>(target), text.c_str(), text.size() + 1);
            ::GlobalUnlock(memory);
            if (!::SetClipboardData(CF_UNICODETEXT, memory)) {
                ::GlobalFree(memory);
            }
        }
    }
    ::CloseClipboard();
}

std::vector<INPUT> Keys(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        if (vk >= VK_PRIOR && vk <= VK_DOWN) {
            input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
        }
        if (up) {
            input.ki.dwFlags |= KEYEVENTF_KEYUP;
        }
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers) {
        add(modifier, false);
    }
    add(key, false);
    add(key, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        add(*it, true);
    }
    return inputs;
}

bool FocusInComponent(HWND control) {
    HWND focus = ::GetFocus();
    wchar_t name[64] = {};
    return focus && ::IsChild(control, focus) && ::GetClassNameW(focus, name, 64) &&
           std::wcscmp(name, L"FolivexStandInViewer") == 0;
}

} // namespace folivex::testing
