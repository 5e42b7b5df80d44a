#pragma once
// The control's OLEMISC status bits, in one place: IOleObject::GetMiscStatus answers them and the
// registration writes them as the class's MiscStatus value, so that a container that reads the
// registry before creating the control sees what the control itself says.

#include <cstdint>

namespace folivex {

namespace olemisc {
inline constexpr std::uint32_t kRecomposeOnResize = 0x1;
inline constexpr std::uint32_t kCantLinkInside = 0x10;
inline constexpr std::uint32_t kInsideOut = 0x80;
inline constexpr std::uint32_t kActivateWhenVisible = 0x100;
inline constexpr std::uint32_t kSetClientSiteFirst = 0x20000;
} // namespace olemisc

inline constexpr std::uint32_t kViewerMiscStatus =
    olemisc::kSetClientSiteFirst | olemisc::kActivateWhenVisible | olemisc::kRecomposeOnResize |
    olemisc::kInsideOut | olemisc::kCantLinkInside;

} // namespace folivex
