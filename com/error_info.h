#pragma once
// Error information for automation callers: the description, source and interface that
// Err.Description / Err.Source show, set for the thread before a failing HRESULT is returned.

#include <windows.h>
#include <oaidl.h>

namespace folivex::com {

// Sets the thread's error information and returns `hr`, so a member can write
// `return RaiseError(hr, ...)`.
HRESULT RaiseError(HRESULT hr, REFGUID interfaceId, const wchar_t* source,
                   const wchar_t* description);

// Turns a filled EXCEPINFO (from a failed IDispatch::Invoke) into the thread's error
// information, and returns the HRESULT it stands for, so the caller's own caller sees the same
// number, source and description. Frees the EXCEPINFO's strings.
HRESULT RaiseFromExcepInfo(EXCEPINFO& info);

// Clears the thread's error information (before a call whose failure should not carry stale
// information).
void ClearError();

} // namespace folivex::com
