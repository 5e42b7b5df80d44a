#pragma once
// The calling thread in a COM apartment for the guard's lifetime: single-threaded unless asked
// for the multithreaded one (COINIT_MULTITHREADED).

#include <windows.h>
#include <objbase.h>

namespace folivex::com {

class Apartment {
public:
    explicit Apartment(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(::CoInitializeEx(nullptr, model)) {}
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
