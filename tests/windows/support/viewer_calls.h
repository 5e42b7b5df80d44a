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

// Folivex.dll's own DllCanUnloadNow: S_OK once none of its objects is left and it is not locked;
// S_OK as well when it is not loaded.
HRESULT LibraryCanUnloadNow();

// Dispatches messages until LibraryCanUnloadNow() answers S_OK, for at most `milliseconds`;
// its last answer. A released control must really be gone, not merely out of the host's hands.
HRESULT WaitUntilLibraryCanUnload(DWORD milliseconds = 10000);

} // namespace folivex::testing
