#include "interface/registration_plan.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace folivex {
namespace {

const RegistryValue* FindValue(const RegistrationPlan& plan, const std::wstring& key,
                               const std::wstring& name = L"") {
    for (const RegistryValue& value : plan.values) {
        if (value.key == key && value.name == name) {
            return &value;
        }
    }
    return nullptr;
}

TEST(RegistrationPlan, ClassKeysAContainerAndAnObjectBrowserNeed) {
    const std::wstring dll = L"C:\\Program Files\\Folivex\\Folivex.dll";
    const RegistrationPlan plan = MakeRegistrationPlan(dll, false, TypeLibraryKeys::ByPlatform);
    const std::wstring clsid = L"CLSID\\{71245F77-CE10-451C-A2C9-9C069D214D9E}";
    ASSERT_TRUE(FindValue(plan, clsid + L"\\InprocServer32"));
    EXPECT_EQ(FindValue(plan, clsid + L"\\InprocServer32")->data, dll);
    EXPECT_EQ(FindValue(plan, clsid + L"\\InprocServer32", L"ThreadingModel")->data, L"Apartment");
    EXPECT_EQ(FindValue(plan, clsid + L"\\ProgID")->data, L"Folivex.Viewer.1");
    EXPECT_EQ(FindValue(plan, clsid + L"\\VersionIndependentProgID")->data, L"Folivex.Viewer");
    EXPECT_TRUE(FindValue(plan, clsid + L"\\Control"));
    EXPECT_EQ(FindValue(plan, clsid + L"\\MiscStatus\\1")->data, L"131473");
    EXPECT_EQ(FindValue(plan, clsid + L"\\ToolboxBitmap32")->data, dll + L", 1");
    EXPECT_EQ(FindValue(plan, clsid + L"\\TypeLib")->data,
              L"{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}");
    EXPECT_EQ(FindValue(plan, clsid + L"\\Version")->data, L"1.0");
    EXPECT_TRUE(FindValue(plan, clsid + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-"
                                        L"080036F12502}"));
    EXPECT_EQ(FindValue(plan, L"Folivex.Viewer\\CurVer")->data, L"Folivex.Viewer.1");
    EXPECT_EQ(FindValue(plan, L"Folivex.Viewer.1\\CLSID")->data,
              L"{71245F77-CE10-451C-A2C9-9C069D214D9E}");
    // Never marked safe for scripting or initialisation.
    for (const RegistryValue& value : plan.values) {
        EXPECT_EQ(value.key.find(L"7DD95801"), std::wstring::npos) << "safe for scripting";
        EXPECT_EQ(value.key.find(L"7DD95802"), std::wstring::npos) << "safe for init";
    }
    EXPECT_FALSE(FindValue(plan, L"TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\\1.0"));
}

// The platform registers the library under its locale, 409; a marshaler that looks under
// locale 0 only must find it too, and unregistering one architecture leaves the other's.
TEST(RegistrationPlan, MachinePlanAddsTheNeutralLocaleEntryOfItsArchitectureOnly) {
    const std::wstring lib = L"TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\\1.0\\0\\";
    for (const bool win64 : {false, true}) {
        const std::wstring dll = win64 ? L"C:\\x64\\Folivex.dll" : L"C:\\x86\\Folivex.dll";
        const RegistrationPlan plan = MakeRegistrationPlan(dll, win64, TypeLibraryKeys::ByPlatform);
        const std::wstring mine = lib + (win64 ? L"win64" : L"win32");
        const std::wstring other = lib + (win64 ? L"win32" : L"win64");
        ASSERT_TRUE(FindValue(plan, mine));
        EXPECT_EQ(FindValue(plan, mine)->data, dll);
        EXPECT_FALSE(FindValue(plan, other));
        for (const std::wstring& owned : plan.ownedKeys) {
            EXPECT_TRUE(owned.rfind(L"TypeLib", 0) != 0 || owned == mine)
                << "unregistration would remove more of the library than this entry";
        }
    }
}

TEST(RegistrationPlan, PerUserPlanCarriesTheTypeLibraryKeys) {
    const std::wstring dll = L"C:\\Users\\me\\Folivex.dll";
    const RegistrationPlan plan = MakeRegistrationPlan(dll, true, TypeLibraryKeys::InPlan);
    const std::wstring lib = L"TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}\\1.0";
    EXPECT_EQ(FindValue(plan, lib + L"\\0\\win64")->data, dll);
    EXPECT_FALSE(FindValue(plan, lib + L"\\0\\win32"));
    EXPECT_EQ(FindValue(plan, lib + L"\\HELPDIR")->data, L"C:\\Users\\me");
    EXPECT_EQ(FindValue(plan, L"Interface\\{98181F0D-268F-44CF-86EA-33DA434E502E}\\"
                              L"ProxyStubClsid32")
                  ->data,
              L"{00020424-0000-0000-C000-000000000046}");
}

TEST(RegistrationPlan, EveryValueLiesBelowAnOwnedKey) {
    for (TypeLibraryKeys mode : {TypeLibraryKeys::ByPlatform, TypeLibraryKeys::InPlan}) {
        const RegistrationPlan plan = MakeRegistrationPlan(L"C:\\x\\Folivex.dll", false, mode);
        for (const RegistryValue& value : plan.values) {
            const bool owned =
                std::any_of(plan.ownedKeys.begin(), plan.ownedKeys.end(), [&](const auto& key) {
                    return value.key == key || value.key.rfind(key + L"\\", 0) == 0;
                });
            EXPECT_TRUE(owned) << std::string(value.key.begin(), value.key.end());
        }
    }
}

} // namespace
} // namespace folivex
