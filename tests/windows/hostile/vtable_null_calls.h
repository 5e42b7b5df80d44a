#pragma once
// Early-bound calls with NULL [out] and [in, out] pointers: every member of the interface that
// has one is called through its vtable slot (found in the type library), once with every such
// pointer NULL and once per pointer with only that one NULL.

#include "tests/windows/hostile/generated_arguments.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace folivex::testing {

struct NullPointerCall {
    std::wstring member;
    std::wstring nulls; // which parameters were NULL, e.g. "Result" or "strURL, strFile"
    bool retvalNull;    // the [out, retval] pointer was among them
    HRESULT result;
};

// `object` is the interface `info` (TKIND_INTERFACE) describes.
std::vector<NullPointerCall> CallWithNullPointers(IUnknown* object, ITypeInfo* info,
                                                  ArgumentGenerator& generator);

} // namespace folivex::testing
