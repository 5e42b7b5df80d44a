#pragma once
// The file system as the control uses it. The Win32 side implements it with the wide-character
// API; the tests use an in-memory model (common/testing/memory_file_system.h).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> makes these names macros for its A and W functions, and the members below carry
// the same names: a Windows file that sees both calls the API by its W names.
#undef CreateDirectory
#undef DeleteFile
#undef CopyFile

namespace folivex {

enum class CreateDirectoryResult {
    Created,
    // The path/file access error: the name exists already (as a directory or a file) or access
    // was denied. Callers that create a directory "if missing" treat it as usable.
    PathFileAccess,
    // Anything else: parent missing, invalid name, device not ready.
    OtherError,
};

struct DirectoryEntry {
    std::wstring name;
    bool directory = false;
    bool hidden = false;
    bool system = false;
};

// A file being written from its start; Close() reports whether every byte reached the disk.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    virtual bool Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Creates one directory level.
    virtual CreateDirectoryResult CreateDirectory(const std::wstring& path) = 0;

    // The entries matching a path that may hold the wildcards * and ?; a path ending in a
    // backslash lists the contents of that directory ("." included). Nothing when the listing
    // itself fails (invalid name, device not ready); an empty list when nothing matches.
    virtual std::optional<std::vector<DirectoryEntry>> List(const std::wstring& pattern) = 0;

    virtual bool DeleteFile(const std::wstring& path) = 0;

    // The bytes of the file's first line (up to CR or LF, without them); nothing when the file
    // cannot be opened.
    virtual std::optional<std::string> ReadFirstLine(const std::wstring& path) = 0;

    // Copies a file, replacing an existing destination.
    virtual bool CopyFile(const std::wstring& from, const std::wstring& to) = 0;

    // Creates (or truncates) a file for writing; nothing when it cannot be created.
    virtual std::unique_ptr<FileWriter> CreateForWriting(const std::wstring& path) = 0;

    // Moves a file over another, replacing it in one step.
    virtual bool MoveReplacing(const std::wstring& from, const std::wstring& to) = 0;
};

} // namespace folivex
