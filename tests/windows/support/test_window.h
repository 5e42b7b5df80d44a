#pragma once
// A visible top-level window for a test to host controls in, and message pumping.

#include "com/unique_handle.h"

#include <windows.h>
#include <ole2.h>

namespace folivex::testing {

com::UniqueWindow MakeHostWindow(int width = 640, int height = 480);

// Dispatches the thread's pending messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds = 50);

// COM initialised for the test's thread (apartment-threaded, as a form's thread is).
class ComApartment {
public:
    ComApartment() { ::OleInitialize(nullptr); }
    ~ComApartment() { ::OleUninitialize(); }
};

} // namespace folivex::testing
