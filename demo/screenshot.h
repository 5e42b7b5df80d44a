#pragma once
// Writes what a window shows to a 24-bit BMP file.

#include <windows.h>

#include <string>

namespace folivex::demo {

bool SaveWindowBitmap(HWND window, const std::wstring& path);

} // namespace folivex::demo
