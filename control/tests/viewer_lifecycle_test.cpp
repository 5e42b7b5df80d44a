#include "control/viewer_lifecycle.h"

#include "common/testing/memory_file_system.h"
#include "registry/cls_registry.h"
#include "registry/testing/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivex {
namespace {

using testing::MemoryFileSystem;
using testing::MemoryRegistry;

class FakeSite : public ComponentSite {
public:
    void SetVisible(bool visible) override {
        visible_ = visible;
        ++visibilityCalls;
    }
    bool Visible() const override { return visible_; }
    void Move(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    std::int32_t Top() const override { return 0; }
    bool SetFocus() override { return true; }

    int visibilityCalls = 0;

private:
    bool visible_ = true;
};

TEST(TempPathPut, KeepsUsableDirectoriesWithATrailingBackslash) {
    MemoryFileSystem fs;
    fs.AddDirectory(L"D:\\Downloads");
    ViewerState state;

    PutTempPath(state, fs, L"D:\\Downloads");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\");
    PutTempPath(state, fs, L"D:\\Downloads\\");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\");

    PutTempPath(state, fs, L"D:\\Downloads\\New");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\New\\");
    EXPECT_TRUE(fs.HasDirectory(L"D:\\Downloads\\New")) << "one level is created";
}

TEST(TempPathPut, ANameTakenByAFileCountsAsThere) {
    MemoryFileSystem fs;
    fs.AddFile(L"D:\\data\\report", "x");
    ViewerState state;
    PutTempPath(state, fs, L"D:\\data\\report");
    EXPECT_EQ(state.TempPath, L"D:\\data\\report\\");
    EXPECT_EQ(fs.Content(L"D:\\data\\report"), "x");
}

TEST(TempPathPut, RefusesSilentlyWhatCannotBeCreated) {
    MemoryFileSystem fs;
    fs.AddDirectory(L"D:\\Downloads");
    ViewerState state;
    PutTempPath(state, fs, L"D:\\Downloads");

    PutTempPath(state, fs, L"D:\\Missing\\Child");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\");
    EXPECT_FALSE(fs.HasDirectory(L"D:\\Missing"));

    PutTempPath(state, fs, L"D:\\Down<loads>");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\");

    PutTempPath(state, fs, L"");
    EXPECT_EQ(state.TempPath, L"D:\\Downloads\\");
}

TEST(Creation, HidesTheComponentSetsUpTheDirectoryAndDetectsTheReader) {
    MemoryFileSystem fs;
    MemoryRegistry registry(RegistryView::Registry64);
    registry.AddKey(RegistryView::Registry32, kHKeyLocalMachine, kReaderKeyPath, {"7.0", "8.0"});
    FakeSite site;
    ViewerState state;
    state.TempPath = L"X:\\elsewhere\\";

    InitializeViewer(state, site, fs, registry);
    EXPECT_FALSE(site.Visible());
    EXPECT_EQ(state.TempPath, L"C:\\TEMP\\");
    EXPECT_TRUE(fs.HasDirectory(L"C:\\TEMP"));
    EXPECT_EQ(state.ReaderVersion, 8);
    EXPECT_EQ(state.Path, L"");
    EXPECT_EQ(state.CurrentTempFile, L"");
}

TEST(Creation, NoReaderAndAnExistingDirectoryAreNoErrors) {
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\TEMP\\old.pdf", "%PDF-");
    MemoryRegistry registry;
    FakeSite site;
    ViewerState state;
    InitializeViewer(state, site, fs, registry);
    EXPECT_EQ(state.ReaderVersion, 0);
    EXPECT_EQ(state.TempPath, L"C:\\TEMP\\");
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\old.pdf"));
}

TEST(Creation, TheDirectoryMayBeImpossible) {
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\TEMP", "a file where the directory should be");
    MemoryRegistry registry;
    FakeSite site;
    ViewerState state;
    InitializeViewer(state, site, fs, registry);
    EXPECT_EQ(state.TempPath, L"C:\\TEMP\\");
}

TEST(Termination, DeletesOnlyTheDownloadedCopyThenRemovesTheHook) {
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\TEMP\\copy.pdf", "%PDF-");
    fs.AddFile(L"C:\\docs\\local.pdf", "%PDF-");
    ViewerState state;
    state.Path = L"C:\\docs\\local.pdf";

    int hookRemovals = 0;
    TerminateViewer(state, fs, nullptr, [&] {
        ++hookRemovals;
        EXPECT_TRUE(fs.HasFile(L"C:\\docs\\local.pdf"));
    });
    EXPECT_TRUE(fs.HasFile(L"C:\\docs\\local.pdf")) << "a local document is never deleted";
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\copy.pdf"));
    EXPECT_EQ(hookRemovals, 1);

    state.CurrentTempFile = L"C:\\TEMP\\copy.pdf";
    TerminateViewer(state, fs, nullptr, [&] {
        ++hookRemovals;
        EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\copy.pdf")) << "the copy goes first";
    });
    EXPECT_EQ(hookRemovals, 2);
}

TEST(Termination, ACopyInUseOrAlreadyGoneIsLeftAlone) {
    MemoryFileSystem fs;
    fs.AddFile(L"C:\\TEMP\\copy.pdf", "%PDF-", MemoryFileSystem::File::Locked());
    ViewerState state;
    state.CurrentTempFile = L"C:\\TEMP\\copy.pdf";
    TerminateViewer(state, fs, nullptr, nullptr);
    EXPECT_TRUE(fs.HasFile(L"C:\\TEMP\\copy.pdf"));

    state.CurrentTempFile = L"C:\\TEMP\\gone.pdf";
    int hookRemovals = 0;
    TerminateViewer(state, fs, nullptr, [&] { ++hookRemovals; });
    EXPECT_EQ(hookRemovals, 1);
}

TEST(Termination, TheComponentLetsGoOfItsCopyBeforeTheCopyIsDeleted) {
    MemoryFileSystem fs;
    // The component keeps the document it shows open until it is closed.
    fs.AddFile(L"C:\\TEMP\\copy.pdf", "%PDF-", MemoryFileSystem::File::Locked());
    ViewerState state;
    state.CurrentTempFile = L"C:\\TEMP\\copy.pdf";
    std::vector<std::string> steps;
    TerminateViewer(
        state, fs,
        [&] {
            steps.push_back("close");
            fs.FileAt(L"C:\\TEMP\\copy.pdf").locked = false;
        },
        [&] { steps.push_back(fs.HasFile(L"C:\\TEMP\\copy.pdf") ? "hook, copy left" : "hook"); });
    EXPECT_EQ(steps, (std::vector<std::string>{"close", "hook"}));
    EXPECT_FALSE(fs.HasFile(L"C:\\TEMP\\copy.pdf"));
}

} // namespace
} // namespace folivex
