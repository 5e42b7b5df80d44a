#include "reader_windows/captured_windows.h"

#include <algorithm>

namespace folivex {

bool CapturedWindows::Append(WindowHandle handle, std::wstring className, std::wstring text) {
    if (WindowCount < 0) {
        WindowCount = 0;
    }
    if (WindowCount >= kMaxWindowCount) {
        return false;
    }
    const std::size_t index = static_cast<std::size_t>(WindowCount);
    // The arrays hold exactly WindowCount entries after each append; earlier entries beyond the
    // count (left by a Clear that only reset the count) are overwritten.
    WindowHandles.resize(index + 1);
    WindowClasses.resize(index + 1);
    WindowTexts.resize(index + 1);
    WindowHandles[index] = handle;
    WindowClasses[index] = std::move(className);
    WindowTexts[index] = std::move(text);
    ++WindowCount;
    return true;
}

void CapturedWindows::Clear() {
    WindowCount = 0;
    WindowHandles.clear();
    WindowClasses.clear();
    WindowTexts.clear();
}

std::size_t CapturedWindows::Size() const {
    if (WindowCount <= 0) {
        return 0;
    }
    return std::min({static_cast<std::size_t>(WindowCount), WindowHandles.size(),
                     WindowClasses.size(), WindowTexts.size()});
}

} // namespace folivex
