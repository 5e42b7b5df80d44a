#pragma once
// Test-process settings: environment variables set for one scope, the build tree's test
// documents, and a fresh journal file for the stand-in component.

#include <windows.h>

#include <string>

namespace folivex::testing {

// Sets an environment variable for one scope (null removes it), and restores what it was.
class ScopedSetting {
public:
    ScopedSetting(const wchar_t* name, const wchar_t* value);
    ~ScopedSetting();
    ScopedSetting(const ScopedSetting&) = delete;
    ScopedSetting& operator=(const ScopedSetting&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool hadValue_ = false;
};

// The folder of the running program.
std::wstring ProgramDirectory();

// A generated test document (tests/data of the build tree), found as ..\..\data\NAME from a
// program in tests/windows/<folder>/.
std::wstring TestDocument(const wchar_t* name);

// A directory of its own under the temporary directory, emptied and removed on destruction.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Ends with a backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + name; }

private:
    std::wstring path_;
};

bool PathExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);

} // namespace folivex::testing
