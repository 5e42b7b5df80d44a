#include "common/file_exists.h"
#include "common/testing/memory_file_system.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

TEST(FileExists, FilesDirectoriesAndWildcards) {
    testing::MemoryFileSystem fs;
    fs.AddDirectory(L"C:\\Docs\\Empty");
    fs.AddFile(L"C:\\Docs\\a.pdf", "%PDF-1.4");
    fs.AddFile(L"C:\\Docs\\ro.pdf", "x", testing::MemoryFileSystem::File::ReadOnly());
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs\\a.pdf"));
    EXPECT_TRUE(FileExists(fs, L"c:\\docs\\A.PDF"));
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs\\ro.pdf"));
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs"));
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs\\"));
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs\\*.pdf"));
    EXPECT_TRUE(FileExists(fs, L"C:\\Docs\\?.pdf"));
    EXPECT_FALSE(FileExists(fs, L"C:\\Docs\\*.txt"));
    EXPECT_FALSE(FileExists(fs, L"C:\\Docs\\missing.pdf"));
    EXPECT_FALSE(FileExists(fs, L"C:\\Nowhere\\a.pdf"));
}

TEST(FileExists, HiddenSystemAndInvalidNamesCountAsAbsent) {
    testing::MemoryFileSystem fs;
    fs.AddFile(L"C:\\Docs\\hidden.pdf", "x", testing::MemoryFileSystem::File::Hidden());
    fs.AddFile(L"C:\\Docs\\system.pdf", "x", testing::MemoryFileSystem::File::System());
    EXPECT_FALSE(FileExists(fs, L"C:\\Docs\\hidden.pdf"));
    EXPECT_FALSE(FileExists(fs, L"C:\\Docs\\system.pdf"));
    EXPECT_FALSE(FileExists(fs, L"C:\\Docs\\bad|name.pdf"));
    EXPECT_FALSE(FileExists(fs, L""));
}

} // namespace
} // namespace folivex
