#include "viewer_bridge/mode_keywords.h"

#include <array>
#include <string_view>

namespace folivex {
namespace {

template <std::size_t N>
std::wstring KeywordAt(const std::array<std::wstring_view, N>& keywords, std::int32_t value) {
    if (value < 0 || static_cast<std::size_t>(value) >= N) {
        return std::wstring(keywords[0]);
    }
    return std::wstring(keywords[static_cast<std::size_t>(value)]);
}

// Value 5 of LayoutMode has no enum member; the component's own keyword table ends at 4, so it
// takes the fallback like any other stray value.
constexpr std::array<std::wstring_view, 5> kLayoutKeywords = {
    L"DontCare", L"SinglePage", L"OneColumn", L"TwoColumnLeft", L"TwoColumnRight"};
constexpr std::array<std::wstring_view, 3> kPageKeywords = {L"none", L"bookmarks", L"thumbs"};
constexpr std::array<std::wstring_view, 6> kViewKeywords = {L"Fit",  L"FitH",  L"FitV",
                                                            L"FitB", L"FitBH", L"FitBV"};

} // namespace

std::wstring LayoutModeKeyword(std::int32_t lngLayoutMode) {
    return KeywordAt(kLayoutKeywords, lngLayoutMode);
}

std::wstring PageModeKeyword(std::int32_t lngPageMode) {
    return KeywordAt(kPageKeywords, lngPageMode);
}

std::wstring ViewModeKeyword(std::int32_t lngViewMode) {
    return KeywordAt(kViewKeywords, lngViewMode);
}

} // namespace folivex
