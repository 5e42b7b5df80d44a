#pragma once
// The interface generated from folivex.idl, for the control's own code. The generated header
// gives string parameters with a default value a wide literal default, as MIDL's does; GCC
// rejects that conversion in C++, so it is allowed for this include only.

#include <windows.h>
#include <ocidl.h>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wwrite-strings"
#endif
#include "folivex.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
