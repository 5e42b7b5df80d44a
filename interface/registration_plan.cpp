#include "interface/registration_plan.h"

#include "control/viewer_misc_status.h"

namespace folivex {
namespace {

std::wstring DirectoryOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

void AddControlClass(RegistrationPlan& plan, const ControlClass& control) {
    auto add = [&plan](std::wstring key, std::wstring name, std::wstring data) {
        plan.values.push_back({std::move(key), std::move(name), std::move(data)});
    };
    const std::wstring clsidKey = L"CLSID\\" + control.classId;
    add(clsidKey, L"", control.description);
    add(clsidKey + L"\\InprocServer32", L"", control.dllPath);
    add(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    add(clsidKey + L"\\ProgID", L"", control.versionedProgId);
    add(clsidKey + L"\\VersionIndependentProgID", L"", control.progId);
    add(clsidKey + L"\\Control", L"", L"");
    add(clsidKey + L"\\MiscStatus", L"", L"0");
    add(clsidKey + L"\\MiscStatus\\1", L"", std::to_wstring(control.miscStatus));
    for (const RegistryValue& value : control.classValues) {
        add(clsidKey + L"\\" + value.key, value.name, value.data);
    }
    plan.ownedKeys.push_back(clsidKey);

    add(control.progId, L"", control.description);
    add(control.progId + L"\\CLSID", L"", control.classId);
    add(control.progId + L"\\CurVer", L"", control.versionedProgId);
    plan.ownedKeys.push_back(control.progId);

    add(control.versionedProgId, L"", control.description);
    add(control.versionedProgId + L"\\CLSID", L"", control.classId);
    plan.ownedKeys.push_back(control.versionedProgId);
}

RegistrationPlan MakeRegistrationPlan(const std::wstring& dllPath, bool win64,
                                      TypeLibraryKeys typeLibraryKeys) {
    using namespace registration;
    RegistrationPlan plan;
    auto add = [&plan](std::wstring key, std::wstring name, std::wstring data) {
        plan.values.push_back({std::move(key), std::move(name), std::move(data)});
    };

    AddControlClass(plan,
                    {kClassId,
                     L"Folivex Viewer Control",
                     kProgId,
                     kVersionedProgId,
                     dllPath,
                     kViewerMiscStatus,
                     {{L"ToolboxBitmap32", L"", dllPath + L", 1"},
                      {L"TypeLib", L"", kLibraryId},
                      {L"Version", L"", L"1.0"},
                      {std::wstring(L"Implemented Categories\\") + kControlCategory, L"", L""}}});

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
