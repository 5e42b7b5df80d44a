#include "common/automation_text.h"

#include <gtest/gtest.h>

namespace folivex {
namespace {

TEST(AutomationText, WholeNumbersRoundHalfToEven) {
    EXPECT_EQ(TextToInt16(L"7.0"), 7);
    EXPECT_EQ(TextToInt16(L"10.0"), 10);
    EXPECT_EQ(TextToInt16(L"6.5"), 6);
    EXPECT_EQ(TextToInt16(L"7.5"), 8);
    EXPECT_EQ(TextToInt16(L"33.3"), 33);
    EXPECT_EQ(TextToInt16(L"-2.5"), -2);
}

TEST(AutomationText, BlanksSignsAndSeparators) {
    EXPECT_EQ(TextToInt16(L"  12  "), 12);
    EXPECT_EQ(TextToInt16(L"+3"), 3);
    EXPECT_EQ(TextToInt32(L"-120"), -120);
    EXPECT_EQ(TextToInt32(L"1,000"), 1000);
    EXPECT_EQ(TextToInt32(L"1e3"), 1000);
}

TEST(AutomationText, RangeLimitsOfTheTarget) {
    EXPECT_EQ(TextToInt16(L"32767"), 32767);
    EXPECT_EQ(TextToInt16(L"-32768"), -32768);
    EXPECT_FALSE(TextToInt16(L"32768"));
    EXPECT_FALSE(TextToInt16(L"40000.0"));
    EXPECT_EQ(TextToInt32(L"40000"), 40000);
    EXPECT_FALSE(TextToInt32(L"2147483648"));
}

TEST(AutomationText, TextsThatAreNotNumbers) {
    for (const wchar_t* text :
         {L"", L"   ", L"abc", L"7.0a", L"7 0", L".", L"-", L"1e", L",5", L"3 of 10", L"100%"}) {
        EXPECT_FALSE(ParseAutomationNumber(text)) << "text: " << std::wstring(text).size();
        EXPECT_FALSE(IsNumericText(text));
    }
    EXPECT_TRUE(IsNumericText(L" 12 "));
    EXPECT_TRUE(IsNumericText(L".5"));
}

TEST(AutomationText, TrimAndLower) {
    EXPECT_EQ(TrimSpaces(L"  a b  "), L"a b");
    EXPECT_EQ(TrimSpaces(L"   "), L"");
    EXPECT_EQ(TrimSpaces(L"\ta\t"), L"\ta\t");
    EXPECT_EQ(AsciiLower(L"HTTP://X.PDF"), L"http://x.pdf");
}

} // namespace
} // namespace folivex
