// The exports of the stand-in viewer component DLL, and its registration under the viewer's
// ProgID (only ever done in test prefixes).

#include "tests/windows/standin/win32_standin.h"

#include "com/class_factory.h"
#include "com/module.h"
#include "com/unique_handle.h"

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
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    folivex::com::UniqueRegistryKey key(raw);
    return ::RegSetValueExW(
               key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void DeleteTree(const std::wstring& keyPath) {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, keyPath.c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, keyPath.c_str());
}

} // namespace

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
    if (!IsEqualCLSID(clsid, kStandInClassId)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return folivex::com::GetClassObject<folivex::standin::StandIn>(riid, object);
}

STDAPI DllCanUnloadNow() {
    return folivex::com::Module::CanUnload() ? S_OK : S_FALSE;
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
