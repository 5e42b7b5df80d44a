// The DLL's version resource.

#include "interface/folivex_interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivex {
namespace {

std::wstring RegisteredDll() {
    wchar_t path[MAX_PATH] = {};
    LONG size = sizeof(path);
    ::RegQueryValueW(HKEY_CLASSES_ROOT,
                     L"CLSID\\{71245F77-CE10-451C-A2C9-9C069D214D9E}\\InprocServer32", path, &size);
    return path;
}

std::wstring StringValue(const std::vector<BYTE>& block, const wchar_t* name) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        !value) {
        return {};
    }
    return value;
}

TEST(Version, DllCarriesProductAndFileVersion) {
    const std::wstring dll = RegisteredDll();
    ASSERT_FALSE(dll.empty());
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(dll.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(dll.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 0);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(StringValue(block, L"ProductName"), L"Folivex");
    EXPECT_EQ(StringValue(block, L"FileVersion").rfind(L"1.0.", 0), 0u);
    EXPECT_FALSE(StringValue(block, L"FileDescription").empty());
}

} // namespace
} // namespace folivex
