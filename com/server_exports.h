#pragma once
// What the exports of an in-process COM server DLL do, written once for every server DLL of the
// project. Each DLL still defines its own extern "C" entry points (they are listed in its .def);
// their bodies call these:
//
//   BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
//       return com::ServerDllMain(reason, reserved);
//   }
//   STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
//       return com::ServerGetClassObject<Thing>(clsid, riid, object);
//   }
//   STDAPI DllCanUnloadNow() { return com::ServerCanUnloadNow(); }

#include "com/class_factory.h"
#include "com/module.h"

#include <string>

namespace folivex::com {

inline BOOL ServerDllMain(DWORD reason, LPVOID reserved) {
    Module::OnDllMain(reason, reserved);
    return TRUE;
}

// The class factory of `T`, the one creatable class of the server (`T::ClassId()`).
template <typename T>
HRESULT ServerGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, T::ClassId())) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return GetClassObject<T>(riid, object);
}

inline HRESULT ServerCanUnloadNow() {
    return Module::CanUnload() ? S_OK : S_FALSE;
}

// DllInstall's command line: "user" (regsvr32 /i:user) asks for a per-user registration.
bool InstallCommandAsksForUser(LPCWSTR commandLine);

// Registration writes: a string value (`name` null or empty: the key's default value) below
// `root`, creating the key.
HRESULT WriteRegistryString(HKEY root, const std::wstring& key, const std::wstring& name,
                            const std::wstring& data);
// Removes `key` with all its subkeys; a key that is not there is no failure.
HRESULT DeleteRegistryTree(HKEY root, const std::wstring& key);

} // namespace folivex::com
