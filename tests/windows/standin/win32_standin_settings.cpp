#include "tests/windows/standin/win32_standin_settings.h"

#include <cwchar>

namespace folivex::standin {

std::wstring Setting(const wchar_t* name) {
    std::wstring value(256, L'\0');
    DWORD n = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        value.resize(n);
        n = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    }
    value.resize(n < value.size() ? n : 0);
    const auto first = value.find_first_not_of(L" \t");
    const auto last = value.find_last_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : value.substr(first, last - first + 1);
}

bool NewLayout() {
    return ::_wcsicmp(Setting(L"FOLIVEX_STANDIN_LAYOUT").c_str(), L"old") != 0;
}

std::wstring PageBoxClass() {
    return ::_wcsicmp(Setting(L"FOLIVEX_STANDIN_PAGEBOX_CLASS").c_str(), L"RichEdit20A") == 0
               ? L"RichEdit20A"
               : L"Edit";
}

// The page box's text: %P the page, %N the page count, %% a percent sign. The setting's own
// blanks at the ends are trimmed, so a trailing blank is written as %_.
std::wstring PageBoxText(const std::wstring& format, int page, int count) {
    std::wstring text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            text += format[i];
            continue;
        }
        switch (format[++i]) {
        case L'P':
            text += std::to_wstring(page);
            break;
        case L'N':
            text += std::to_wstring(count);
            break;
        case L'_':
            text += L' ';
            break;
        default:
            text += format[i];
            break;
        }
    }
    return text;
}

// Milliseconds until the document view appears, or -1 for never.
long DocumentViewDelay() {
    const std::wstring text = Setting(L"FOLIVEX_STANDIN_DOCVIEW_DELAY");
    if (::_wcsicmp(text.c_str(), L"never") == 0) {
        return -1;
    }
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    return (text.empty() || *end != L'\0' || value < 0) ? 0 : value;
}

// Milliseconds until a dialog nobody closes closes itself, so that no test can hang on it.
UINT DialogTimeout() {
    constexpr UINT kDefaultDialogTimeoutMs = 20000;
    const std::wstring text = Setting(L"FOLIVEX_STANDIN_DIALOG_TIMEOUT");
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text.c_str(), &end, 10);
    const bool valid =
        !text.empty() && text[0] != L'-' && *end == L'\0' && value > 0 && value <= 0x7FFFFFFFul;
    return valid ? static_cast<UINT>(value) : kDefaultDialogTimeoutMs;
}

bool PrintDialogWanted() {
    return ::_wcsicmp(Setting(L"FOLIVEX_STANDIN_PRINT_DIALOG").c_str(), L"none") != 0;
}

// The failure switch: member numbers (and "print") separated by commas or blanks.
bool FailureRequested(std::wstring_view member) {
    const std::wstring list = Setting(L"FOLIVEX_STANDIN_FAIL");
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find_first_of(L", ;\t", start);
        if (end == std::wstring::npos) {
            end = list.size();
        }
        const std::wstring item = list.substr(start, end - start);
        if (!item.empty() && ::_wcsicmp(item.c_str(), std::wstring(member).c_str()) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// "accelerator": the text chords are taken only through TranslateAccelerator, and the control
// reports its focus and UI-activates itself; otherwise they are key messages to its window.
bool AcceleratorKeys() {
    return ::_wcsicmp(Setting(L"FOLIVEX_STANDIN_KEYS").c_str(), L"accelerator") == 0;
}

} // namespace folivex::standin
