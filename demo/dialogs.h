#pragma once
// The demo's small dialogs: one text prompt (address, page number, search text) and the
// common file dialogs.

#include <windows.h>

#include <optional>
#include <string>

namespace folivex::demo {

// Asks for one line of text; empty when cancelled.
std::optional<std::wstring> PromptForText(HWND owner, const wchar_t* title, const wchar_t* label,
                                          const std::wstring& initial);
std::optional<std::wstring> ChoosePdfToOpen(HWND owner);
std::optional<std::wstring> ChooseCopyTarget(HWND owner);

} // namespace folivex::demo
