// The restrictions (dialog suppression, save keys) and the closing of stand-alone viewer
// applications.

#include "control/win32_viewer.h"

#include "control/win32_viewer_parts.h"
#include "reader_windows/stand_alone_windows.h"

#include "com/bstr.h"

namespace folivex {
namespace {

// An omitted optional caption arrives as its declared default; a null pointer gets it too.
std::wstring CaptionOr(BSTR* caption, const wchar_t* fallback) {
    return caption ? com::Bstr::ToString(*caption) : std::wstring(fallback);
}

} // namespace

HRESULT Viewer::DisablePrintDialog(BSTR* strWindowCaption) {
    Parts& parts = *parts_;
    parts.dialogs.DisablePrintDialog(CaptionOr(strWindowCaption, kDefaultPrintDialogCaption));
    parts.dialogWatch.Update();
    parts.state.PrintDialogCaption = parts.dialogs.PrintDialogCaption();
    return S_OK;
}

HRESULT Viewer::DisableSaveDialog(BSTR* strWindowCaption) {
    Parts& parts = *parts_;
    parts.dialogs.DisableSaveDialog(CaptionOr(strWindowCaption, kDefaultSaveDialogCaption));
    parts.dialogWatch.Update();
    parts.state.SaveDialogCaption = parts.dialogs.SaveDialogCaption();
    return S_OK;
}

HRESULT Viewer::EnablePrintDialog() {
    parts_->dialogs.EnablePrintDialog();
    parts_->dialogWatch.Update();
    return S_OK;
}

HRESULT Viewer::EnableSaveDialog() {
    parts_->dialogs.EnableSaveDialog();
    parts_->dialogWatch.Update();
    return S_OK;
}

HRESULT Viewer::get_DisableSaveKeys(VARIANT_BOOL* DisableSaveKeys) {
    if (!DisableSaveKeys) {
        return E_POINTER;
    }
    *DisableSaveKeys = parts_->saveKeys.Get();
    return S_OK;
}

HRESULT Viewer::put_DisableSaveKeys(VARIANT_BOOL DisableSaveKeys) {
    parts_->saveKeys.Put(DisableSaveKeys);
    parts_->state.DisableSaveKeys = parts_->saveKeys.Get();
    return S_OK;
}

HRESULT Viewer::CloseAcrobat(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = folivex::CloseAcrobat(parts_->topLevelWindows);
    return S_OK;
}

HRESULT Viewer::CloseReader(VARIANT_BOOL* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = folivex::CloseReader(parts_->topLevelWindows);
    return S_OK;
}

} // namespace folivex
