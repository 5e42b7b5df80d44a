#include "viewer_bridge/text_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace folivex {
namespace {

// One log of every platform step, in order, so the tests see how the steps interleave.
struct Log {
    std::vector<std::wstring> steps;
};

class FakeSite : public ComponentSite {
public:
    explicit FakeSite(Log& log) : log_(log) {}
    void SetVisible(bool) override {}
    bool Visible() const override { return true; }
    void Move(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    std::int32_t Top() const override { return 0; }
    bool SetFocus() override {
        log_.steps.push_back(L"focus");
        return focusWorks;
    }
    bool focusWorks = true;

private:
    Log& log_;
};

// Plays the component: "^c" copies the document's text when it is selected.
class FakeKeys : public KeystrokeSender {
public:
    FakeKeys(Log& log, std::wstring& clipboard) : log_(log), clipboard_(clipboard) {}
    bool SendKeys(std::wstring_view keys) override {
        log_.steps.push_back(L"keys " + std::wstring(keys));
        if (keys == L"^a") {
            selected = true;
        } else if (keys == L"+^a") {
            selected = false;
        } else if (keys == L"^c" && selected && !documentText.empty()) {
            clipboard_ = documentText;
        }
        return works;
    }
    std::wstring documentText;
    bool selected = false;
    bool works = true;

private:
    Log& log_;
    std::wstring& clipboard_;
};

class FakeClipboard : public ClipboardAccess {
public:
    FakeClipboard(Log& log, std::wstring& contents) : log_(log), contents_(contents) {}
    bool Clear() override {
        log_.steps.push_back(L"clear");
        if (works) {
            contents_.clear();
        }
        return works;
    }
    std::wstring ReadText() override {
        log_.steps.push_back(L"read");
        return works ? contents_ : std::wstring();
    }
    bool works = true;

private:
    Log& log_;
    std::wstring& contents_;
};

class TextOperationsTest : public ::testing::Test {
protected:
    Log log;
    std::wstring clipboardContents = L"what the host had";
    FakeSite site{log};
    FakeKeys keys{log, clipboardContents};
    FakeClipboard clipboard{log, clipboardContents};
    TextOperations operations{site, keys, clipboard};

    using Steps = std::vector<std::wstring>;
};

TEST_F(TextOperationsTest, SelectAndDeselect) {
    operations.SelectText();
    operations.DeselectText();
    EXPECT_EQ(log.steps, (Steps{L"focus", L"keys ^a", L"focus", L"keys +^a"}));
}

TEST_F(TextOperationsTest, CopyToClipboardLeavesTheTextAndNoSelection) {
    keys.documentText = L"Page one text";
    operations.CopyToClipboard();
    EXPECT_EQ(log.steps, (Steps{L"clear", L"focus", L"keys ^a", L"keys ^c", L"keys +^a"}));
    EXPECT_EQ(clipboardContents, L"Page one text");
    EXPECT_FALSE(keys.selected);
}

TEST_F(TextOperationsTest, CopyToStringReturnsTheTextAndEmptiesTheClipboard) {
    keys.documentText = L"Page one text";
    EXPECT_EQ(operations.CopyToString(), L"Page one text");
    EXPECT_EQ(log.steps,
              (Steps{L"clear", L"focus", L"keys ^a", L"keys ^c", L"keys +^a", L"read", L"clear"}));
    EXPECT_TRUE(clipboardContents.empty());
}

TEST_F(TextOperationsTest, CopyWithoutADocumentLosesTheOldClipboardAndReturnsEmpty) {
    EXPECT_EQ(operations.CopyToString(), L"");
    EXPECT_TRUE(clipboardContents.empty());

    clipboardContents = L"what the host had";
    operations.CopyToClipboard();
    EXPECT_TRUE(clipboardContents.empty());
}

TEST_F(TextOperationsTest, FailingStepsAreSkipped) {
    site.focusWorks = false;
    keys.works = false;
    clipboard.works = false;
    EXPECT_EQ(operations.CopyToString(), L"");
    EXPECT_EQ(log.steps,
              (Steps{L"clear", L"focus", L"keys ^a", L"keys ^c", L"keys +^a", L"read", L"clear"}));
}

TEST_F(TextOperationsTest, SearchWithoutTextOnlyOpensTheSearch) {
    operations.Search();
    operations.Search(L"");
    EXPECT_EQ(log.steps, (Steps{L"focus", L"keys +^f", L"focus", L"keys +^f"}));
}

TEST_F(TextOperationsTest, SearchSendsTheTextBetweenTheSearchKeys) {
    operations.Search(L"abc");
    EXPECT_EQ(log.steps, (Steps{L"focus", L"keys +^f", L"keys +^f", L"keys abc", L"keys {ENTER}"}));
}

TEST_F(TextOperationsTest, SearchTextIsSentUnescaped) {
    const std::wstring text = L"1+1 ^x %y ~ {a} (b) [c]";
    operations.Search(text);
    ASSERT_EQ(log.steps.size(), 5u);
    EXPECT_EQ(log.steps[3], L"keys " + text);

    // So through the parser the special characters act as keys: "+1" is Shift+1, "~" is Enter.
    const KeystrokeParse parse = ParseKeystrokes(text);
    ASSERT_TRUE(parse.Ok());
    EXPECT_EQ(parse.events[2], KeyEvent::Press(virtual_key::kShift));
    EXPECT_NE(
        std::find(parse.events.begin(), parse.events.end(), KeyEvent::Press(virtual_key::kReturn)),
        parse.events.end());
    EXPECT_EQ(std::find(parse.events.begin(), parse.events.end(), KeyEvent::CharPress(U'~')),
              parse.events.end());
}

} // namespace
} // namespace folivex
