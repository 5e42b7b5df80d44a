#pragma once
// Page, zoom and page-count readouts taken off the viewer's toolbar text boxes.

#include "common/portable_types.h"
#include "reader_windows/captured_windows.h"
#include "reader_windows/window_tree.h"

#include <cstdint>
#include <string_view>

namespace folivex {

// The description that goes with kTypeMismatch from PageTotal.
inline constexpr std::wstring_view kTypeMismatchDescription = L"Type mismatch";

// Walks the live tree from the control's window for the page box; returns `lastPage`, updated
// when the box's text converts.
std::int32_t Page(WindowTree& tree, WindowHandle controlWindow, std::int16_t readerVersion,
                  std::int32_t& lastPage);

// As Page, for the zoom box and `lastZoomPct`.
std::int16_t ZoomPct(WindowTree& tree, WindowHandle controlWindow, std::int16_t readerVersion,
                     std::int16_t& lastZoomPct);

// The page count after the last space of the first captured "Edit" text holding a space, stored
// in `lastPageTotal` and returned in `pageTotal`; `lastPageTotal` as it was when no entry
// qualifies. kTypeMismatch when that part does not convert: `lastPageTotal` and `pageTotal`
// are then left as they were.
HResult PageTotal(const CapturedWindows& captured, std::int32_t& lastPageTotal,
                  std::int32_t& pageTotal);

} // namespace folivex
