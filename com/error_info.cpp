#include "com/error_info.h"

#include "com/com_ptr.h"
#include "com/excep_info.h"

namespace folivex::com {

HRESULT RaiseError(HRESULT hr, REFGUID interfaceId, const wchar_t* source,
                   const wchar_t* description) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(&create))) {
        create->SetGUID(interfaceId);
        create->SetSource(const_cast<LPOLESTR>(source ? source : L""));
        create->SetDescription(const_cast<LPOLESTR>(description ? description : L""));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) {
            ::SetErrorInfo(0, info.Get());
        }
    }
    return hr;
}

HRESULT RaiseFromExcepInfo(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn) {
        info.pfnDeferredFillIn(&info);
        info.pfnDeferredFillIn = nullptr;
    }
    HRESULT hr = info.scode;
    if (!hr && info.wCode) {
        // A code-only exception: automation reports it as the matching custom HRESULT.
        hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, info.wCode);
    }
    if (SUCCEEDED(hr)) {
        hr = DISP_E_EXCEPTION;
    }
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(&create))) {
        create->SetGUID(GUID_NULL);
        create->SetSource(info.bstrSource ? info.bstrSource : const_cast<LPOLESTR>(L""));
        create->SetDescription(info.bstrDescription ? info.bstrDescription
                                                    : const_cast<LPOLESTR>(L""));
        if (info.bstrHelpFile) {
            create->SetHelpFile(info.bstrHelpFile);
        }
        create->SetHelpContext(info.dwHelpContext);
        ComPtr<IErrorInfo> errorInfo;
        if (SUCCEEDED(create.As(&errorInfo))) {
            ::SetErrorInfo(0, errorInfo.Get());
        }
    }
    ClearExcepInfo(info);
    return hr;
}

void ClearError() {
    ::SetErrorInfo(0, nullptr);
}

} // namespace folivex::com
