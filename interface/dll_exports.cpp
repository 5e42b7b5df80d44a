// The exports of Folivex.dll.

#include "interface/win32_registration.h"

#include "control/win32_viewer.h"

#include "com/server_exports.h"

#include <olectl.h>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    return folivex::com::ServerDllMain(reason, reserved);
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return folivex::com::ServerGetClassObject<folivex::Viewer>(clsid, riid, object);
}

STDAPI DllCanUnloadNow() {
    return folivex::com::ServerCanUnloadNow();
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
    const auto scope = folivex::com::InstallCommandAsksForUser(commandLine)
                           ? folivex::RegistrationScope::User
                           : folivex::RegistrationScope::Machine;
    return install ? folivex::RegisterServer(scope) : folivex::UnregisterServer(scope);
}

} // extern "C"
