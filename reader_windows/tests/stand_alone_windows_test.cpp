#include "reader_windows/stand_alone_windows.h"

#include "reader_windows/testing/memory_top_level_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivex {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MemoryTopLevelWindows;
using Sent = MemoryTopLevelWindows::Sent;
using Behaviour = MemoryTopLevelWindows::Behaviour;

TEST(CloseAcrobat, SearchesTheTitlesInOrderAndSendsNothingWhenNoneIsFound) {
    MemoryTopLevelWindows desktop;
    desktop.Add("Notepad");
    EXPECT_EQ(CloseAcrobat(desktop), kAutoFalse);
    EXPECT_THAT(desktop.Searched(), ElementsAre("Adobe Acrobat Professional", "Adobe Acrobat",
                                                "Adobe Acrobat Standard"));
    EXPECT_THAT(desktop.SentMessages(), IsEmpty());
}

TEST(CloseAcrobat, FirstTitleThatYieldsAWindowWins) {
    MemoryTopLevelWindows desktop;
    const WindowHandle standard = desktop.Add("Adobe Acrobat Standard");
    const WindowHandle plain = desktop.Add("Adobe Acrobat");
    EXPECT_EQ(CloseAcrobat(desktop), kAutoTrue);
    EXPECT_THAT(desktop.Searched(), ElementsAre("Adobe Acrobat Professional", "Adobe Acrobat"));
    EXPECT_THAT(desktop.SentMessages(),
                ElementsAre(Sent{plain, kMessageClose, kCloseMessageTimeoutMs},
                            Sent{plain, kMessageDestroy, kCloseMessageTimeoutMs}));
    EXPECT_TRUE(desktop.Exists(standard));

    const WindowHandle professional = desktop.Add("Adobe Acrobat Professional");
    EXPECT_EQ(CloseAcrobat(desktop), kAutoTrue);
    EXPECT_EQ(desktop.SentMessages().back().window, professional);
}

TEST(CloseReader, TitleMustMatchAsAWhole) {
    MemoryTopLevelWindows desktop;
    desktop.Add("Adobe Reader - report.pdf");
    desktop.Add("Adobe Acrobat");
    EXPECT_EQ(CloseReader(desktop), kAutoFalse);
    EXPECT_THAT(desktop.Searched(), ElementsAre("Adobe Reader"));
    EXPECT_THAT(desktop.SentMessages(), IsEmpty());
}

TEST(CloseReader, WindowThatStaysAfterCloseIsStillSentTheDestroyNotification) {
    MemoryTopLevelWindows desktop;
    const WindowHandle reader = desktop.Add("Adobe Reader", Behaviour{.destroyOnClose = false});
    EXPECT_EQ(CloseReader(desktop), kAutoTrue);
    EXPECT_EQ(desktop.SentMessages().size(), 2u);
    EXPECT_TRUE(desktop.Exists(reader));
}

TEST(CloseReader, NonZeroDestroyResultGivesFalse) {
    MemoryTopLevelWindows desktop;
    const WindowHandle reader =
        desktop.Add("Adobe Reader", Behaviour{.destroyOnClose = false, .destroyResult = 1});
    EXPECT_EQ(CloseReader(desktop), kAutoFalse);
    EXPECT_THAT(desktop.SentMessages(),
                ElementsAre(Sent{reader, kMessageClose, kCloseMessageTimeoutMs},
                            Sent{reader, kMessageDestroy, kCloseMessageTimeoutMs}));
}

TEST(CloseReader, HungApplicationDoesNotCountAsClosed) {
    MemoryTopLevelWindows desktop;
    const WindowHandle hung = desktop.Add("Adobe Reader", Behaviour{.hungOnClose = true});
    EXPECT_EQ(CloseReader(desktop), kAutoFalse);
    // No second wait on an application that did not answer the first.
    EXPECT_THAT(desktop.SentMessages(),
                ElementsAre(Sent{hung, kMessageClose, kCloseMessageTimeoutMs}));
    EXPECT_GT(kCloseMessageTimeoutMs, 0u);

    MemoryTopLevelWindows other;
    other.Add("Adobe Acrobat", Behaviour{.destroyOnClose = false, .hungOnDestroy = true});
    EXPECT_EQ(CloseAcrobat(other), kAutoFalse);
    EXPECT_EQ(other.SentMessages().size(), 2u);
}

} // namespace
} // namespace folivex
