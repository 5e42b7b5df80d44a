// Selecting, copying and searching the document's text through the component's keyboard.
// Each member pumps the thread's messages while its keys are processed, so a host's timer or
// posted message may release the control meanwhile: the call holds it until it returns.

#include "control/win32_viewer.h"

#include "control/win32_viewer_parts.h"
#include "viewer_bridge/text_operations.h"
#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

HRESULT Viewer::SelectText() {
    KeepAlive hold(*this);
    TextOperations(*component_, parts_->keys, parts_->clipboard).SelectText();
    return S_OK;
}

HRESULT Viewer::DeselectText() {
    KeepAlive hold(*this);
    TextOperations(*component_, parts_->keys, parts_->clipboard).DeselectText();
    return S_OK;
}

HRESULT Viewer::CopyToClipboard() {
    KeepAlive hold(*this);
    TextOperations(*component_, parts_->keys, parts_->clipboard).CopyToClipboard();
    return S_OK;
}

HRESULT Viewer::CopyToString(BSTR* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = nullptr;
    KeepAlive hold(*this);
    const std::wstring text =
        TextOperations(*component_, parts_->keys, parts_->clipboard).CopyToString();
    return com::ReturnBstr(Result, text);
}

HRESULT Viewer::Search(BSTR strSearchFor) {
    KeepAlive hold(*this);
    TextOperations(*component_, parts_->keys, parts_->clipboard)
        .Search(com::Bstr::ToString(strSearchFor));
    return S_OK;
}

} // namespace folivex
