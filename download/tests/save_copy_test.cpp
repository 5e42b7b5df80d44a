#include "download/save_copy.h"

#include "common/testing/memory_file_system.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

class SaveCopyTest : public ::testing::Test {
protected:
    SaveCopyTest() {
        files.AddFile(L"C:\\TEMP\\remote.pdf", "%PDF-remote");
        files.AddFile(L"C:\\Docs\\local.pdf", "%PDF-local");
        files.AddDirectory(L"C:\\Out");
    }
    testing::MemoryFileSystem files;
};

TEST_F(SaveCopyTest, DefaultSourceIsTheDownloadedCopyElseThePath) {
    // A remote document: Path is the address, the downloaded copy is what gets saved.
    EXPECT_TRUE(SaveCopy(files, L"C:\\Out\\a.pdf", L"", L"C:\\TEMP\\remote.pdf",
                         L"http://host/remote.pdf"));
    EXPECT_EQ(files.Content(L"C:\\Out\\a.pdf"), "%PDF-remote");

    // A local document.
    EXPECT_TRUE(SaveCopy(files, L"C:\\Out\\b.pdf", L"", L"", L"C:\\Docs\\local.pdf"));
    EXPECT_EQ(files.Content(L"C:\\Out\\b.pdf"), "%PDF-local");

    // Spaces only count as no source.
    EXPECT_TRUE(SaveCopy(files, L"C:\\Out\\c.pdf", L"   ", L"", L"C:\\Docs\\local.pdf"));
    EXPECT_EQ(files.Content(L"C:\\Out\\c.pdf"), "%PDF-local");

    // A named source wins, trimmed; mixed case works on a case-blind file system.
    EXPECT_TRUE(SaveCopy(files, L"C:\\Out\\d.pdf", L"  C:\\DOCS\\Local.PDF ",
                         L"C:\\TEMP\\remote.pdf", L""));
    EXPECT_EQ(files.Content(L"C:\\Out\\d.pdf"), "%PDF-local");
}

TEST_F(SaveCopyTest, ExistingDestinationIsReplaced) {
    files.AddFile(L"C:\\Out\\a.pdf", "old");
    EXPECT_TRUE(SaveCopy(files, L"C:\\Out\\a.pdf", L"C:\\Docs\\local.pdf", L"", L""));
    EXPECT_EQ(files.Content(L"C:\\Out\\a.pdf"), "%PDF-local");
}

TEST_F(SaveCopyTest, EveryFailureGivesFalse) {
    // No usable source: nothing open, a missing file, an address with no downloaded copy.
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\a.pdf", L"", L"", L""));
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\a.pdf", L"C:\\Docs\\missing.pdf", L"", L""));
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\a.pdf", L"", L"", L"http://host/remote.pdf"));
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\a.pdf", L"", L"C:\\TEMP\\gone.pdf", L""));

    // The copy fails: missing directory, read-only or locked destination, empty name, a
    // directory as destination, a locked source.
    EXPECT_FALSE(SaveCopy(files, L"C:\\Missing\\a.pdf", L"C:\\Docs\\local.pdf", L"", L""));
    files.AddFile(L"C:\\Out\\ro.pdf", "old", testing::MemoryFileSystem::File::ReadOnly());
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\ro.pdf", L"C:\\Docs\\local.pdf", L"", L""));
    EXPECT_EQ(files.Content(L"C:\\Out\\ro.pdf"), "old");
    EXPECT_FALSE(SaveCopy(files, L"", L"C:\\Docs\\local.pdf", L"", L""));
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out", L"C:\\Docs\\local.pdf", L"", L""));
    files.AddFile(L"C:\\Docs\\busy.pdf", "x", testing::MemoryFileSystem::File::Locked());
    EXPECT_FALSE(SaveCopy(files, L"C:\\Out\\a.pdf", L"C:\\Docs\\busy.pdf", L"", L""));

    EXPECT_TRUE(files.FilesIn(L"C:\\Out").size() == 1u); // only ro.pdf
}

} // namespace
} // namespace folivex
