#pragma once
// The portable window handle and the platform's, one to the other: the portable code keeps
// handles as integers so that it builds and is tested without the platform headers.

#include "common/portable_types.h"

#include <windows.h>

namespace folivex {

inline HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

inline WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

} // namespace folivex
