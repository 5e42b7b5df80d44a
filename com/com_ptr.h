#pragma once
// The COM smart pointer: WRL's ComPtr ships with both MinGW-w64 and MSVC.

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

namespace folivex::com {

template <typename T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

} // namespace folivex::com
