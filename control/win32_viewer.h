#pragma once
// The Viewer control object: the COM class a host creates as "Folivex.Viewer".

#include "interface/folivex_interface.h"

#include "control/viewer_state.h"

#include "com/connection_point.h"
#include "com/dispatch.h"
#include "com/object.h"
#include "com/ole_control.h"
#include "com/unique_handle.h"

#include <memory>
#include <string>

namespace folivex {

class ComponentHost;
class DownloadEvents;
class DocumentPart;
class ReaderWindowsPart;
class RestrictionsPart;
class TextPart;

class Viewer : public com::Object<Viewer, com::Dispatch<Viewer, _Viewer>, com::OleControl<Viewer>,
                                  ISupportErrorInfo, IConnectionPointContainer> {
public:
    static com::ComPtr<Viewer> Create();
    Viewer();

    // What com::OleControl needs of its control.
    static const CLSID& ClassId();
    static DWORD MiscStatus();
    HWND ControlWindow() { return window_.Get(); }
    bool AttachToParent(HWND parent, const RECT& position);
    void DetachFromParent();
    void DrawContent(HDC dc, const RECT& bounds);
    HRESULT ClassTypeInfo(ITypeInfo** info);
    const IID& DefaultEventInterface();
    HRESULT AdviseDefaultEvents(IUnknown* sink, DWORD* cookie);
    void OnClientSiteChanged();
    // A key message from the container's loop while UI active: offered to the component.
    bool OfferAccelerator(MSG& message);

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // _Viewer, in the order of its function table.
    HRESULT STDMETHODCALLTYPE get_Path(BSTR* Path) override;
    HRESULT STDMETHODCALLTYPE put_Path(BSTR Path) override;
    HRESULT STDMETHODCALLTYPE BeginDownload(BSTR* strURL, BSTR* strFile,
                                            VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE IsReaderInstalled(VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE OpenPDF(BSTR strPath, VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE SaveCopy(BSTR* strFile, BSTR strSourcePDF,
                                       VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE Search(BSTR strSearchFor) override;
    HRESULT STDMETHODCALLTYPE SelectText() override;
    HRESULT STDMETHODCALLTYPE CloseAcrobat(VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE CloseReader(VARIANT_BOOL* Result) override;
    HRESULT STDMETHODCALLTYPE CopyToClipboard() override;
    HRESULT STDMETHODCALLTYPE CopyToString(BSTR* Result) override;
    HRESULT STDMETHODCALLTYPE DeselectText() override;
    HRESULT STDMETHODCALLTYPE PrintPDF() override;
    HRESULT STDMETHODCALLTYPE PrintAll() override;
    HRESULT STDMETHODCALLTYPE PrintAllFit(VARIANT_BOOL blnShrinkToFit) override;
    HRESULT STDMETHODCALLTYPE PrintPages(LONG lngFrom, LONG lngTo) override;
    HRESULT STDMETHODCALLTYPE PrintPagesFit(LONG lngFrom, LONG lngTo,
                                            VARIANT_BOOL blnShrinkToFit) override;
    HRESULT STDMETHODCALLTYPE PrintWithDialog() override;
    HRESULT STDMETHODCALLTYPE GotoFirstPage() override;
    HRESULT STDMETHODCALLTYPE GotoLastPage() override;
    HRESULT STDMETHODCALLTYPE GotoNextPage() override;
    HRESULT STDMETHODCALLTYPE GotoPreviousPage() override;
    HRESULT STDMETHODCALLTYPE SetCurrentPage(LONG lngPage) override;
    HRESULT STDMETHODCALLTYPE ShowScrollBars(VARIANT_BOOL blnShow) override;
    HRESULT STDMETHODCALLTYPE ShowToolbar(VARIANT_BOOL blnShow,
                                          VARIANT_BOOL blnCloseToolbar) override;
    HRESULT STDMETHODCALLTYPE EnableNavigationBar() override;
    HRESULT STDMETHODCALLTYPE EnableToolbar() override;
    HRESULT STDMETHODCALLTYPE SetZoom(float sngPercent) override;
    HRESULT STDMETHODCALLTYPE put_Source(BSTR Source) override;
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* Source) override;
    HRESULT STDMETHODCALLTYPE put_TempPath(BSTR TempPath) override;
    HRESULT STDMETHODCALLTYPE get_TempPath(BSTR* TempPath) override;
    HRESULT STDMETHODCALLTYPE SetCurrentHighlight(LONG lngLeft, LONG lngTop, LONG lngRight,
                                                  LONG lngBottom) override;
    HRESULT STDMETHODCALLTYPE SetLayoutMode(LayoutMode lngLayoutMode) override;
    HRESULT STDMETHODCALLTYPE SetNamedDest(BSTR strNamedDest) override;
    HRESULT STDMETHODCALLTYPE SetPageMode(PageMode lngPageMode) override;
    HRESULT STDMETHODCALLTYPE SetView(ViewMode lngViewMode) override;
    HRESULT STDMETHODCALLTYPE SetViewRect(float sngLeft, float sngTop, float sngWidth,
                                          float sngHeight) override;
    HRESULT STDMETHODCALLTYPE SetViewScroll(ViewMode lngViewMode, float sngOffset) override;
    HRESULT STDMETHODCALLTYPE SetZoomScroll(float sngPercent, float sngLeft, float sngTop) override;
    HRESULT STDMETHODCALLTYPE GotoPreviousView() override;
    HRESULT STDMETHODCALLTYPE GotoNextView() override;
    HRESULT STDMETHODCALLTYPE get_hwnd(LONG* hwnd) override;
    HRESULT STDMETHODCALLTYPE DisableToolbar() override;
    HRESULT STDMETHODCALLTYPE DisableNavigationBar() override;
    HRESULT STDMETHODCALLTYPE get_Page(LONG* Page) override;
    HRESULT STDMETHODCALLTYPE get_ZoomPct(short* ZoomPct) override;
    HRESULT STDMETHODCALLTYPE get_ReaderVersion(short* ReaderVersion) override;
    HRESULT STDMETHODCALLTYPE put_ReaderVersion(short ReaderVersion) override;
    HRESULT STDMETHODCALLTYPE get_PageTotal(LONG* PageTotal) override;
    HRESULT STDMETHODCALLTYPE DisablePrintDialog(BSTR* strWindowCaption) override;
    HRESULT STDMETHODCALLTYPE DisableSaveDialog(BSTR* strWindowCaption) override;
    HRESULT STDMETHODCALLTYPE EnablePrintDialog() override;
    HRESULT STDMETHODCALLTYPE EnableSaveDialog() override;
    HRESULT STDMETHODCALLTYPE get_DisableSaveKeys(VARIANT_BOOL* DisableSaveKeys) override;
    HRESULT STDMETHODCALLTYPE put_DisableSaveKeys(VARIANT_BOOL DisableSaveKeys) override;

    ~Viewer() override;

private:
    class OpenSession;
    class KeepAlive;
    class Surface;
    class DownloadEventSink;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Keyboard focus and activation (win32_viewer_focus.cpp).
    bool FocusHandlingLive() const;
    void ConnectComponentNotifications();
    bool WithinComponent(HWND window) const;
    // A key message aimed into the component, offered to its active object as a container's
    // loop would; true when the component took it. The text members' keys go this way too.
    bool OfferKeyToComponent(MSG& message);
    bool DeliverKeyDialogNavigationWouldTake(MSG& message);
    void OnSetFocus(HWND previous);
    void OnKillFocus(HWND next);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    bool CreateWindows();
    void Initialize();
    void Terminate();
    void Resize();
    com::ComPtr<IServiceProvider> ContainerServices();
    // True once the container closed the control or only the control's own calls still hold it.
    bool Closed() const;
    // Pumps the messages a wait lets through; WM_QUIT is posted again and ends the waits.
    // Stops early, leaving the rest queued, once `stop` (when given) says so after a message.
    void ProcessPendingMessages(bool (*stop)(void*) = nullptr, void* context = nullptr);
    // Resume-next members that need the component return at once when it is missing.
    bool HasComponent() const;

    // The download events; handlers may change by-reference values, which only
    // DownloadStarted's string passes back to the caller.
    std::unique_ptr<DownloadEvents> MakeDownloadEvents();
    void FireEvent(DISPID id, VARIANTARG* argsLastFirst, UINT count);
    void FireDownloadStarted(BSTR* saveFile);
    void FireDownloadProgress(LONG curBytes, LONG maxBytes, const std::wstring& saveFile);
    void FireDownloadError(const std::wstring& saveFile);
    void FireDownloadComplete(LONG maxBytes, const std::wstring& saveFile);

    // Our own automation error, with the description a host shows.
    HRESULT RaiseViewerError(HRESULT hr, const wchar_t* description);

    com::UniqueWindow parking_;    // hidden top-level window holding the control when unsited
    com::UniqueWindow window_;     // the control's own window
    com::UniqueWindow coverPanel_; // Picture1
    std::unique_ptr<ComponentHost> component_; // AcroPDF1
    com::ConnectionPoints connectionPoints_;

    ViewerState state_;
    std::unique_ptr<Surface> surface_;
    std::unique_ptr<DownloadEvents> downloadEvents_; // outlives the downloader that raises them
    // One part per subsystem the control drives, each reached only by the members of its own
    // subsystem. Held apart so that termination can end them before the windows they use.
    std::unique_ptr<DocumentPart> documents_;
    std::unique_ptr<RestrictionsPart> restrictions_; // Timer1, Timer2
    std::unique_ptr<ReaderWindowsPart> readerWindows_;
    std::unique_ptr<TextPart> text_;
    // True once the thread's message loop is being left (WM_QUIT met inside a wait).
    bool quitting_ = false;
    // How many calls keep the control alive through a reference of their own.
    ULONG ownReferences_ = 0;
};

} // namespace folivex
