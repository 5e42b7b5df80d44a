#include "tests/windows/support/test_settings.h"

namespace folivex::testing {

ScopedSetting::ScopedSetting(const wchar_t* name, const wchar_t* value) : name_(name) {
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (needed > 0) {
        std::wstring buffer(needed, L'\0');
        const DWORD n = ::GetEnvironmentVariableW(name, buffer.data(), needed);
        buffer.resize(n);
        old_ = buffer;
        hadValue_ = true;
    }
    ::SetEnvironmentVariableW(name, value);
}

ScopedSetting::~ScopedSetting() {
    ::SetEnvironmentVariableW(name_.c_str(), hadValue_ ? old_.c_str() : nullptr);
}

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory = path;
    return directory.substr(0, directory.find_last_of(L"\\/"));
}

std::wstring TestDocument(const wchar_t* name) {
    wchar_t full[MAX_PATH] = {};
    const std::wstring relative = ProgramDirectory() + L"\\..\\..\\data\\" + name;
    ::GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    return full;
}

ScratchDirectory::ScratchDirectory() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::wstring(temp) + L"folivex_test_" + std::to_wstring(::GetCurrentProcessId()) +
            L"_" + std::to_wstring(++counter) + L"\\";
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    // Two levels are enough for what tests leave here.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = path_ + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                WIN32_FIND_DATAW inner;
                HANDLE innerSearch = ::FindFirstFileW((full + L"\\*").c_str(), &inner);
                if (innerSearch != INVALID_HANDLE_VALUE) {
                    do {
                        const std::wstring file = full + L"\\" + inner.cFileName;
                        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                        ::DeleteFileW(file.c_str());
                    } while (::FindNextFileW(innerSearch, &inner));
                    ::FindClose(innerSearch);
                }
                ::RemoveDirectoryW(full.c_str());
            } else {
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path_.c_str());
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

} // namespace folivex::testing
