#pragma once
// The component takes its page, layout and view modes as keywords; the control's public enums
// are numbers. Values outside an enum's range are not rejected: they fall back to the keyword of
// the enum's value 0, so a host passing a stray number still gets a defined mode.

#include <cstdint>
#include <string>

namespace folivex {

// LayoutMode: pvwDontCare = 0, pvwSinglePage, pvwOneColumn, pvwTwoColumnLeft, pvwTwoColumnRight.
std::wstring LayoutModeKeyword(std::int32_t lngLayoutMode);
// PageMode: pvwNone = 0, pvwBookmarks, pvwThumbs. The keywords are lower case.
std::wstring PageModeKeyword(std::int32_t lngPageMode);
// ViewMode: pvwFit = 0, pvwFitH, pvwFitV, pvwFitB, pvwFitBH, pvwFitBV.
std::wstring ViewModeKeyword(std::int32_t lngViewMode);

} // namespace folivex
