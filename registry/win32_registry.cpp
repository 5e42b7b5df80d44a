#include "registry/win32_registry.h"

#include <windows.h>

#include <string>

namespace folivex {
namespace {

HKEY ToHandle(RegistryHandle key) {
    return reinterpret_cast<HKEY>(key);
}

// The predefined roots are 32-bit values that the platform sign-extends to a handle.
HKEY RootHandle(RegistryRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(root)));
}

REGSAM ViewFlag(RegistryView view) {
    switch (view) {
    case RegistryView::Registry32:
        return KEY_WOW64_32KEY;
    case RegistryView::Registry64:
        return KEY_WOW64_64KEY;
    case RegistryView::Native:
        break;
    }
    return 0;
}

// The path in the ANSI code page, as the "A" form of the call expects it.
bool ToAnsi(const std::wstring& text, std::string& ansi) {
    ansi.clear();
    if (text.empty()) {
        return true;
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return false;
    }
    ansi.resize(static_cast<std::size_t>(size));
    return WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0],
                               size, nullptr, nullptr) == size;
}

} // namespace

RegistryStatus Win32Registry::OpenKey(RegistryRoot root, const std::wstring& subKey,
                                      std::uint32_t options, std::uint32_t access,
                                      RegistryView view, RegistryHandle& key) {
    std::string path;
    if (subKey.find(L'\0') != std::wstring::npos || !ToAnsi(subKey, path)) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(RootHandle(root), path.c_str(), options,
                                      static_cast<REGSAM>(access) | ViewFlag(view), &opened);
    if (status == ERROR_SUCCESS) {
        key = reinterpret_cast<RegistryHandle>(opened);
    }
    return static_cast<RegistryStatus>(status);
}

RegistryStatus Win32Registry::QueryInfoKey(RegistryHandle key, std::uint32_t& subKeys,
                                           std::uint32_t& maxSubKeyLength) {
    DWORD count = 0;
    DWORD longest = 0;
    DWORD maxClass = 0;
    DWORD values = 0;
    DWORD maxValueName = 0;
    DWORD maxValueData = 0;
    DWORD securityDescriptor = 0;
    FILETIME lastWrite = {};
    const LONG status =
        RegQueryInfoKeyA(ToHandle(key), nullptr, nullptr, nullptr, &count, &longest, &maxClass,
                         &values, &maxValueName, &maxValueData, &securityDescriptor, &lastWrite);
    if (status == ERROR_SUCCESS) {
        subKeys = count;
        maxSubKeyLength = longest;
    }
    return static_cast<RegistryStatus>(status);
}

RegistryStatus Win32Registry::EnumKey(RegistryHandle key, std::uint32_t index,
                                      std::span<char> buffer, std::uint32_t& length) {
    if (length > buffer.size()) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD size = length;
    FILETIME lastWrite = {};
    const LONG status = RegEnumKeyExA(ToHandle(key), index, buffer.data(), &size, nullptr, nullptr,
                                      nullptr, &lastWrite);
    length = size;
    return static_cast<RegistryStatus>(status);
}

RegistryStatus Win32Registry::CloseKey(RegistryHandle key) {
    return static_cast<RegistryStatus>(RegCloseKey(ToHandle(key)));
}

} // namespace folivex
