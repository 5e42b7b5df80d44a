#pragma once
// The clipboard's Unicode text, read and written as a user's program would, for the tests of the
// text members.

#include <optional>
#include <string>

namespace folivex::testing {

// The clipboard's CF_UNICODETEXT, or nothing when it cannot be opened or holds no text.
std::optional<std::wstring> ClipboardText();
// Empties the clipboard and puts `text` on it.
void PutClipboardText(const std::wstring& text);
int ClipboardFormatCount();

} // namespace folivex::testing
