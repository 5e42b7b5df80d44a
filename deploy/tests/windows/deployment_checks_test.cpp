// A host's view of a deployed Folivex: it is created by ProgID and by CLSID, its type library
// and misc status are found, it is hosted in place, opens a local document and downloads one
// with its events. The environment says what the deployment must look like:
//   FOLIVEX_DEPLOYED_DLL      the Folivex.dll that must be the one loaded
//   FOLIVEX_DEPLOYED_UNREGISTERED=1   nothing of the control may be in the registry
//   FOLIVEX_TEST_DOCUMENT     a local document of three pages
//   FOLIVEX_TEST_HTTP_URL     the loopback server, serving three_pages.pdf

#include "tests/windows/support/test_settings.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/unique_handle.h"

#include <gtest/gtest.h>

#include <oleauto.h>

namespace folivex::testing {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::wstring LoadedControlPath() {
    HMODULE module = ::GetModuleHandleW(L"Folivex.dll");
    wchar_t path[MAX_PATH] = {};
    if (module) {
        ::GetModuleFileNameW(module, path, MAX_PATH);
    }
    return path;
}

bool ClassesKeyExists(const std::wstring& key) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return false;
    }
    com::UniqueRegistryKey owned(raw);
    return true;
}

class Deployed : public ::testing::Test {
protected:
    void SetUp() override {
        layout_ = std::make_unique<ScopedSetting>(L"FOLIVEX_STANDIN_LAYOUT", L"old");
    }
    ComApartment apartment_;
    std::unique_ptr<ScopedSetting> layout_;
};

TEST_F(Deployed, IsTheExpectedCopyAndRegisteredOnlyAsDeployed) {
    CLSID byProgId = {};
    ASSERT_EQ(::CLSIDFromProgID(L"Folivex.Viewer", &byProgId), S_OK);
    // Under an activation context the ProgID may give an alias of the class: create from each.
    for (const CLSID& clsid : {byProgId, CLSID_Viewer}) {
        com::ComPtr<IOleObject> object;
        ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)),
                  S_OK);
        com::ComPtr<_Viewer> viewer;
        EXPECT_EQ(object->QueryInterface(IID_PPV_ARGS(&viewer)), S_OK);
    }
    const std::wstring expected = Environment(L"FOLIVEX_DEPLOYED_DLL");
    ASSERT_FALSE(expected.empty()) << "FOLIVEX_DEPLOYED_DLL is not set";
    EXPECT_EQ(::CompareStringOrdinal(LoadedControlPath().c_str(), -1, FullPath(expected).c_str(),
                                     -1, TRUE),
              CSTR_EQUAL)
        << "loaded: " << ::testing::PrintToString(LoadedControlPath());

    const bool unregistered = Environment(L"FOLIVEX_DEPLOYED_UNREGISTERED") == L"1";
    for (const wchar_t* key : {L"CLSID\\{71245F77-CE10-451C-A2C9-9C069D214D9E}", L"Folivex.Viewer",
                               L"TypeLib\\{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}"}) {
        EXPECT_EQ(ClassesKeyExists(key), !unregistered) << ::testing::PrintToString(key);
    }
}

TEST_F(Deployed, TypeLibraryAndMiscStatusAreFound) {
    com::ComPtr<ITypeLib> library;
    ASSERT_EQ(::LoadRegTypeLib(LIBID_Folivex, 1, 0, 0, &library), S_OK);
    com::ComPtr<ITypeInfo> info;
    EXPECT_EQ(library->GetTypeInfoOfGuid(IID__Viewer, &info), S_OK);
    DWORD status = 0;
    ASSERT_EQ(::OleRegGetMiscStatus(CLSID_Viewer, DVASPECT_CONTENT, &status), S_OK);
    EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
    EXPECT_TRUE(status & OLEMISC_ACTIVATEWHENVISIBLE);
    EXPECT_TRUE(status & OLEMISC_INSIDEOUT);
}

TEST_F(Deployed, IsHostedInPlaceAndOpensALocalDocument) {
    const std::wstring document = Environment(L"FOLIVEX_TEST_DOCUMENT");
    ASSERT_TRUE(PathExists(document)) << "FOLIVEX_TEST_DOCUMENT";
    ViewerHost host;
    ASSERT_EQ(host.CreationResult(), S_OK);
    ASSERT_TRUE(host.Viewer());
    EXPECT_TRUE(::IsWindow(host.ControlWindow()));
    host.Viewer()->put_ReaderVersion(7);
    EXPECT_TRUE(OpenDocument(host.Viewer(), document));
    LONG total = 0;
    EXPECT_EQ(host.Viewer()->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 3);
    EXPECT_TRUE(host.Events().empty());
}

TEST_F(Deployed, DownloadsADocumentWithItsEvents) {
    const std::wstring base = Environment(L"FOLIVEX_TEST_HTTP_URL");
    ASSERT_FALSE(base.empty()) << "FOLIVEX_TEST_HTTP_URL is not set";
    ScratchDirectory temp;
    ViewerHost host;
    ASSERT_EQ(host.CreationResult(), S_OK);
    com::Bstr tempPath(temp.Path());
    host.Viewer()->put_TempPath(tempPath.Get());
    host.Viewer()->put_ReaderVersion(7);
    ASSERT_TRUE(OpenDocument(host.Viewer(), base + L"three_pages.pdf"));

    const std::vector<RecordedEvent>& events = host.Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().id, kDownloadStarted);
    EXPECT_EQ(events.back().id, kDownloadComplete);
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
        EXPECT_EQ(events[i].id, kDownloadProgress) << i;
    }
    ASSERT_EQ(events.back().numbers.size(), 1u);
    EXPECT_GT(events.back().numbers[0], 0);
    EXPECT_TRUE(PathExists(events.back().saveFile));
    LONG total = 0;
    EXPECT_EQ(host.Viewer()->get_PageTotal(&total), S_OK);
    EXPECT_EQ(total, 3);
}

} // namespace
} // namespace folivex::testing
