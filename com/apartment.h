#pragma once
// The calling thread in a single-threaded COM apartment for the guard's lifetime.

#include <windows.h>
#include <objbase.h>

namespace folivex::com {

class Apartment {
public:
    Apartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment() {
        // Every successful CoInitializeEx (S_FALSE too: already initialised) needs its own
        // CoUninitialize; a failed one must not be balanced.
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }

    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

} // namespace folivex::com
