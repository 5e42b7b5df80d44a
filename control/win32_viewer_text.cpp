// Selecting, copying and searching the document's text through the component's keyboard.
// Each member pumps the thread's messages while its keys are processed, so a host's timer or
// posted message may release the control meanwhile: the call holds it until it returns.

#include "control/win32_viewer.h"

#include "control/win32_text_part.h"
#include "control/win32_viewer_keep_alive.h"
#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"

namespace folivex {

HRESULT Viewer::SelectText() {
    KeepAlive hold(*this);
    text_->On(*component_).SelectText();
    return S_OK;
}

HRESULT Viewer::DeselectText() {
    KeepAlive hold(*this);
    text_->On(*component_).DeselectText();
    return S_OK;
}

HRESULT Viewer::CopyToClipboard() {
    KeepAlive hold(*this);
    text_->On(*component_).CopyToClipboard();
    return S_OK;
}

HRESULT Viewer::CopyToString(BSTR* Result) {
    if (!Result) {
        return E_POINTER;
    }
    *Result = nullptr;
    KeepAlive hold(*this);
    const std::wstring text = text_->On(*component_).CopyToString();
    return com::ReturnBstr(Result, text);
}

HRESULT Viewer::Search(BSTR strSearchFor) {
    KeepAlive hold(*this);
    text_->On(*component_).Search(com::Bstr::ToString(strSearchFor));
    return S_OK;
}

} // namespace folivex
