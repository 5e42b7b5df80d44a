#pragma once
// Server lifetime: the counts that DllCanUnloadNow answers from, and the module's own handle.

#include <windows.h>

namespace folivex::com {

class Module {
public:
    static void ObjectCreated();
    static void ObjectDestroyed();
    static void Lock();
    static void Unlock();
    static bool CanUnload();
    static long ObjectCount();

    // The handle of the DLL (or EXE) this code is linked into, found from an address inside it,
    // so it is right whether or not DllMain ran.
    static HMODULE Handle();
    // Full path of that module.
    static const wchar_t* Path();
};

} // namespace folivex::com
