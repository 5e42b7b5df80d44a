// A user at a form: Tab between an Edit and the viewer, keys typed while the viewer has the
// focus, a click into the component; in our own form (no product site code) with the
// stand-in taking its keys as key messages or as accelerators.

#include "tests/windows/keyboard/form_container.h"
#include "tests/windows/keyboard/keyboard_fixture.h"
#include "tests/windows/restrictions/win32_key_input.h"
#include "tests/windows/support/test_window.h"
#include "tests/windows/support/viewer_calls.h"

#include "interface/folivex_interface.h"

#include <olectl.h>

#include <algorithm>
#include <memory>

namespace folivex::testing {
namespace {

// KEYMODIFIERS' Ctrl flag, as the OLE documentation gives it.
constexpr DWORD kKeyModControl = 0x2;

class FormKeyboard : public ::testing::TestWithParam<KeyMode> {
protected:
    FormKeyboard() : journal_(GetParam()) {}

    void SetUp() override {
        form_ = std::make_unique<FormContainer>(L"Folivex.Viewer");
        ASSERT_EQ(form_->CreationResult(), S_OK);
        ASSERT_EQ(form_->Control()->QueryInterface(
                      IID__Viewer, reinterpret_cast<void**>(viewer_.GetAddressOf())),
                  S_OK);
        ASSERT_TRUE(OpenDocument(viewer_.Get(), TestDocument(L"three_pages.pdf")));
        ASSERT_TRUE(MakeForeground(form_->Form()));
        ::SetFocus(form_->Edit());
        ASSERT_TRUE(form_->RunUntil([&] { return ::GetFocus() == form_->Edit(); }));
        form_->ClearRecords();
        journal_.Mark();
    }
    void TearDown() override {
        viewer_.Reset();
        form_.reset();
    }

    bool FocusInViewer() const { return FocusInComponent(form_->ControlWindow()); }
    // The frame and the document window hold the viewer's own active object.
    bool FrameHoldsViewer() const {
        com::ComPtr<IOleInPlaceActiveObject> own;
        form_->Control()->QueryInterface(IID_PPV_ARGS(&own));
        return own && form_->ActiveObject() == own.Get() &&
               form_->DocumentActiveObject() == own.Get();
    }
    bool Notified(const wchar_t* what) const {
        const auto& all = form_->Notifications();
        return std::find(all.begin(), all.end(), std::wstring(what)) != all.end();
    }
    bool ActionsReach(std::size_t count) {
        return form_->RunUntil([&] { return journal_.Actions().size() >= count; });
    }
    void TabIntoViewer() {
        ASSERT_TRUE(Type(Keys({}, VK_TAB)));
        ASSERT_TRUE(form_->RunUntil([&] { return FocusInViewer(); }));
    }

    ComApartment apartment_;
    KeyJournal journal_;
    std::unique_ptr<FormContainer> form_;
    com::ComPtr<_Viewer> viewer_;
};

TEST_P(FormKeyboard, TabMovesIntoTheComponentAndOutAgain) {
    TabIntoViewer();
    // Tabbing in UI-activates the control: the container hears of it and holds its object.
    EXPECT_TRUE(FrameHoldsViewer());
    EXPECT_TRUE(Notified(L"ui-activate"));
    EXPECT_TRUE(Notified(L"focus"));

    ASSERT_TRUE(Type(Keys({}, VK_TAB)));
    ASSERT_TRUE(form_->RunUntil([&] { return ::GetFocus() == form_->Edit(); }));
    if (GetParam().accelerator) {
        // The component reported losing the focus: UI activation ended at once.
        EXPECT_TRUE(form_->RunUntil([&] { return form_->ActiveObject() == nullptr; }, 1000));
    }
    // A key typed into the Edit is the Edit's, and the control is no longer UI active.
    ASSERT_TRUE(Type(Keys({}, 'Z')));
    ASSERT_TRUE(form_->RunUntil([&] { return ::GetWindowTextLengthW(form_->Edit()) == 1; }));
    EXPECT_EQ(form_->ActiveObject(), nullptr);
    EXPECT_EQ(form_->DocumentActiveObject(), nullptr);
    EXPECT_TRUE(Notified(L"blur"));
    EXPECT_TRUE(Notified(L"ui-deactivate"));
    EXPECT_TRUE(journal_.Actions().empty());

    // Shift+Tab from the Edit goes back in.
    form_->ClearRecords();
    ASSERT_TRUE(Type(Keys({VK_SHIFT}, VK_TAB)));
    ASSERT_TRUE(form_->RunUntil([&] { return FocusInViewer(); }));
    EXPECT_TRUE(FrameHoldsViewer());
}

TEST_P(FormKeyboard, TypedKeysReachTheComponentTheWayItTakesThem) {
    TabIntoViewer();
    const std::wstring chord = journal_.ChordPath();
    ASSERT_TRUE(Type(Keys({VK_CONTROL}, 'A')));
    ASSERT_TRUE(ActionsReach(1));
    // Arrows, page keys and characters are the document's, not the dialog navigation's.
    ASSERT_TRUE(Type(Keys({}, VK_DOWN)));
    ASSERT_TRUE(Type(Keys({}, VK_NEXT)));
    ASSERT_TRUE(Type(Keys({}, 'X')));
    ASSERT_TRUE(ActionsReach(4));
    ASSERT_TRUE(Type(Keys({VK_CONTROL, VK_SHIFT}, 'A')));
    ASSERT_TRUE(ActionsReach(5));
    EXPECT_EQ(journal_.Actions(),
              (std::vector<std::wstring>{L"select" + chord, L"navigate:down@window",
                                         L"navigate:page-down@window", L"char:x@window",
                                         L"deselect" + chord}));
    EXPECT_TRUE(FocusInViewer());

    // A key neither the component nor the control wants goes on to the container, with the
    // modifiers that were held.
    ASSERT_TRUE(Type(Keys({VK_CONTROL}, 'Q')));
    const auto forwardedQ = [&] {
        for (const ForwardedKey& key : form_->ForwardedKeys()) {
            if (key.message == WM_KEYDOWN && key.key == 'Q') {
                return key.modifiers == kKeyModControl;
            }
        }
        return false;
    };
    EXPECT_TRUE(form_->RunUntil(forwardedQ));
    // What the component took as an accelerator, and the arrows the control delivered itself,
    // are not the container's; a component that takes keys as messages declines them as
    // accelerators, so the container is offered them before they reach its window.
    if (GetParam().accelerator) {
        for (const ForwardedKey& key : form_->ForwardedKeys()) {
            if (key.message == WM_KEYDOWN) {
                EXPECT_NE(key.key, WPARAM{'A'});
                EXPECT_NE(key.key, WPARAM{VK_DOWN});
            }
        }
    }
}

TEST_P(FormKeyboard, AClickIntoTheComponentUIActivatesTheControl) {
    ASSERT_EQ(form_->ActiveObject(), nullptr);
    RECT client = {};
    ::GetClientRect(form_->ControlWindow(), &client);
    ASSERT_TRUE(ClickAt(form_->ControlWindow(), client.right / 2, client.bottom / 2));
    ASSERT_TRUE(form_->RunUntil([&] { return FocusInViewer() && form_->ActiveObject(); }));
    EXPECT_TRUE(FrameHoldsViewer());
    EXPECT_TRUE(Notified(L"ui-activate"));
    EXPECT_TRUE(Notified(L"focus"));
    // And the keys typed now are the component's.
    ASSERT_TRUE(Type(Keys({VK_CONTROL}, 'A')));
    ASSERT_TRUE(ActionsReach(1));
    EXPECT_EQ(journal_.Actions(),
              (std::vector<std::wstring>{L"select" + std::wstring(journal_.ChordPath())}));
}

INSTANTIATE_TEST_SUITE_P(Modes, FormKeyboard, ::testing::Values(kMessageKeys, kAcceleratorKeys),
                         KeyModeName);

} // namespace
} // namespace folivex::testing
