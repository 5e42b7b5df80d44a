#include "commands.h"

#include "dialogs.h"
#include "failure_text.h"
#include "resource.h"

#include "com/bstr.h"

#include <cwchar>
#include <iterator>

namespace folivex::demo {

namespace {

// Zoom in and out step along these, as viewers usually do, rather than by a fixed factor.
constexpr float kZoomSteps[] = {10,  25,  50,  75,  100,  125,  150,
                                200, 300, 400, 800, 1600, 3200, 6400};

const wchar_t* Label(UINT command) {
    switch (command) {
    case ID_GO_FIRST:
        return L"First page";
    case ID_GO_PREVIOUS:
        return L"Previous page";
    case ID_GO_NEXT:
        return L"Next page";
    case ID_GO_LAST:
        return L"Last page";
    case ID_BAR_SHOW_TOOLBAR:
        return L"Viewer toolbar shown";
    case ID_BAR_HIDE_TOOLBAR:
        return L"Viewer toolbar hidden";
    case ID_BAR_CLOSE_TOOLBAR:
        return L"Viewer toolbar closed";
    case ID_BAR_ENABLE_TOOLBAR:
        return L"Viewer toolbar enabled";
    case ID_BAR_DISABLE_TOOLBAR:
        return L"Viewer toolbar disabled";
    case ID_BAR_ENABLE_NAVIGATION:
        return L"Navigation bar enabled";
    case ID_BAR_DISABLE_NAVIGATION:
        return L"Navigation bar disabled";
    default:
        return L"Done";
    }
}

bool InRange(UINT command, UINT first, UINT last) {
    return command >= first && command <= last;
}

} // namespace

Commands::Commands(HWND owner, StatusBar& status, Toolbar& toolbar,
                   std::function<void()> refreshPosition)
    : owner_(owner), status_(status), toolbar_(toolbar),
      refreshPosition_(std::move(refreshPosition)) {}

bool Commands::Succeeded(const wchar_t* member, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        return true;
    }
    status_.ShowFailure(DescribeFailure(viewer_, IID__Viewer, member, hr));
    return false;
}

bool Commands::Confirmed(const wchar_t* member, HRESULT hr, VARIANT_BOOL result,
                         const std::wstring& whenFalse) {
    if (!Succeeded(member, hr)) {
        return false;
    }
    if (result == VARIANT_FALSE) {
        status_.ShowFailure(whenFalse + L" (" + member + L" returned False)");
        return false;
    }
    return true;
}

bool Commands::ViewerReady() {
    if (!viewer_) {
        status_.ShowFailure(L"The Folivex Viewer control is not available: is Folivex.dll "
                            L"registered for this architecture?");
        return false;
    }
    if (busy_) {
        status_.ShowFailure(L"Please wait until the document has opened.");
        return false;
    }
    return true;
}

bool Commands::Open(const std::wstring& pathOrAddress) {
    if (!ViewerReady()) {
        return false;
    }
    status_.ShowMessage(L"Opening " + pathOrAddress + L"...");
    com::Bstr path(pathOrAddress);
    VARIANT_BOOL opened = VARIANT_FALSE;
    busy_ = true;
    const HRESULT hr = viewer_->OpenPDF(path.Get(), &opened);
    busy_ = false;
    const bool ok = Confirmed(L"OpenPDF", hr, opened,
                              L"Could not open " + pathOrAddress +
                                  L": it is missing, not a PDF document, or did not download");
    if (ok) {
        document_ = pathOrAddress;
        status_.ShowMessage(L"Opened " + pathOrAddress);
    }
    refreshPosition_();
    return ok;
}

void Commands::Execute(UINT command) {
    if (command == ID_FILE_EXIT) {
        ::PostMessageW(owner_, WM_CLOSE, 0, 0);
        return;
    }
    if (!ViewerReady()) {
        return;
    }
    bool done = false;
    switch (command) {
    case ID_FILE_OPEN:
        if (auto path = ChoosePdfToOpen(owner_)) {
            Open(*path);
        }
        return;
    case ID_FILE_OPEN_ADDRESS:
        OpenAddress();
        return;
    case ID_FILE_SAVE_COPY:
        SaveCopy();
        return;
    case ID_FILE_PRINT_DIALOG:
        done = Succeeded(L"PrintWithDialog", viewer_->PrintWithDialog());
        break;
    case ID_FILE_PRINT_ALL:
        done = Succeeded(L"PrintAll", viewer_->PrintAll());
        if (done) {
            status_.ShowMessage(L"Sent the whole document to the printer");
        }
        break;
    case ID_EDIT_COPY_TEXT:
        done = Succeeded(L"CopyToClipboard", viewer_->CopyToClipboard());
        if (done) {
            status_.ShowMessage(L"Copied the document's text to the clipboard");
        }
        break;
    case ID_EDIT_SEARCH:
        Search();
        return;
    case ID_GO_FIRST:
        done = Succeeded(L"GotoFirstPage", viewer_->GotoFirstPage());
        break;
    case ID_GO_PREVIOUS:
        done = Succeeded(L"GotoPreviousPage", viewer_->GotoPreviousPage());
        break;
    case ID_GO_NEXT:
        done = Succeeded(L"GotoNextPage", viewer_->GotoNextPage());
        break;
    case ID_GO_LAST:
        done = Succeeded(L"GotoLastPage", viewer_->GotoLastPage());
        break;
    case ID_GO_PAGE:
        GoToPage();
        return;
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
        Zoom(command == ID_ZOOM_IN);
        return;
    case ID_ZOOM_APPLY:
        ApplyZoomBox();
        return;
    case ID_BAR_SHOW_TOOLBAR:
        done = Succeeded(L"ShowToolbar", viewer_->ShowToolbar(VARIANT_TRUE, VARIANT_FALSE));
        break;
    case ID_BAR_HIDE_TOOLBAR:
        done = Succeeded(L"ShowToolbar", viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_FALSE));
        break;
    case ID_BAR_CLOSE_TOOLBAR:
        done = Succeeded(L"ShowToolbar", viewer_->ShowToolbar(VARIANT_FALSE, VARIANT_TRUE));
        break;
    case ID_BAR_ENABLE_TOOLBAR:
        done = Succeeded(L"EnableToolbar", viewer_->EnableToolbar());
        break;
    case ID_BAR_DISABLE_TOOLBAR:
        done = Succeeded(L"DisableToolbar", viewer_->DisableToolbar());
        break;
    case ID_BAR_ENABLE_NAVIGATION:
        done = Succeeded(L"EnableNavigationBar", viewer_->EnableNavigationBar());
        break;
    case ID_BAR_DISABLE_NAVIGATION:
        done = Succeeded(L"DisableNavigationBar", viewer_->DisableNavigationBar());
        break;
    case ID_RESTRICT_PRINT_DIALOG:
    case ID_RESTRICT_SAVE_DIALOG:
    case ID_RESTRICT_SAVE_KEYS:
        ToggleRestriction(command);
        return;
    default:
        if (InRange(command, ID_LAYOUT_DONT_CARE, ID_LAYOUT_TWO_COLUMN_RIGHT)) {
            const auto mode = static_cast<LayoutMode>(command - ID_LAYOUT_DONT_CARE);
            if (Succeeded(L"SetLayoutMode", viewer_->SetLayoutMode(mode))) {
                layoutChoice_ = command;
                status_.ShowMessage(L"Layout mode set");
            }
        } else if (InRange(command, ID_PAGE_MODE_NONE, ID_PAGE_MODE_THUMBS)) {
            const auto mode = static_cast<PageMode>(command - ID_PAGE_MODE_NONE);
            if (Succeeded(L"SetPageMode", viewer_->SetPageMode(mode))) {
                pageModeChoice_ = command;
                status_.ShowMessage(L"Page mode set");
            }
        } else if (InRange(command, ID_VIEW_FIT, ID_VIEW_FIT_BV)) {
            const auto mode = static_cast<ViewMode>(command - ID_VIEW_FIT);
            if (Succeeded(L"SetView", viewer_->SetView(mode))) {
                viewModeChoice_ = command;
                status_.ShowMessage(L"View mode set");
            }
        }
        refreshPosition_();
        return;
    }
    if (done && command != ID_FILE_PRINT_ALL && command != ID_EDIT_COPY_TEXT) {
        status_.ShowMessage(Label(command));
    }
    refreshPosition_();
}

void Commands::OpenAddress() {
    auto address =
        PromptForText(owner_, L"Open Address",
                      L"Address of a PDF document (http://, https:// or ftp://):", lastAddress_);
    if (address && !address->empty()) {
        lastAddress_ = *address;
        Open(*address);
    }
}

void Commands::GoToPage() {
    long current = 0;
    viewer_->get_Page(&current);
    auto answer = PromptForText(owner_, L"Go to Page", L"Page number:",
                                current > 0 ? std::to_wstring(current) : std::wstring());
    if (!answer) {
        return;
    }
    wchar_t* end = nullptr;
    const long page = std::wcstol(answer->c_str(), &end, 10);
    if (answer->empty() || !end || *end != L'\0' || page < 1) {
        status_.ShowFailure(L"\"" + *answer + L"\" is not a page number.");
        return;
    }
    if (Succeeded(L"SetCurrentPage", viewer_->SetCurrentPage(page))) {
        status_.ShowMessage(L"Went to page " + std::to_wstring(page));
    }
    refreshPosition_();
}

void Commands::Zoom(bool in) {
    short current = 100;
    if (FAILED(viewer_->get_ZoomPct(&current)) || current <= 0) {
        current = 100;
    }
    float target = in ? kZoomSteps[std::size(kZoomSteps) - 1] : kZoomSteps[0];
    for (float step : kZoomSteps) {
        if (in && step > current) {
            target = step;
            break;
        }
        if (!in && step < current) {
            target = step;
        }
    }
    SetZoom(target);
}

void Commands::ApplyZoomBox() {
    if (auto percent = toolbar_.ZoomBoxPercent()) {
        SetZoom(*percent);
    } else {
        status_.ShowFailure(L"Type a zoom percentage such as 150%.");
    }
}

void Commands::SetZoom(float percent) {
    if (Succeeded(L"SetZoom", viewer_->SetZoom(percent))) {
        status_.ShowMessage(L"Zoom set to " + std::to_wstring(static_cast<int>(percent + 0.5f)) +
                            L"%");
    }
    refreshPosition_();
}

void Commands::Search() {
    auto text = PromptForText(owner_, L"Search", L"Find in the document:", lastSearch_);
    if (!text || text->empty()) {
        return;
    }
    lastSearch_ = *text;
    com::Bstr searchFor(*text);
    if (Succeeded(L"Search", viewer_->Search(searchFor.Get()))) {
        status_.ShowMessage(L"Searching for \"" + *text + L"\"");
    }
}

void Commands::SaveCopy() {
    auto target = ChooseCopyTarget(owner_);
    if (!target) {
        return;
    }
    // strFile is [in, out]: the callee may replace the BSTR, so it is handed over and taken back.
    BSTR file = com::Bstr(*target).Detach();
    com::Bstr source(L""); // empty: the open document
    VARIANT_BOOL saved = VARIANT_FALSE;
    const HRESULT hr = viewer_->SaveCopy(&file, source.Get(), &saved);
    const com::Bstr written = com::Bstr::Attach(file);
    if (Confirmed(L"SaveCopy", hr, saved, L"Could not save a copy as " + *target)) {
        status_.ShowMessage(L"Saved a copy as " + written.ToString());
    }
}

// The caption arguments are [in, out] too; the defaults the type library gives are passed
// explicitly, as an early-binding caller must.
void Commands::ToggleRestriction(UINT command) {
    if (command == ID_RESTRICT_SAVE_KEYS) {
        VARIANT_BOOL blocked = VARIANT_FALSE;
        if (!Succeeded(L"DisableSaveKeys", viewer_->get_DisableSaveKeys(&blocked))) {
            return;
        }
        const VARIANT_BOOL next = blocked != VARIANT_FALSE ? VARIANT_FALSE : VARIANT_TRUE;
        if (Succeeded(L"DisableSaveKeys", viewer_->put_DisableSaveKeys(next))) {
            status_.ShowMessage(next != VARIANT_FALSE ? L"Shift+Ctrl+S is now blocked"
                                                      : L"Shift+Ctrl+S works again");
        }
        return;
    }
    const bool print = command == ID_RESTRICT_PRINT_DIALOG;
    bool& blocked = print ? printDialogBlocked_ : saveDialogBlocked_;
    HRESULT hr = S_OK;
    if (blocked) {
        hr = print ? viewer_->EnablePrintDialog() : viewer_->EnableSaveDialog();
    } else {
        BSTR caption = com::Bstr(print ? L"print" : L"save a copy...").Detach();
        hr = print ? viewer_->DisablePrintDialog(&caption) : viewer_->DisableSaveDialog(&caption);
        com::Bstr::Attach(caption);
    }
    const wchar_t* member = print ? (blocked ? L"EnablePrintDialog" : L"DisablePrintDialog")
                                  : (blocked ? L"EnableSaveDialog" : L"DisableSaveDialog");
    if (Succeeded(member, hr)) {
        blocked = !blocked;
        status_.ShowMessage(std::wstring(print ? L"The print dialog is " : L"The save dialog is ") +
                            (blocked ? L"now blocked" : L"allowed again"));
    }
}

void Commands::UpdateMenu(HMENU menu) const {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        bool checked = false;
        if (id == ID_RESTRICT_PRINT_DIALOG) {
            checked = printDialogBlocked_;
        } else if (id == ID_RESTRICT_SAVE_DIALOG) {
            checked = saveDialogBlocked_;
        } else if (id == ID_RESTRICT_SAVE_KEYS) {
            VARIANT_BOOL blocked = VARIANT_FALSE;
            checked = viewer_ && !busy_ && SUCCEEDED(viewer_->get_DisableSaveKeys(&blocked)) &&
                      blocked != VARIANT_FALSE;
        } else {
            checked = id == layoutChoice_ || id == pageModeChoice_ || id == viewModeChoice_;
        }
        if (id != static_cast<UINT>(-1)) {
            ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

} // namespace folivex::demo
