#include "interface/win32_registration.h"

#include "interface/registration_plan.h"

#include "com/com_ptr.h"
#include "com/module.h"
#include "com/server_exports.h"
#include "com/unique_handle.h"

#include <oleauto.h>
#include <olectl.h>

namespace folivex {
namespace {

constexpr GUID kLibraryId = {
    0x879F905D, 0x66EC, 0x4BC0, {0xA8, 0xDB, 0xDA, 0x2E, 0x91, 0x9B, 0x3F, 0x75}};

#ifdef _WIN64
constexpr bool kWin64 = true;
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr bool kWin64 = false;
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

com::UniqueRegistryKey OpenClassesRoot(RegistrationScope scope) {
    HKEY key = nullptr;
    if (scope == RegistrationScope::Machine) {
        ::RegOpenKeyExW(HKEY_CLASSES_ROOT, nullptr, 0, KEY_ALL_ACCESS, &key);
    } else {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr);
    }
    return com::UniqueRegistryKey(key);
}

HRESULT WriteValue(HKEY root, const RegistryValue& value) {
    return com::WriteRegistryString(root, value.key, value.name, value.data);
}

RegistrationPlan Plan(RegistrationScope scope) {
    return MakeRegistrationPlan(com::Module::Path(), kWin64,
                                scope == RegistrationScope::Machine ? TypeLibraryKeys::ByPlatform
                                                                    : TypeLibraryKeys::InPlan);
}

HRESULT RemovePlan(HKEY root, const RegistrationPlan& plan) {
    HRESULT result = S_OK;
    for (const std::wstring& key : plan.ownedKeys) {
        const HRESULT hr = com::DeleteRegistryTree(root, key);
        if (FAILED(hr)) {
            result = hr;
        }
    }
    return result;
}

} // namespace

HRESULT RegisterServer(RegistrationScope scope) {
    com::UniqueRegistryKey root = OpenClassesRoot(scope);
    if (!root) {
        return SELFREG_E_CLASS;
    }
    const RegistrationPlan plan = Plan(scope);
    for (const RegistryValue& value : plan.values) {
        const HRESULT hr = WriteValue(root.Get(), value);
        if (FAILED(hr)) {
            RemovePlan(root.Get(), plan);
            return SELFREG_E_CLASS;
        }
    }
    // The type library is embedded in this DLL; the per-user plan wrote its keys already.
    com::ComPtr<ITypeLib> library;
    HRESULT hr = ::LoadTypeLibEx(com::Module::Path(), REGKIND_NONE, &library);
    if (SUCCEEDED(hr) && scope == RegistrationScope::Machine) {
        std::wstring directory = com::Module::Path();
        directory.erase(directory.find_last_of(L'\\') + 1);
        hr = ::RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(com::Module::Path()),
                               const_cast<LPOLESTR>(directory.c_str()));
    }
    if (FAILED(hr)) {
        RemovePlan(root.Get(), plan);
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT UnregisterServer(RegistrationScope scope) {
    com::UniqueRegistryKey root = OpenClassesRoot(scope);
    if (!root) {
        return SELFREG_E_CLASS;
    }
    const HRESULT removed = RemovePlan(root.Get(), Plan(scope));
    if (scope == RegistrationScope::Machine) {
        // The neutral locale's key goes when no architecture is left in it, so that the
        // platform's removal finds the library key empty and removes it whole.
        const std::wstring neutral =
            std::wstring(L"TypeLib\\") + registration::kLibraryId + L"\\1.0\\0";
        ::RegDeleteKeyW(root.Get(), neutral.c_str());
        // A library that is not registered (any more) is no reason to keep the class keys.
        ::UnRegisterTypeLib(kLibraryId, 1, 0, 1033, kSysKind);
    }
    return FAILED(removed) ? SELFREG_E_CLASS : S_OK;
}

} // namespace folivex
