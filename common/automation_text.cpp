#include "common/automation_text.h"

#include <cmath>
#include <limits>

namespace folivex {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

template <typename Int>
std::optional<Int> ToWhole(std::wstring_view text) {
    const std::optional<double> value = ParseAutomationNumber(text);
    if (!value) {
        return std::nullopt;
    }
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double rounded = std::nearbyint(*value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<double> ParseAutomationNumber(std::wstring_view text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i])) {
        ++i;
    }
    while (end > i && IsBlank(text[end - 1])) {
        --end;
    }
    if (i == end) {
        return std::nullopt;
    }
    bool negative = false;
    if (text[i] == L'+' || text[i] == L'-') {
        negative = text[i] == L'-';
        ++i;
    }
    double value = 0.0;
    bool anyDigit = false;
    for (; i < end && (IsDigit(text[i]) || (text[i] == L',' && anyDigit)); ++i) {
        if (text[i] != L',') {
            value = value * 10.0 + (text[i] - L'0');
            anyDigit = true;
        }
    }
    if (i < end && text[i] == L'.') {
        double scale = 0.1;
        for (++i; i < end && IsDigit(text[i]); ++i) {
            value += (text[i] - L'0') * scale;
            scale /= 10.0;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < end && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == L'+' || text[i] == L'-')) {
            negativeExponent = text[i] == L'-';
            ++i;
        }
        if (i == end || !IsDigit(text[i])) {
            return std::nullopt;
        }
        int exponent = 0;
        for (; i < end && IsDigit(text[i]); ++i) {
            if (exponent < 10000) {
                exponent = exponent * 10 + (text[i] - L'0');
            }
        }
        value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
    }
    if (i != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

bool IsNumericText(std::wstring_view text) {
    return ParseAutomationNumber(text).has_value();
}

std::optional<std::int16_t> TextToInt16(std::wstring_view text) {
    return ToWhole<std::int16_t>(text);
}

std::optional<std::int32_t> TextToInt32(std::wstring_view text) {
    return ToWhole<std::int32_t>(text);
}

std::wstring TrimSpaces(std::wstring_view text) {
    std::size_t begin = text.find_first_not_of(L' ');
    if (begin == std::wstring_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(begin, last - begin + 1));
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return result;
}

} // namespace folivex
