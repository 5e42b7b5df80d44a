#include "com/server_exports.h"

#include "com/unique_handle.h"

#include <cwchar>

namespace folivex::com {

bool InstallCommandAsksForUser(LPCWSTR commandLine) {
    return commandLine && ::_wcsicmp(commandLine, L"user") == 0;
}

HRESULT WriteRegistryString(HKEY root, const std::wstring& key, const std::wstring& name,
                            const std::wstring& data) {
    HKEY raw = nullptr;
    LONG status =
        ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS) {
        return HRESULT_FROM_WIN32(status);
    }
    UniqueRegistryKey opened(raw);
    status = ::RegSetValueExW(opened.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT DeleteRegistryTree(HKEY root, const std::wstring& key) {
    const LONG status = ::RegDeleteTreeW(root, key.c_str());
    if (status == ERROR_SUCCESS) {
        // RegDeleteTree empties the key; the key itself goes separately.
        ::RegDeleteKeyW(root, key.c_str());
        return S_OK;
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
        return S_OK;
    }
    return HRESULT_FROM_WIN32(status);
}

} // namespace folivex::com
