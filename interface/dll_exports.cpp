// The exports of Folivex.dll.

#include "interface/win32_registration.h"

#include "control/win32_viewer.h"

#include "com/class_factory.h"
#include "com/module.h"

#include <olectl.h>

#include <cwchar>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    folivex::com::Module::OnDllMain(reason, reserved);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_Viewer)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return folivex::com::GetClassObject<folivex::Viewer>(riid, object);
}

STDAPI DllCanUnloadNow() {
    return folivex::com::Module::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    return folivex::RegisterServer(folivex::RegistrationScope::Machine);
}

STDAPI DllUnregisterServer() {
    return folivex::UnregisterServer(folivex::RegistrationScope::Machine);
}

// regsvr32 /i:user [/u] Folivex.dll registers for the current user only, below
// HKEY_CURRENT_USER\Software\Classes, which needs no administrator rights.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    const bool perUser = commandLine && ::_wcsicmp(commandLine, L"user") == 0;
    const auto scope =
        perUser ? folivex::RegistrationScope::User : folivex::RegistrationScope::Machine;
    return install ? folivex::RegisterServer(scope) : folivex::UnregisterServer(scope);
}

} // extern "C"
