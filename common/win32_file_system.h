#pragma once
// The file system on the wide-character Win32 API.

#include "common/file_system.h"

namespace folivex {

class Win32FileSystem : public FileSystem {
public:
    CreateDirectoryResult CreateDirectory(const std::wstring& path) override;
    std::optional<std::vector<DirectoryEntry>> List(const std::wstring& pattern) override;
    bool DeleteFile(const std::wstring& path) override;
    std::optional<std::string> ReadFirstLine(const std::wstring& path) override;
    bool CopyFile(const std::wstring& from, const std::wstring& to) override;
    std::unique_ptr<FileWriter> CreateForWriting(const std::wstring& path) override;
    bool MoveReplacing(const std::wstring& from, const std::wstring& to) override;
};

} // namespace folivex
