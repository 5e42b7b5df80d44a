#pragma once
// An in-memory file system for the native tests: paths are Windows-style, compared without
// regard to ASCII case, with a drive or UNC root.

#include "common/file_system.h"

#include <map>
#include <set>

namespace folivex::testing {

class MemoryFileSystem : public FileSystem {
public:
    struct File {
        bool hidden = false;
        bool system = false;
        bool readOnly = false;
        bool locked = false; // open elsewhere: cannot be deleted, replaced or read
        std::string content;

        static File Hidden() { return {true, false, false, false, {}}; }
        static File System() { return {false, true, false, false, {}}; }
        static File ReadOnly() { return {false, false, true, false, {}}; }
        static File Locked() { return {false, false, false, true, {}}; }
    };

    MemoryFileSystem();

    // Test set-up; parents are created as needed.
    void AddDirectory(const std::wstring& path);
    void AddFile(const std::wstring& path, std::string content);
    void AddFile(const std::wstring& path, std::string content, File attributes);
    bool HasFile(const std::wstring& path) const;
    bool HasDirectory(const std::wstring& path) const;
    std::string Content(const std::wstring& path) const;
    File& FileAt(const std::wstring& path);
    std::vector<std::wstring> FilesIn(const std::wstring& directory) const;

    // Makes every following CreateForWriting fail, or every write fail after `bytes` bytes.
    void FailCreates(bool fail) { failCreates_ = fail; }
    void FailWritesAfter(std::optional<std::size_t> bytes) { failWritesAfter_ = bytes; }

    CreateDirectoryResult CreateDirectory(const std::wstring& path) override;
    std::optional<std::vector<DirectoryEntry>> List(const std::wstring& pattern) override;
    bool DeleteFile(const std::wstring& path) override;
    std::optional<std::string> ReadFirstLine(const std::wstring& path) override;
    bool CopyFile(const std::wstring& from, const std::wstring& to) override;
    std::unique_ptr<FileWriter> CreateForWriting(const std::wstring& path) override;
    bool MoveReplacing(const std::wstring& from, const std::wstring& to) override;

    static std::wstring Key(const std::wstring& path); // normalised, lower-cased
    static std::wstring Parent(const std::wstring& key);

private:
    class Writer;
    bool ValidName(const std::wstring& path) const;

    std::map<std::wstring, File> files_;         // key -> file
    std::map<std::wstring, std::wstring> names_; // key -> name as created
    std::set<std::wstring> directories_;         // keys
    bool failCreates_ = false;
    std::optional<std::size_t> failWritesAfter_;
};

} // namespace folivex::testing
