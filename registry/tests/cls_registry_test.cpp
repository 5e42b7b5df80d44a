#include "registry/cls_registry.h"

#include "registry/testing/memory_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace folivex {
namespace {

using testing::MemoryRegistry;

std::int16_t VersionWith(std::vector<std::string> subKeys) {
    MemoryRegistry registry;
    registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath,
                    std::move(subKeys));
    const clsRegistry reader(registry);
    const std::int16_t version = reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath);
    EXPECT_EQ(registry.OpenHandles(), 0u) << "the key was left open";
    return version;
}

TEST(GetReaderVersion, MissingOrUnreadableKeyGivesZero) {
    MemoryRegistry registry;
    const clsRegistry reader(registry);
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath), 0);
    EXPECT_EQ(registry.Closes(), 0u) << "nothing was opened, so nothing may be closed";

    registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"9.0"}).denyOpen =
        true;
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath), 0);
}

TEST(GetReaderVersion, OpensForReadingOnly) {
    MemoryRegistry registry;
    registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"7.0"});
    const clsRegistry reader(registry);
    reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath);
    ASSERT_EQ(registry.Opens().size(), 1u);
    EXPECT_EQ(registry.Opens()[0].root, static_cast<RegistryRoot>(0x80000002u));
    EXPECT_EQ(registry.Opens()[0].subKey, L"SOFTWARE\\Adobe\\Acrobat Reader");
    EXPECT_EQ(registry.Opens()[0].options, 0u);
    EXPECT_EQ(registry.Opens()[0].access, 0x20009u);
    EXPECT_EQ(registry.Opens()[0].view, RegistryView::Native);
}

TEST(GetReaderVersion, KeyWithoutVersionSubkeysGivesOne) {
    EXPECT_EQ(VersionWith({}), 1);
    EXPECT_EQ(VersionWith({"Installer", "Language", "AdobeViewer"}), 1);
    EXPECT_EQ(VersionWith({"0", "1", "-5", "1.0", "-32768"}), 1);
    EXPECT_EQ(VersionWith({"1.4"}), 1) << "1.4 rounds to 1, which is not above 1";
}

TEST(GetReaderVersion, HighestWholeNumberWinsInAnyOrder) {
    EXPECT_EQ(VersionWith({"5.0", "6.0", "7.0"}), 7);
    std::vector<std::string> names = {"7.0", "8.0", "9.0"};
    std::sort(names.begin(), names.end());
    do {
        EXPECT_EQ(VersionWith(names), 9);
    } while (std::next_permutation(names.begin(), names.end()));
    EXPECT_EQ(VersionWith({"10.0", "9.0"}), 10) << "compared as numbers, not as text";
}

TEST(GetReaderVersion, NamesConvertAsAutomationDoes) {
    EXPECT_EQ(VersionWith({"6.5"}), 6) << "a half goes to the even neighbour";
    EXPECT_EQ(VersionWith({"7.5"}), 8);
    EXPECT_EQ(VersionWith({" 8.0 "}), 8) << "blanks around the number are ignored";
    EXPECT_EQ(VersionWith({"11"}), 11);
}

TEST(GetReaderVersion, UnconvertibleNamesAreSkippedWithoutEndingTheScan) {
    EXPECT_EQ(VersionWith({"Installer", "8.0", "Language"}), 8);
    EXPECT_EQ(VersionWith({"32768", "7.0"}), 7) << "above the 16-bit range";
    EXPECT_EQ(VersionWith({"32767"}), 32767);
    EXPECT_EQ(VersionWith({"99999999999", "8.0", "-40000"}), 8);
    EXPECT_EQ(VersionWith({"8.0a", "7.0"}), 7);
}

TEST(GetReaderVersion, FailedCallsSkipOnlyWhatTheyCouldNotRead) {
    MemoryRegistry registry;
    auto& key = registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath,
                                {"7.0", "8.0", "6.0"});
    const clsRegistry reader(registry);

    key.failEnum = {1};
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath), 7)
        << "a failed enumeration leaves no name behind to convert";

    key.failEnum.clear();
    key.reportedMaxName = 3; // a longer name appeared after the query
    key.subKeys = {"7.0", "12.0"};
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath), 7);

    key.reportedMaxName.reset();
    key.failQuery = true;
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath), 1);
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(GetReaderVersion, PathIsCaseInsensitiveAndTheCallerStringUntouched) {
    MemoryRegistry registry;
    registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"9.0"});
    const clsRegistry reader(registry);
    const std::wstring path = L"software\\adobe\\ACROBAT READER";
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, path), 9);
    EXPECT_EQ(path, L"software\\adobe\\ACROBAT READER");
    EXPECT_EQ(reader.GetReaderVersion(kHKeyLocalMachine, L"SOFTWARE\\Adobe"), 0);
}

TEST(DetectReaderVersion, ReadsBothViewsAndTakesTheHighest) {
    {
        // A 32-bit Reader seen from a 64-bit control.
        MemoryRegistry registry(RegistryView::Registry64);
        registry.AddKey(RegistryView::Registry32, kHKeyLocalMachine, kReaderKeyPath,
                        {"9.0", "11.0"});
        EXPECT_EQ(DetectReaderVersion(registry), 11);
        EXPECT_EQ(registry.OpenHandles(), 0u);
    }
    {
        // A 64-bit Reader seen from a 32-bit control.
        MemoryRegistry registry(RegistryView::Registry32);
        registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"8.0"});
        EXPECT_EQ(DetectReaderVersion(registry), 8);
    }
    {
        MemoryRegistry registry;
        registry.AddKey(RegistryView::Registry32, kHKeyLocalMachine, kReaderKeyPath, {"7.0"});
        registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"9.0"});
        EXPECT_EQ(DetectReaderVersion(registry), 9);
    }
    {
        // A key without versions in one view beats a view without the key.
        MemoryRegistry registry;
        registry.AddKey(RegistryView::Registry32, kHKeyLocalMachine, kReaderKeyPath, {"Setup"});
        EXPECT_EQ(DetectReaderVersion(registry), 1);
    }
    {
        MemoryRegistry registry;
        EXPECT_EQ(DetectReaderVersion(registry), 0) << "0 only when no view has the key";
        bool sawBothViews = false;
        for (const auto& open : registry.Opens()) {
            sawBothViews |= open.view == RegistryView::Registry32;
        }
        EXPECT_TRUE(sawBothViews);
    }
}

class ThrowingRegistry : public MemoryRegistry {
public:
    RegistryStatus QueryInfoKey(RegistryHandle, std::uint32_t&, std::uint32_t&) override {
        throw std::runtime_error("registry unavailable");
    }
};

TEST(DetectReaderVersion, AFailingDetectionGivesOne) {
    ThrowingRegistry registry;
    registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, {"9.0"});
    EXPECT_EQ(DetectReaderVersion(registry), 1);
    EXPECT_EQ(registry.OpenHandles(), 0u) << "the key is closed on the way out";
}

} // namespace
} // namespace folivex
