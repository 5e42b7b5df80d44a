#pragma once
// The demo's commands: each menu item, accelerator and toolbar button ends here, as one call
// (or a few) on the Viewer's early-bound interface, with every failure reported in plain words.

#include "status_bar.h"
#include "toolbar.h"

#include "interface/folivex_interface.h"

#include "com/com_ptr.h"

#include <windows.h>

#include <functional>
#include <string>

namespace folivex::demo {

class Commands {
public:
    // `refreshPosition` re-reads the page and zoom readouts after a command has run.
    Commands(HWND owner, StatusBar& status, Toolbar& toolbar,
             std::function<void()> refreshPosition);

    // The Viewer to drive, or null when it could not be created (every command then says so).
    void Bind(_Viewer* viewer) { viewer_ = viewer; }

    void Execute(UINT command);
    // Opens a path or an address; true when the Viewer reports it shown.
    bool Open(const std::wstring& pathOrAddress);
    // True while OpenPDF runs: the Viewer processes messages meanwhile, so menu commands and
    // the readout poll could otherwise call into it in the middle of an open.
    bool Busy() const { return busy_; }
    // The path or address of the document last opened, empty before the first.
    const std::wstring& Document() const { return document_; }
    // Sets the check marks of a menu that is about to open.
    void UpdateMenu(HMENU menu) const;

private:
    bool Succeeded(const wchar_t* member, HRESULT hr);
    // For members with a Boolean result: a False result is a failure too, in the given words.
    bool Confirmed(const wchar_t* member, HRESULT hr, VARIANT_BOOL result,
                   const std::wstring& whenFalse);
    bool ViewerReady();

    void GoToPage();
    void Zoom(bool in);
    void ApplyZoomBox();
    void SetZoom(float percent);
    void Search();
    void SaveCopy();
    void OpenAddress();
    void ToggleRestriction(UINT command);

    HWND owner_;
    StatusBar& status_;
    Toolbar& toolbar_;
    std::function<void()> refreshPosition_;
    _Viewer* viewer_ = nullptr; // owned by the main window, which outlives this object
    bool busy_ = false;
    std::wstring document_;
    std::wstring lastAddress_ = L"http://";
    std::wstring lastSearch_;
    // The Viewer has no getters for these modes and dialog blocks: the menu shows what the
    // user last chose in this run.
    UINT layoutChoice_ = 0;
    UINT pageModeChoice_ = 0;
    UINT viewModeChoice_ = 0;
    bool printDialogBlocked_ = false;
    bool saveDialogBlocked_ = false;
};

} // namespace folivex::demo
