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

    // Registers a window class of this module; registering it again fails harmlessly. (Asking
    // first with GetClassInfoEx would not do: it also answers for the system's global classes.)
    static void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0,
                                    HBRUSH background = nullptr);
    // What the DLL's entry point does: when the DLL is unloaded while the process goes on, every
    // class registered above is unregistered. A class outlives the DLL that registered it, and a
    // later load (perhaps at another address) would find it pointing at the unloaded procedure.
    static void OnDllMain(DWORD reason, LPVOID reserved);
};

} // namespace folivex::com
