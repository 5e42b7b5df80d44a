#pragma once
// A visible top-level window for a test to host controls in, and message pumping.

#include "com/unique_handle.h"

#include <windows.h>
#include <ole2.h>

#include <functional>

namespace folivex::testing {

com::UniqueWindow MakeHostWindow(int width = 640, int height = 480);

// Dispatches the thread's pending messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds = 50);

// Dispatches the thread's messages until `condition` holds, for at most `milliseconds`; whether
// it held. For waiting on something that is to happen, instead of a fixed pause.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);

// Dispatches the thread's messages until every message posted to it before the call has been
// dispatched (posted messages come out in order), for at most `milliseconds`; whether that
// point was reached. For checking that something posted had its effect, or that nothing was
// posted, without a fixed pause. A modal loop that runs meanwhile may eat the marker, and then
// the bound ends the wait.
bool PumpPostedMessages(DWORD milliseconds = 10000);

// COM initialised for the test's thread (apartment-threaded, as a form's thread is).
class ComApartment {
public:
    ComApartment() { ::OleInitialize(nullptr); }
    ~ComApartment() { ::OleUninitialize(); }
};

} // namespace folivex::testing
