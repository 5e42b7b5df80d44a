#pragma once
// The stand-in PDF viewer component: a windowed ActiveX control registered as "AcroPDF.PDF" in
// the test prefixes only. It accepts the viewer members by number, writes every call it
// receives to a journal, grows the viewer's child-window tree in either layout, and shows a
// document view window some time after each load request. Its settings come from environment
// variables read at each call (see README.md).

#include "com/object.h"
#include "com/ole_control.h"
#include "com/unique_handle.h"

#include <docobj.h>

#include <cstdint>
#include <string>

namespace folivex::standin {

// {06DF2A85-142B-4782-AC6A-C791454AE1F1}
extern const CLSID kStandInClassId;

class StandIn
    : public com::Object<StandIn, IDispatch, com::OleControl<StandIn>, IOleCommandTarget> {
public:
    static com::ComPtr<StandIn> Create();
    StandIn();
    ~StandIn() override;

    // What com::OleControl needs of its control.
    static const CLSID& ClassId() { return kStandInClassId; }
    static DWORD MiscStatus();
    HWND ControlWindow() { return window_.Get(); }
    bool AttachToParent(HWND parent, const RECT& position);
    void DetachFromParent();
    void DrawContent(HDC dc, const RECT& bounds);

    // The control whose document view `view` is, or nullptr.
    static StandIn* OwnerOfDocumentView(HWND view);
    // The document view shows the current page as a sheet with its page number and the text
    // of that page, scaled by the zoom, so that a person can see which page is shown.
    void PaintDocument(HWND view, HDC dc) const;
    HRESULT ClassTypeInfo(ITypeInfo**) { return E_NOTIMPL; }
    const IID& DefaultEventInterface() { return IID_NULL; }
    HRESULT AdviseDefaultEvents(IUnknown*, DWORD*) { return CONNECT_E_CANNOTCONNECT; }
    void OnClientSiteChanged() {}
    // With FOLIVEX_STANDIN_KEYS=accelerator the text chords are taken here only.
    bool OfferAccelerator(MSG& message);

    // IDispatch, by member number only: there are no names and no type information, so that
    // what a caller sends arrives here untouched.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    // IOleCommandTarget: the generic print request.
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD commands[],
                                          OLECMDTEXT* text) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD option, VARIANT* in,
                                   VARIANT* out) override;

    // IOleObject::Close: a closed viewer lets go of the document it held open.
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override;

private:
    struct LibraryTraits {
        using Handle = HMODULE;
        static Handle Invalid() { return nullptr; }
        static void Close(Handle h) { ::FreeLibrary(h); }
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void StartDocumentTimer();
    // Key messages of the focused control: the text chords (unless they are accelerators),
    // Shift+Ctrl+S, and the navigation keys.
    bool OnKey(UINT key);
    // Ctrl+A, Shift+Ctrl+A, Ctrl+C, Shift+Ctrl+F, journaled with the way they came.
    bool OnTextChord(UINT key, std::uint32_t path);
    // In accelerator mode: UI activation and the container told of the focus, as in-place
    // active controls commonly do.
    void OnFocusChange(bool gotFocus, HWND other);
    // Runs a modal dialog titled `title`, owned by the top-level window the control sits in,
    // journaling its events under `name`. False when no dialog could be made.
    bool RunDialog(const wchar_t* title, const wchar_t* name);
    // Member 15: the print dialog, or only the journal line when the dialog is switched off.
    HRESULT PrintWithDialog();
    bool CopyText();
    void OpenSearch(std::uint32_t path);
    static LRESULT CALLBACK SearchBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT CallMember(DISPID member, WORD flags, const DISPPARAMS& params, VARIANT* result,
                       UINT* argumentError);
    HRESULT Load(const std::wstring& path);
    // Rebuilds the toolbar windows when the layout or page-box class setting changed.
    void ApplyLayoutSettings();
    void BuildTree();
    void DestroyTree();
    void ShowDocumentView();
    // Lays the navigation bar, the side views and the document view out over the control.
    void FitDocumentView();
    void UpdatePageBox();
    void UpdateZoomBox();
    HWND LiveChild(HWND window) const;

    com::UniqueHandle<LibraryTraits> richEdit_;
    com::UniqueWindow window_;
    com::WindowTimer documentTimer_;
    // Opens the save dialog once the keystrokes of its chord have all been retrieved.
    com::WindowTimer saveDialogTimer_;

    // The layout the tree was built in.
    bool builtNewLayout_ = true;
    std::wstring builtPageBoxClass_;
    bool treeBuilt_ = false;

    // Windows of the tree that members update; children of window_, which owns them (a
    // toolbar window may also be closed by a WM_CLOSE, so they are checked before use).
    HWND easel_ = nullptr;
    HWND pageBox_ = nullptr;
    HWND zoomBox_ = nullptr;
    HWND documentView_ = nullptr;
    HWND searchBox_ = nullptr;

    std::wstring source_;
    // The loaded file, held open when the settings ask for it.
    com::UniqueFile heldDocument_;
    bool documentLoaded_ = false;
    bool documentShown_ = false;
    bool documentPending_ = false; // loaded, its view not shown yet
    bool selected_ = false;        // all text selected
    std::wstring text_;            // what the document's pages show
    bool toolbarVisible_ = true;
    int pageCount_ = 1;
    int page_ = 1;
    int zoomPercent_ = 100;
};

} // namespace folivex::standin
