// The text members against a component that takes its keys as key messages and against one
// that takes them only as accelerators, in a control sited on a form and in one no container
// holds (as a console script host creates it).

#include "tests/windows/keyboard/form_container.h"
#include "tests/windows/keyboard/keyboard_fixture.h"
#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"

#include "interface/folivex_interface.h"

#include "com/bstr.h"

#include <memory>

namespace folivex::testing {
namespace {

struct TextCase {
    KeyMode mode;
    bool sited;
};

std::string TextCaseName(const ::testing::TestParamInfo<TextCase>& info) {
    return std::string(info.param.mode.accelerator ? "accelerator" : "messages") +
           (info.param.sited ? "_sited" : "_unsited");
}

class TextMembers : public ::testing::TestWithParam<TextCase> {
protected:
    TextMembers() : journal_(GetParam().mode) {}

    void SetUp() override {
        if (GetParam().sited) {
            form_ = std::make_unique<FormContainer>(L"Folivex.Viewer");
            ASSERT_EQ(form_->CreationResult(), S_OK);
            ASSERT_EQ(form_->Control()->QueryInterface(
                          IID__Viewer, reinterpret_cast<void**>(viewer_.GetAddressOf())),
                      S_OK);
            ASSERT_TRUE(MakeForeground(form_->Form()));
        } else {
            ASSERT_EQ(::CoCreateInstance(CLSID_Viewer, nullptr, CLSCTX_INPROC_SERVER, IID__Viewer,
                                         reinterpret_cast<void**>(viewer_.GetAddressOf())),
                      S_OK);
        }
        ASSERT_TRUE(OpenDocument(viewer_.Get(), TestDocument(L"three_pages.pdf")));
        journal_.Mark();
    }
    void TearDown() override {
        viewer_.Reset();
        form_.reset();
    }
    std::wstring Chord(const wchar_t* action) const {
        return action + std::wstring(journal_.ChordPath());
    }

    ComApartment apartment_;
    KeyJournal journal_;
    std::unique_ptr<FormContainer> form_;
    com::ComPtr<_Viewer> viewer_;
};

TEST_P(TextMembers, CopyAndSearchWorkWhicheverWayTheComponentTakesKeys) {
    PutClipboardText(L"what the host had");
    com::Bstr text;
    ASSERT_EQ(viewer_->CopyToString(text.Out()), S_OK);
    EXPECT_EQ(text.ToString(), kThreePagesText);
    EXPECT_EQ(ClipboardText(), std::nullopt);
    EXPECT_EQ(journal_.Actions(),
              (std::vector<std::wstring>{Chord(L"select"),
                                         Chord((L"copy:" + std::wstring(kThreePagesText)).c_str()),
                                         Chord(L"deselect")}));

    journal_.Mark();
    PutClipboardText(L"again");
    ASSERT_EQ(viewer_->CopyToClipboard(), S_OK);
    EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(kThreePagesText));
    EXPECT_EQ(journal_.Actions().size(), 3u);

    journal_.Mark();
    com::Bstr search(L"page");
    ASSERT_EQ(viewer_->Search(search.Get()), S_OK);
    // The search box takes the typed text and Enter as key messages in either mode.
    EXPECT_EQ(journal_.Actions(),
              (std::vector<std::wstring>{Chord(L"search-open"), Chord(L"search-open"),
                                         L"search:page@window"}));
    EXPECT_EQ(::GetKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_EQ(::GetKeyState(VK_SHIFT) & 0x8000, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, TextMembers,
                         ::testing::Values(TextCase{kMessageKeys, true},
                                           TextCase{kAcceleratorKeys, true},
                                           TextCase{kMessageKeys, false},
                                           TextCase{kAcceleratorKeys, false}),
                         TextCaseName);

} // namespace
} // namespace folivex::testing
