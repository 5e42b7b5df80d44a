// The restrictions: dialog suppression and save keys.

#include "control/win32_viewer.h"

#include "control/win32_restrictions_part.h"

#include "com/bstr.h"

namespace folivex {
namespace {

// An omitted optional caption arrives as its declared default; a null pointer gets it too.
std::wstring CaptionOr(BSTR* caption, const wchar_t* fallback) {
    return caption ? com::Bstr::ToString(*caption) : std::wstring(fallback);
}

} // namespace

HRESULT Viewer::DisablePrintDialog(BSTR* strWindowCaption) {
    restrictions_->DisablePrintDialog(CaptionOr(strWindowCaption, kDefaultPrintDialogCaption));
    return S_OK;
}

HRESULT Viewer::DisableSaveDialog(BSTR* strWindowCaption) {
    restrictions_->DisableSaveDialog(CaptionOr(strWindowCaption, kDefaultSaveDialogCaption));
    return S_OK;
}

HRESULT Viewer::EnablePrintDialog() {
    restrictions_->EnablePrintDialog();
    return S_OK;
}

HRESULT Viewer::EnableSaveDialog() {
    restrictions_->EnableSaveDialog();
    return S_OK;
}

HRESULT Viewer::get_DisableSaveKeys(VARIANT_BOOL* DisableSaveKeys) {
    if (!DisableSaveKeys) {
        return E_POINTER;
    }
    *DisableSaveKeys = restrictions_->DisableSaveKeys();
    return S_OK;
}

HRESULT Viewer::put_DisableSaveKeys(VARIANT_BOOL DisableSaveKeys) {
    restrictions_->PutDisableSaveKeys(DisableSaveKeys);
    return S_OK;
}

} // namespace folivex
