#pragma once
// The captured window list: the toolbar views and text boxes the collecting walk met while a
// document was being opened, as they were then. Part of the control's member state.

#include "common/portable_types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folivex {

struct CapturedWindows {
    // The count is a 16-bit member; matches beyond this are not kept.
    static constexpr std::int16_t kMaxWindowCount = 32767;

    std::vector<WindowHandle> WindowHandles;
    std::vector<std::wstring> WindowClasses;
    std::vector<std::wstring> WindowTexts;
    std::int16_t WindowCount = 0;

    // Adds an entry at index WindowCount; false (and nothing kept) once the list is full.
    bool Append(WindowHandle handle, std::wstring className, std::wstring text);

    // Empties the list before a new document's windows are captured.
    void Clear();

    // The number of entries readers may look at: WindowCount, never past the arrays, so a
    // member state edited by hand cannot lead a reader out of bounds.
    std::size_t Size() const;
};

} // namespace folivex
