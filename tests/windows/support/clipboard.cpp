#include "tests/windows/support/clipboard.h"

#include <windows.h>

#include <cwchar>

namespace folivex::testing {

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
        void* target = ::GlobalLock(memory);
        if (target) {
            std::wmemcpy(static_cast<wchar_t*>(target), text.c_str(), text.size() + 1);
            ::GlobalUnlock(memory);
        }
        // The clipboard owns the memory once it has taken it.
        if (!target || !::SetClipboardData(CF_UNICODETEXT, memory)) {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

int ClipboardFormatCount() {
    return ::CountClipboardFormats();
}

} // namespace folivex::testing
