#pragma once
// Small calls the Windows tests make on a control, early- and late-bound, and the error information
// a failing member leaves behind.

#include "interface/folivex_interface.h"

#include <windows.h>

#include <string>
#include <vector>

namespace folivex::testing {

struct ErrorText {
    bool present = false;
    std::wstring source;
    std::wstring description;
};
// Takes the thread's error information (GetErrorInfo clears it).
ErrorText TakeErrorInfo();

// A late-bound call by name, as a script host makes it: `args` in the member's declared order
// (reversed into the DISPPARAMS here), owned by the call and cleared afterwards; a property put
// names its value DISPID_PROPERTYPUT. The member's exception, if any, goes to `error`.
HRESULT CallByName(IDispatch* dispatch, const wchar_t* name, WORD flags,
                   std::vector<VARIANT> args = {}, VARIANT* result = nullptr,
                   EXCEPINFO* error = nullptr);

// Early-bound OpenPDF; false also when the call itself failed.
bool OpenDocument(_Viewer* viewer, const std::wstring& path);

// Folivex.dll's own DllCanUnloadNow: S_OK once none of its objects is left and it is not locked;
// S_OK as well when it is not loaded.
HRESULT LibraryCanUnloadNow();

// Dispatches messages until LibraryCanUnloadNow() answers S_OK, for at most `milliseconds`;
// its last answer. A released control must really be gone, not merely out of the host's hands.
HRESULT WaitUntilLibraryCanUnload(DWORD milliseconds = 10000);

} // namespace folivex::testing
