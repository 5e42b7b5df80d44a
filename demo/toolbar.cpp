#include "toolbar.h"

#include "resource.h"

#include "common/automation_text.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>

namespace folivex::demo {

namespace {

struct Button {
    int command;
    const wchar_t* text;
};

// A command of 0 is a separator; ID_ZOOM_APPLY marks where the zoom box sits.
constexpr Button kButtons[] = {
    {ID_FILE_OPEN, L"Open"},
    {ID_FILE_OPEN_ADDRESS, L"Address"},
    {0, nullptr},
    {ID_GO_FIRST, L"|<"},
    {ID_GO_PREVIOUS, L"<"},
    {ID_GO_NEXT, L">"},
    {ID_GO_LAST, L">|"},
    {ID_GO_PAGE, L"Go to"},
    {0, nullptr},
    {ID_ZOOM_OUT, L"Zoom -"},
    {ID_ZOOM_APPLY, nullptr},
    {ID_ZOOM_IN, L"Zoom +"},
    {0, nullptr},
    {ID_FILE_PRINT_DIALOG, L"Print"},
    {ID_EDIT_SEARCH, L"Search"},
    {ID_FILE_SAVE_COPY, L"Save copy"},
};

constexpr int kZoomBoxWidth = 90;
constexpr const wchar_t* kZoomChoices[] = {L"25%",  L"50%",  L"75%",  L"100%", L"125%",
                                           L"150%", L"200%", L"400%", L"800%"};

} // namespace

bool Toolbar::Create(HWND parent, HINSTANCE instance) {
    toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST |
                                     TBSTYLE_TOOLTIPS | CCS_TOP,
                                 0, 0, 0, 0, parent, nullptr, instance, nullptr);
    if (!toolbar_) {
        return false;
    }
    ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    ::SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    TBBUTTON buttons[std::size(kButtons)] = {};
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        TBBUTTON& button = buttons[i];
        button.idCommand = kButtons[i].command;
        button.iBitmap = I_IMAGENONE;
        if (kButtons[i].command == 0) {
            button.fsStyle = BTNS_SEP;
        } else if (kButtons[i].command == ID_ZOOM_APPLY) {
            // A separator's image index is its width: the space the zoom box takes.
            button.fsStyle = BTNS_SEP;
            button.iBitmap = kZoomBoxWidth;
        } else {
            button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
            button.fsState = TBSTATE_ENABLED;
            button.iString = reinterpret_cast<INT_PTR>(kButtons[i].text);
        }
    }
    ::SendMessageW(toolbar_, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    RECT slot = {};
    const LRESULT index = ::SendMessageW(toolbar_, TB_COMMANDTOINDEX, ID_ZOOM_APPLY, 0);
    ::SendMessageW(toolbar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&slot));
    zoomBox_ = ::CreateWindowExW(
        0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
        slot.left + 2, slot.top, kZoomBoxWidth - 4, 300, toolbar_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ZOOM_BOX)), instance, nullptr);
    ::SendMessageW(zoomBox_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (const wchar_t* choice : kZoomChoices) {
        ::SendMessageW(zoomBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    }
    return true;
}

int Toolbar::Height() const {
    RECT rect = {};
    ::GetWindowRect(toolbar_, &rect);
    return rect.bottom - rect.top;
}

void Toolbar::Resize() {
    ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

std::optional<float> Toolbar::ZoomBoxPercent() const {
    wchar_t text[32] = {};
    // A choice just picked from the list is not yet the box's text during CBN_SELCHANGE.
    const LRESULT selected = ::SendMessageW(zoomBox_, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR && ::SendMessageW(zoomBox_, CB_GETLBTEXTLEN, selected, 0) < 31) {
        ::SendMessageW(zoomBox_, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    } else {
        ::GetWindowTextW(zoomBox_, text, 32);
    }
    std::wstring value = folivex::TrimSpaces(text);
    if (!value.empty() && value.back() == L'%') {
        value.pop_back();
    }
    wchar_t* end = nullptr;
    const double percent = std::wcstod(value.c_str(), &end);
    if (value.empty() || !end || *end != L'\0' || !(percent > 0)) {
        return std::nullopt;
    }
    return static_cast<float>(percent);
}

void Toolbar::ShowZoom(std::optional<short> percent) {
    HWND focus = ::GetFocus();
    if (focus && (focus == zoomBox_ || ::IsChild(zoomBox_, focus))) {
        return;
    }
    const std::wstring text = percent ? std::to_wstring(*percent) + L"%" : std::wstring();
    wchar_t current[32] = {};
    ::GetWindowTextW(zoomBox_, current, 32);
    if (text != current) {
        ::SendMessageW(zoomBox_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ::SetWindowTextW(zoomBox_, text.c_str());
    }
}

bool Toolbar::IsZoomBoxEdit(HWND window) const {
    return window && (window == zoomBox_ || ::IsChild(zoomBox_, window));
}

} // namespace folivex::demo
