#pragma once
// The deployment files are ASCII: registry paths, identifiers and version numbers.

#include <string>

namespace folivex::deploy {

// Throws std::invalid_argument for a character outside printable ASCII.
std::string Ascii(const std::wstring& text);
// One field of a tab-separated table row: also refuses tabs and line breaks.
std::string TableField(const std::wstring& text);
// An XML attribute value or element text, escaped.
std::string XmlText(const std::wstring& text);

} // namespace folivex::deploy
