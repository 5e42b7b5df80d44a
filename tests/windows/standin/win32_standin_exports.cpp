// The exports of the stand-in viewer component DLL, and its registration under the viewer's
// ProgID (only ever done in test prefixes).

#include "tests/windows/standin/win32_standin.h"

#include "com/module.h"
#include "com/server_exports.h"

#include <olectl.h>

#include <string>

namespace {

using folivex::standin::kStandInClassId;

constexpr const wchar_t* kProgId = L"AcroPDF.PDF";
constexpr const wchar_t* kVersionedProgId = L"AcroPDF.PDF.1";
constexpr const wchar_t* kDescription = L"Folivex stand-in PDF viewer component";

std::wstring ClassIdText() {
    wchar_t text[40] = {};
    ::StringFromGUID2(kStandInClassId, text, 40);
    return text;
}

bool SetValue(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value) {
    return SUCCEEDED(
        folivex::com::WriteRegistryString(HKEY_CLASSES_ROOT, keyPath, name ? name : L"", value));
}

void DeleteTree(const std::wstring& keyPath) {
    folivex::com::DeleteRegistryTree(HKEY_CLASSES_ROOT, keyPath);
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
    const std::wstring clsid = L"CLSID\\" + ClassIdText();
    const bool ok = SetValue(clsid, nullptr, kDescription) &&
                    SetValue(clsid + L"\\InprocServer32", nullptr, folivex::com::Module::Path()) &&
                    SetValue(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                    SetValue(clsid + L"\\ProgID", nullptr, kVersionedProgId) &&
                    SetValue(clsid + L"\\VersionIndependentProgID", nullptr, kProgId) &&
                    SetValue(clsid + L"\\Control", nullptr, L"") &&
                    SetValue(clsid + L"\\MiscStatus", nullptr, L"0") &&
                    SetValue(clsid + L"\\MiscStatus\\1", nullptr,
                             std::to_wstring(folivex::standin::StandIn::MiscStatus())) &&
                    SetValue(kProgId, nullptr, kDescription) &&
                    SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr, ClassIdText()) &&
                    SetValue(std::wstring(kProgId) + L"\\CurVer", nullptr, kVersionedProgId) &&
                    SetValue(kVersionedProgId, nullptr, kDescription) &&
                    SetValue(std::wstring(kVersionedProgId) + L"\\CLSID", nullptr, ClassIdText());
    return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    DeleteTree(L"CLSID\\" + ClassIdText());
    DeleteTree(kProgId);
    DeleteTree(kVersionedProgId);
    return S_OK;
}

} // extern "C"
