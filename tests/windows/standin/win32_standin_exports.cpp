// The exports of the stand-in viewer component DLL, and its registration under the viewer's
// ProgID (only ever done in test prefixes).

#include "tests/windows/standin/win32_standin.h"

#include "interface/registration_plan.h"

#include "com/module.h"
#include "com/server_exports.h"

#include <olectl.h>

#include <string>

namespace {

using folivex::standin::kStandInClassId;

std::wstring ClassIdText() {
    wchar_t text[40] = {};
    ::StringFromGUID2(kStandInClassId, text, 40);
    return text;
}

// Registered under the viewer's ProgID, as the real component is.
folivex::RegistrationPlan StandInRegistration() {
    folivex::RegistrationPlan plan;
    folivex::AddControlClass(plan, {ClassIdText(),
                                    L"Folivex stand-in PDF viewer component",
                                    L"AcroPDF.PDF",
                                    L"AcroPDF.PDF.1",
                                    folivex::com::Module::Path(),
                                    folivex::standin::StandIn::MiscStatus(),
                                    {}});
    return plan;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    return folivex::com::ServerDllMain(reason, reserved);
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return folivex::com::ServerGetClassObject<folivex::standin::StandIn>(clsid, riid, object);
}

STDAPI DllCanUnloadNow() {
    return folivex::com::ServerCanUnloadNow();
}

STDAPI DllRegisterServer() {
    for (const folivex::RegistryValue& value : StandInRegistration().values) {
        if (FAILED(folivex::com::WriteRegistryString(HKEY_CLASSES_ROOT, value.key, value.name,
                                                     value.data))) {
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

STDAPI DllUnregisterServer() {
    for (const std::wstring& key : StandInRegistration().ownedKeys) {
        folivex::com::DeleteRegistryTree(HKEY_CLASSES_ROOT, key);
    }
    return S_OK;
}

} // extern "C"
