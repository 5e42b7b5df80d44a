// Registration round trips: machine-wide through regsvr32, and per user through DllInstall.

#include "tests/windows/support/test_window.h"

#include "interface/folivex_interface.h"
#include "interface/registration_plan.h"

#include "com/com_ptr.h"
#include "com/unique_handle.h"

#include <gtest/gtest.h>

#include <string>

namespace folivex {
namespace {

const wchar_t* kClsidKey = L"CLSID\\{71245F77-CE10-451C-A2C9-9C069D214D9E}";

std::wstring RegisteredDllPath() {
    wchar_t path[MAX_PATH] = {};
    LONG size = sizeof(path);
    std::wstring key = std::wstring(kClsidKey) + L"\\InprocServer32";
    if (::RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), path, &size) != ERROR_SUCCESS) {
        return {};
    }
    return path;
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

HRESULT CreateViewer() {
    com::ComPtr<IUnknown> viewer;
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(L"Folivex.Viewer", &clsid);
    if (FAILED(hr)) {
        return hr;
    }
    return ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer));
}

// Wine does not merge HKEY_CURRENT_USER\Software\Classes into HKEY_CLASSES_ROOT (its bug
// 14771), so a per-user registration is written correctly there but COM cannot find it.
bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

DWORD RunRegsvr32(const std::wstring& arguments) {
    std::wstring command = L"regsvr32.exe /s " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return ~0u;
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = ~0u;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    return ::StringFromGUID2(guid, text, 40) > 0 ? text : L"";
}

std::wstring ReadString(HKEY root, const std::wstring& key) {
    wchar_t data[64] = {};
    LONG size = sizeof(data);
    return ::RegQueryValueW(root, key.c_str(), data, &size) == ERROR_SUCCESS ? data : L"";
}

// The registration's identifiers are written as text; they must be the ones the type library and
// the generated header carry, and the registered MiscStatus what the control itself answers.
TEST(Registration, WritesTheControlsOwnIdentifiersAndStatus) {
    testing::ComApartment apartment;
    EXPECT_EQ(GuidText(CLSID_Viewer), registration::kClassId);
    EXPECT_EQ(GuidText(LIBID_Folivex), registration::kLibraryId);
    EXPECT_EQ(GuidText(IID__Viewer), registration::kInterfaceId);
    EXPECT_EQ(GuidText(DIID___Viewer), registration::kEventInterfaceId);

    com::ComPtr<IOleObject> viewer;
    ASSERT_EQ(
        ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
        S_OK);
    DWORD answered = 0;
    ASSERT_EQ(viewer->GetMiscStatus(DVASPECT_CONTENT, &answered), S_OK);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, std::wstring(kClsidKey) + L"\\MiscStatus\\1"),
              std::to_wstring(answered));
    DWORD registered = 0;
    ASSERT_EQ(::OleRegGetMiscStatus(CLSID_Viewer, DVASPECT_CONTENT, &registered), S_OK);
    EXPECT_EQ(registered, answered);
}

TEST(Registration, Regsvr32RoundTrip) {
    testing::ComApartment apartment;
    const std::wstring dll = RegisteredDllPath();
    ASSERT_FALSE(dll.empty());
    ASSERT_EQ(CreateViewer(), S_OK);

    ASSERT_EQ(RunRegsvr32(L"/u \"" + dll + L"\""), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Folivex.Viewer"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Folivex.Viewer.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}"));
    EXPECT_NE(CreateViewer(), S_OK);

    ASSERT_EQ(RunRegsvr32(L"\"" + dll + L"\""), 0u);
    EXPECT_EQ(CreateViewer(), S_OK);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kClsidKey) + L"\\Control"));
    com::ComPtr<ITypeLib> library;
    EXPECT_EQ(::LoadRegTypeLib(LIBID_Folivex, 1, 0, 1033, &library), S_OK);
}

TEST(Registration, PerUserInstallWritesNothingMachineWide) {
    testing::ComApartment apartment;
    const std::wstring dll = RegisteredDllPath();
    ASSERT_FALSE(dll.empty());
    ASSERT_EQ(RunRegsvr32(L"/u \"" + dll + L"\""), 0u);
    ASSERT_NE(CreateViewer(), S_OK);

    ASSERT_EQ(RunRegsvr32(L"/n /i:user \"" + dll + L"\""), 0u);
    const std::wstring machine = std::wstring(L"Software\\Classes\\") + kClsidKey;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Folivex.Viewer"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                           L"Software\\Classes\\TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, machine));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER,
                          L"Software\\Classes\\TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Folivex.Viewer\\CLSID"));
    if (!RunningUnderWine()) {
        EXPECT_EQ(CreateViewer(), S_OK);
    }

    ASSERT_EQ(RunRegsvr32(L"/u /n /i:user \"" + dll + L"\""), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, machine));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Folivex.Viewer"));
    EXPECT_NE(CreateViewer(), S_OK);
}

} // namespace
} // namespace folivex
