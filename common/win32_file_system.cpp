#include <windows.h>

#include "common/win32_file_system.h"

namespace folivex {
namespace {

// A path with a NUL in it would be cut short by the API and name some other file.
bool Usable(const std::wstring& path) {
    return !path.empty() && path.find(L'\0') == std::wstring::npos;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        if (!Valid()) {
            return true;
        }
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            FindClose(handle_);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

DirectoryEntry ToEntry(const WIN32_FIND_DATAW& data) {
    DirectoryEntry entry;
    entry.name = data.cFileName;
    entry.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    return entry;
}

class Win32FileWriter : public FileWriter {
public:
    explicit Win32FileWriter(HANDLE handle) : file_(handle) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (size > 0 && ok_) {
            const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.Get(), data, chunk, &written, nullptr) || written == 0) {
                ok_ = false;
                break;
            }
            data += written;
            size -= written;
        }
        return ok_;
    }

    bool Close() override {
        const bool closed = file_.Close();
        return ok_ && closed;
    }

private:
    FileHandle file_;
    bool ok_ = true;
};

} // namespace

CreateDirectoryResult Win32FileSystem::CreateDirectory(const std::wstring& path) {
    if (!Usable(path)) {
        return CreateDirectoryResult::OtherError;
    }
    if (CreateDirectoryW(path.c_str(), nullptr)) {
        return CreateDirectoryResult::Created;
    }
    switch (GetLastError()) {
    case ERROR_ALREADY_EXISTS: // a directory or a file of that name
    case ERROR_FILE_EXISTS:
    case ERROR_ACCESS_DENIED:
        return CreateDirectoryResult::PathFileAccess;
    default:
        return CreateDirectoryResult::OtherError;
    }
}

std::optional<std::vector<DirectoryEntry>> Win32FileSystem::List(const std::wstring& pattern) {
    if (!Usable(pattern)) {
        return std::nullopt;
    }
    std::wstring search = pattern;
    if (search.back() == L'\\' || search.back() == L'/') {
        search += L'*';
    }
    WIN32_FIND_DATAW data = {};
    const FindHandle find(FindFirstFileW(search.c_str(), &data));
    std::vector<DirectoryEntry> entries;
    if (!find.Valid()) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NO_MORE_FILES:
            return entries;
        default:
            return std::nullopt;
        }
    }
    do {
        entries.push_back(ToEntry(data));
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

bool Win32FileSystem::DeleteFile(const std::wstring& path) {
    return Usable(path) && DeleteFileW(path.c_str()) != FALSE;
}

std::optional<std::string> Win32FileSystem::ReadFirstLine(const std::wstring& path) {
    if (!Usable(path)) {
        return std::nullopt;
    }
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return std::nullopt;
    }
    // Callers look at the start of the line only; a file without line breaks (a binary one)
    // must not be read whole into memory.
    constexpr std::size_t kLongestLine = 1 << 20;
    std::string line;
    char buffer[4096];
    while (line.size() < kLongestLine) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) || read == 0) {
            break;
        }
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] == '\r' || buffer[i] == '\n') {
                line.append(buffer, i);
                return line;
            }
        }
        line.append(buffer, read);
    }
    if (line.size() > kLongestLine) {
        line.resize(kLongestLine);
    }
    return line;
}

bool Win32FileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
    return Usable(from) && Usable(to) && CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::unique_ptr<FileWriter> Win32FileSystem::CreateForWriting(const std::wstring& path) {
    if (!Usable(path)) {
        return nullptr;
    }
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32FileWriter>(handle);
}

bool Win32FileSystem::MoveReplacing(const std::wstring& from, const std::wstring& to) {
    return Usable(from) && Usable(to) &&
           MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace folivex
