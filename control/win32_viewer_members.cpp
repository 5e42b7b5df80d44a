// The members of _Viewer.

#include "control/win32_viewer.h"

#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

HRESULT Viewer::get_Path(BSTR* Path) {
    return com::AssignBstr(Path, path_);
}

HRESULT Viewer::put_Path(BSTR Path) {
    path_ = com::Bstr::ToString(Path);
    return S_OK;
}

HRESULT Viewer::BeginDownload(BSTR*, BSTR*, VARIANT_BOOL*) {
    return NotYetAvailable(L"BeginDownload");
}

HRESULT Viewer::IsReaderInstalled(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    // Creating the component's class is the test; the instance is released at once.
    *Result = VARIANT_FALSE;
    CLSID clsid;
    if (SUCCEEDED(::CLSIDFromProgID(ComponentHost::kProgId, &clsid))) {
        com::ComPtr<IUnknown> instance;
        if (SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                         IID_PPV_ARGS(&instance)))) {
            *Result = VARIANT_TRUE;
        }
    }
    return S_OK;
}

HRESULT Viewer::OpenPDF(BSTR, VARIANT_BOOL*) {
    return NotYetAvailable(L"OpenPDF");
}
HRESULT Viewer::Refresh() {
    return NotYetAvailable(L"Refresh");
}
HRESULT Viewer::SaveCopy(BSTR*, BSTR, VARIANT_BOOL*) {
    return NotYetAvailable(L"SaveCopy");
}
HRESULT Viewer::Search(BSTR) {
    return NotYetAvailable(L"Search");
}
HRESULT Viewer::SelectText() {
    return NotYetAvailable(L"SelectText");
}
HRESULT Viewer::CloseAcrobat(VARIANT_BOOL*) {
    return NotYetAvailable(L"CloseAcrobat");
}
HRESULT Viewer::CloseReader(VARIANT_BOOL*) {
    return NotYetAvailable(L"CloseReader");
}
HRESULT Viewer::CopyToClipboard() {
    return NotYetAvailable(L"CopyToClipboard");
}
HRESULT Viewer::CopyToString(BSTR*) {
    return NotYetAvailable(L"CopyToString");
}
HRESULT Viewer::DeselectText() {
    return NotYetAvailable(L"DeselectText");
}
HRESULT Viewer::PrintPDF() {
    return NotYetAvailable(L"PrintPDF");
}
HRESULT Viewer::PrintAll() {
    return NotYetAvailable(L"PrintAll");
}
HRESULT Viewer::PrintAllFit(VARIANT_BOOL) {
    return NotYetAvailable(L"PrintAllFit");
}
HRESULT Viewer::PrintPages(LONG, LONG) {
    return NotYetAvailable(L"PrintPages");
}
HRESULT Viewer::PrintPagesFit(LONG, LONG, VARIANT_BOOL) {
    return NotYetAvailable(L"PrintPagesFit");
}
HRESULT Viewer::PrintWithDialog() {
    return NotYetAvailable(L"PrintWithDialog");
}
HRESULT Viewer::GotoFirstPage() {
    return NotYetAvailable(L"GotoFirstPage");
}
HRESULT Viewer::GotoLastPage() {
    return NotYetAvailable(L"GotoLastPage");
}
HRESULT Viewer::GotoNextPage() {
    return NotYetAvailable(L"GotoNextPage");
}
HRESULT Viewer::GotoPreviousPage() {
    return NotYetAvailable(L"GotoPreviousPage");
}
HRESULT Viewer::SetCurrentPage(LONG) {
    return NotYetAvailable(L"SetCurrentPage");
}
HRESULT Viewer::ShowScrollBars(VARIANT_BOOL) {
    return NotYetAvailable(L"ShowScrollBars");
}
HRESULT Viewer::ShowToolbar(VARIANT_BOOL, VARIANT_BOOL) {
    return NotYetAvailable(L"ShowToolbar");
}
HRESULT Viewer::EnableNavigationBar() {
    return NotYetAvailable(L"EnableNavigationBar");
}
HRESULT Viewer::EnableToolbar() {
    return NotYetAvailable(L"EnableToolbar");
}
HRESULT Viewer::SetZoom(float) {
    return NotYetAvailable(L"SetZoom");
}

HRESULT Viewer::put_Source(BSTR Source) {
    return component_->PutSource(com::Bstr::ToString(Source));
}

HRESULT Viewer::get_Source(BSTR* Source) {
    if (!Source) {
        return E_POINTER;
    }
    std::wstring value;
    const HRESULT hr = component_->GetSource(value);
    if (FAILED(hr)) {
        return hr;
    }
    return com::AssignBstr(Source, value);
}

HRESULT Viewer::put_TempPath(BSTR) {
    return NotYetAvailable(L"TempPath");
}
HRESULT Viewer::get_TempPath(BSTR* TempPath) {
    return com::AssignBstr(TempPath, tempPath_);
}
HRESULT Viewer::SetCurrentHighlight(LONG, LONG, LONG, LONG) {
    return NotYetAvailable(L"SetCurrentHighlight");
}
HRESULT Viewer::SetLayoutMode(LayoutMode) {
    return NotYetAvailable(L"SetLayoutMode");
}
HRESULT Viewer::SetNamedDest(BSTR) {
    return NotYetAvailable(L"SetNamedDest");
}
HRESULT Viewer::SetPageMode(PageMode) {
    return NotYetAvailable(L"SetPageMode");
}
HRESULT Viewer::SetView(ViewMode) {
    return NotYetAvailable(L"SetView");
}
HRESULT Viewer::SetViewRect(float, float, float, float) {
    return NotYetAvailable(L"SetViewRect");
}
HRESULT Viewer::SetViewScroll(ViewMode, float) {
    return NotYetAvailable(L"SetViewScroll");
}
HRESULT Viewer::SetZoomScroll(float, float, float) {
    return NotYetAvailable(L"SetZoomScroll");
}
HRESULT Viewer::GotoPreviousView() {
    return NotYetAvailable(L"GotoPreviousView");
}
HRESULT Viewer::GotoNextView() {
    return NotYetAvailable(L"GotoNextView");
}

HRESULT Viewer::get_hwnd(LONG* hwnd) {
    if (!hwnd) {
        return E_POINTER;
    }
    // Window handles fit in 32 bits on 64-bit Windows too.
    *hwnd = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window_.Get()));
    return S_OK;
}

HRESULT Viewer::DisableToolbar() {
    return NotYetAvailable(L"DisableToolbar");
}
HRESULT Viewer::DisableNavigationBar() {
    return NotYetAvailable(L"DisableNavigationBar");
}
HRESULT Viewer::get_Page(LONG*) {
    return NotYetAvailable(L"Page");
}
HRESULT Viewer::get_ZoomPct(short*) {
    return NotYetAvailable(L"ZoomPct");
}

HRESULT Viewer::get_ReaderVersion(short* ReaderVersion) {
    if (!ReaderVersion) {
        return E_POINTER;
    }
    *ReaderVersion = readerVersion_;
    return S_OK;
}

HRESULT Viewer::put_ReaderVersion(short ReaderVersion) {
    readerVersion_ = ReaderVersion;
    return S_OK;
}

HRESULT Viewer::get_PageTotal(LONG*) {
    return NotYetAvailable(L"PageTotal");
}
HRESULT Viewer::DisablePrintDialog(BSTR*) {
    return NotYetAvailable(L"DisablePrintDialog");
}
HRESULT Viewer::DisableSaveDialog(BSTR*) {
    return NotYetAvailable(L"DisableSaveDialog");
}
HRESULT Viewer::EnablePrintDialog() {
    return NotYetAvailable(L"EnablePrintDialog");
}
HRESULT Viewer::EnableSaveDialog() {
    return NotYetAvailable(L"EnableSaveDialog");
}
HRESULT Viewer::get_DisableSaveKeys(VARIANT_BOOL*) {
    return NotYetAvailable(L"DisableSaveKeys");
}
HRESULT Viewer::put_DisableSaveKeys(VARIANT_BOOL) {
    return NotYetAvailable(L"DisableSaveKeys");
}

} // namespace folivex
