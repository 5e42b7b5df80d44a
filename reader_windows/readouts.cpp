#include "reader_windows/readouts.h"

#include "common/automation_text.h"
#include "reader_windows/viewer_window_names.h"
#include "reader_windows/window_walks.h"

namespace folivex {

std::int32_t Page(WindowTree& tree, WindowHandle controlWindow, std::int16_t readerVersion,
                  std::int32_t& lastPage) {
    FindPageBox(tree, controlWindow, readerVersion, lastPage);
    return lastPage;
}

std::int16_t ZoomPct(WindowTree& tree, WindowHandle controlWindow, std::int16_t readerVersion,
                     std::int16_t& lastZoomPct) {
    FindZoomBox(tree, controlWindow, readerVersion, lastZoomPct);
    return lastZoomPct;
}

HResult PageTotal(const CapturedWindows& captured, std::int32_t& lastPageTotal,
                  std::int32_t& pageTotal) {
    for (std::size_t i = 0; i < captured.Size(); ++i) {
        const std::wstring& text = captured.WindowTexts[i];
        const std::size_t lastSpace = text.rfind(L' ');
        // Only the plain edit class: the rich-edit boxes never hold the "n of m" text.
        if (captured.WindowClasses[i] != viewer_window::kEdit || lastSpace == std::wstring::npos) {
            continue;
        }
        const auto total = TextToInt32(std::wstring_view(text).substr(lastSpace + 1));
        if (!total) {
            return kTypeMismatch;
        }
        lastPageTotal = *total;
        break;
    }
    pageTotal = lastPageTotal;
    return kOk;
}

} // namespace folivex
