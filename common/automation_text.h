#pragma once
// Text-to-number conversions with the rules automation applies when a string is assigned to a
// number: blanks around the number are ignored, a fraction rounds to the nearest whole number
// with halves going to the even neighbour, and a value outside the target range does not convert.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace folivex {

// The number a text spells, or nothing. Accepts blanks around it, a leading sign, digits with
// optional "," thousands separators, a "." fraction and an exponent.
std::optional<double> ParseAutomationNumber(std::wstring_view text);

// True when ParseAutomationNumber accepts the text; the empty text is not numeric.
bool IsNumericText(std::wstring_view text);

std::optional<std::int16_t> TextToInt16(std::wstring_view text);
std::optional<std::int32_t> TextToInt32(std::wstring_view text);

// Leading and trailing spaces (U+0020 only) removed.
std::wstring TrimSpaces(std::wstring_view text);

// Lower case for the ASCII letters; other characters unchanged.
std::wstring AsciiLower(std::wstring_view text);

} // namespace folivex
