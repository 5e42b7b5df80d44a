#pragma once
// Failures of Viewer members in plain words, for the status bar.

#include <windows.h>
#include <unknwn.h>

#include <string>

namespace folivex::demo {

// "<member> failed: <description>" where the description is the automation error's own (from
// IErrorInfo, when `object` supports it for `interfaceId`), else the system's text for `hr`,
// else the number.
std::wstring DescribeFailure(IUnknown* object, REFIID interfaceId, const wchar_t* member,
                             HRESULT hr);

} // namespace folivex::demo
