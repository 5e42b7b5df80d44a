#include "interface/registration_plan.h"

namespace folivex {
namespace {

// OLEMISC_SETCLIENTSITEFIRST | ACTIVATEWHENVISIBLE | INSIDEOUT | CANTLINKINSIDE |
// RECOMPOSEONRESIZE, as the control's IOleObject::GetMiscStatus answers.
constexpr const wchar_t* kMiscStatus = L"131473";

std::wstring DirectoryOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

RegistrationPlan MakeRegistrationPlan(const std::wstring& dllPath, bool win64,
                                      TypeLibraryKeys typeLibraryKeys) {
    using namespace registration;
    RegistrationPlan plan;
    auto add = [&plan](std::wstring key, std::wstring name, std::wstring data) {
        plan.values.push_back({std::move(key), std::move(name), std::move(data)});
    };

    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClassId;
    add(clsidKey, L"", L"Folivex Viewer Control");
    add(clsidKey + L"\\InprocServer32", L"", dllPath);
    add(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    add(clsidKey + L"\\ProgID", L"", kVersionedProgId);
    add(clsidKey + L"\\VersionIndependentProgID", L"", kProgId);
    add(clsidKey + L"\\Control", L"", L"");
    add(clsidKey + L"\\MiscStatus", L"", L"0");
    add(clsidKey + L"\\MiscStatus\\1", L"", kMiscStatus);
    add(clsidKey + L"\\ToolboxBitmap32", L"", dllPath + L", 1");
    add(clsidKey + L"\\TypeLib", L"", kLibraryId);
    add(clsidKey + L"\\Version", L"", L"1.0");
    add(clsidKey + L"\\Implemented Categories\\" + kControlCategory, L"", L"");
    plan.ownedKeys.push_back(clsidKey);

    add(kProgId, L"", L"Folivex Viewer Control");
    add(std::wstring(kProgId) + L"\\CLSID", L"", kClassId);
    add(std::wstring(kProgId) + L"\\CurVer", L"", kVersionedProgId);
    plan.ownedKeys.push_back(kProgId);

    add(kVersionedProgId, L"", L"Folivex Viewer Control");
    add(std::wstring(kVersionedProgId) + L"\\CLSID", L"", kClassId);
    plan.ownedKeys.push_back(kVersionedProgId);

    const std::wstring libKey = std::wstring(L"TypeLib\\") + kLibraryId;
    // The library's own locale (1033) is where the platform registers it; an automation
    // marshaler that looks under locale 0 only (Wine's) finds it there too, so that callers in
    // the multithreaded apartment reach _Viewer and __Viewer early-bound through proxies.
    const std::wstring neutralKey = libKey + L"\\1.0\\0\\" + (win64 ? L"win64" : L"win32");
    if (typeLibraryKeys == TypeLibraryKeys::ByPlatform) {
        add(neutralKey, L"", dllPath);
        // Only this architecture's entry: the other one's may stand beside it.
        plan.ownedKeys.push_back(neutralKey);
    } else {
        add(libKey + L"\\1.0", L"", L"Folivex");
        add(neutralKey, L"", dllPath);
        add(libKey + L"\\1.0\\FLAGS", L"", L"0");
        add(libKey + L"\\1.0\\HELPDIR", L"", DirectoryOf(dllPath));
        plan.ownedKeys.push_back(libKey);
        for (const auto& [iid, name] :
             {std::pair{kInterfaceId, L"_Viewer"}, std::pair{kEventInterfaceId, L"__Viewer"}}) {
            const std::wstring key = std::wstring(L"Interface\\") + iid;
            add(key, L"", name);
            add(key + L"\\ProxyStubClsid", L"", kAutomationProxy);
            add(key + L"\\ProxyStubClsid32", L"", kAutomationProxy);
            add(key + L"\\TypeLib", L"", kLibraryId);
            add(key + L"\\TypeLib", L"Version", L"1.0");
            plan.ownedKeys.push_back(key);
        }
    }
    return plan;
}

} // namespace folivex
