#pragma once
// Small early-bound calls the Windows tests make on a control, and the error information a
// failing member leaves behind.

#include "interface/folivex_interface.h"

#include <windows.h>

#include <string>

namespace folivex::testing {

struct ErrorText {
    bool present = false;
    std::wstring source;
    std::wstring description;
};
// Takes the thread's error information (GetErrorInfo clears it).
ErrorText TakeErrorInfo();

// Early-bound OpenPDF; false also when the call itself failed.
bool OpenDocument(_Viewer* viewer, const std::wstring& path);

} // namespace folivex::testing
