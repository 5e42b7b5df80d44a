// The Reader version a control reads at creation from HKLM\SOFTWARE\Adobe\Acrobat Reader. Each
// test writes the key it needs into the run's own prefix and removes it again.

#include "tests/windows/core/core_helpers.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_host.h"

#include "com/bstr.h"
#include "com/com_ptr.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace folivex {
namespace {

using com::ComPtr;

constexpr const wchar_t* kAdobeKey = L"SOFTWARE\\Adobe";
constexpr const wchar_t* kReaderKey = L"SOFTWARE\\Adobe\\Acrobat Reader";

void DeleteReaderKey(REGSAM view) {
    HKEY adobe = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAdobeKey, 0, KEY_ALL_ACCESS | view, &adobe) ==
        ERROR_SUCCESS) {
        ::RegDeleteTreeW(adobe, L"Acrobat Reader");
        ::RegCloseKey(adobe);
    }
}

bool ReaderKeyExists(REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kReaderKey, 0, KEY_READ | view, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

// Creates the Reader key (in `view`) and the named subkeys below it, in the order given.
void WriteReaderKey(std::initializer_list<const wchar_t*> subKeys, REGSAM view = 0) {
    HKEY reader = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kReaderKey, 0, nullptr, 0,
                                KEY_ALL_ACCESS | view, nullptr, &reader, nullptr),
              ERROR_SUCCESS);
    for (const wchar_t* name : subKeys) {
        HKEY sub = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(reader, name, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                    &sub, nullptr),
                  ERROR_SUCCESS)
            << "subkey " << ::testing::PrintToString(std::wstring(name));
        ::RegCloseKey(sub);
    }
    ::RegCloseKey(reader);
}

class ReaderVersion : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_32KEY), REGSAM(KEY_WOW64_64KEY)}) {
            DeleteReaderKey(view);
        }
        ASSERT_FALSE(ReaderKeyExists(0));
    }

    // What a control created now detects.
    static short Detected() {
        ComPtr<_Viewer> viewer;
        EXPECT_EQ(
            ::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&viewer)),
            S_OK);
        short version = -999;
        if (viewer) {
            EXPECT_EQ(viewer->get_ReaderVersion(&version), S_OK);
        }
        return version;
    }

    testing::ComApartment apartment_;
};

TEST_F(ReaderVersion, FreshHostedControlHasTheDefaultsAndTheDetectedVersion) {
    WriteReaderKey({L"6.0", L"7.0"});
    // Creation makes the temporary directory; take it away first where that is possible.
    ::RemoveDirectoryW(L"C:\\TEMP");
    testing::ViewerHost host;
    ASSERT_EQ(host.CreationResult(), S_OK);
    _Viewer* viewer = host.Viewer();
    EXPECT_EQ(testing::TempPathOf(viewer), L"C:\\TEMP\\");
    const DWORD attributes = ::GetFileAttributesW(L"C:\\TEMP");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    com::Bstr path;
    ASSERT_EQ(viewer->get_Path(path.Out()), S_OK);
    EXPECT_EQ(path.ToString(), L"");
    short version = 0;
    ASSERT_EQ(viewer->get_ReaderVersion(&version), S_OK);
    EXPECT_EQ(version, 7);
}

TEST_F(ReaderVersion, NoKeyGivesZero) {
    EXPECT_EQ(Detected(), 0);
}

TEST_F(ReaderVersion, KeyWithoutNumberedSubkeysGivesOne) {
    WriteReaderKey({});
    EXPECT_EQ(Detected(), 1);
    WriteReaderKey({L"Installer", L"Language", L"AdobeViewer"});
    EXPECT_EQ(Detected(), 1);
    // Names that are numbers, but none above 1.
    WriteReaderKey({L"0", L"1", L"-5", L"1.4"});
    EXPECT_EQ(Detected(), 1);
}

TEST_F(ReaderVersion, HighestVersionSubkeyWins) {
    WriteReaderKey({L"5.0", L"6.0", L"7.0"});
    EXPECT_EQ(Detected(), 7);
}

TEST_F(ReaderVersion, OrderOfTheSubkeysDoesNotMatter) {
    WriteReaderKey({L"9.0", L"7.0", L"8.0"});
    EXPECT_EQ(Detected(), 9);
    Clean();
    WriteReaderKey({L"8.0", L"9.0", L"7.0"});
    EXPECT_EQ(Detected(), 9);
    // The registry lists names alphabetically: "10.0" comes before "9.0".
    Clean();
    WriteReaderKey({L"9.0", L"10.0", L"8.0"});
    EXPECT_EQ(Detected(), 10);
}

TEST_F(ReaderVersion, OtherSubkeysAmongTheVersionsDoNotStopTheScan) {
    WriteReaderKey({L"AdobeViewer", L"6.0", L"Installer", L"8.0", L"Zzz"});
    EXPECT_EQ(Detected(), 8);
}

TEST_F(ReaderVersion, SubkeyAbove32767IsSkipped) {
    WriteReaderKey({L"40000", L"8.0", L"99999.0"});
    EXPECT_EQ(Detected(), 8);
    Clean();
    WriteReaderKey({L"32767", L"32768"});
    EXPECT_EQ(Detected(), 32767);
}

TEST_F(ReaderVersion, DetectedOnceAtCreation) {
    WriteReaderKey({L"7.0"});
    ComPtr<_Viewer> early;
    ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&early)),
              S_OK);
    WriteReaderKey({L"9.0"});
    short version = 0;
    ASSERT_EQ(early->get_ReaderVersion(&version), S_OK);
    EXPECT_EQ(version, 7);
    EXPECT_EQ(Detected(), 9);
    // A host's put is kept, whatever the registry holds.
    ASSERT_EQ(early->put_ReaderVersion(8), S_OK);
    ASSERT_EQ(early->get_ReaderVersion(&version), S_OK);
    EXPECT_EQ(version, 8);
}

// A 32-bit Reader on 64-bit Windows records itself only in the 32-bit view of the registry.
TEST_F(ReaderVersion, KeyOnlyInThe32BitViewIsFound) {
    WriteReaderKey({L"6.0", L"9.0"}, KEY_WOW64_32KEY);
#ifdef _WIN64
    ASSERT_FALSE(ReaderKeyExists(KEY_WOW64_64KEY)) << "the prefix does not separate the views";
#endif
    EXPECT_EQ(Detected(), 9);
}

TEST_F(ReaderVersion, KeyOnlyInThe64BitViewIsFound) {
    WriteReaderKey({L"11.0"}, KEY_WOW64_64KEY);
    EXPECT_EQ(Detected(), 11);
}

TEST_F(ReaderVersion, HighestOfBothViewsWins) {
    WriteReaderKey({L"7.0"}, KEY_WOW64_64KEY);
    WriteReaderKey({L"10.0"}, KEY_WOW64_32KEY);
    EXPECT_EQ(Detected(), 10);
}

} // namespace
} // namespace folivex
