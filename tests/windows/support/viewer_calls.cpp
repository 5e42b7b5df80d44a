#include "tests/windows/support/viewer_calls.h"

#include "tests/windows/support/test_window.h"

#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/excep_info.h"

#include <algorithm>

namespace folivex::testing {

ErrorText TakeErrorInfo() {
    ErrorText text;
    com::ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, &info) != S_OK || !info) {
        return text;
    }
    text.present = true;
    com::Bstr source;
    com::Bstr description;
    info->GetSource(source.Out());
    info->GetDescription(description.Out());
    text.source = source.ToString();
    text.description = description.ToString();
    return text;
}

HRESULT CallByName(IDispatch* dispatch, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                   VARIANT* result, EXCEPINFO* error) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(hr)) {
        std::reverse(args.begin(), args.end());
        DISPID putId = DISPID_PROPERTYPUT;
        const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
        DISPPARAMS params = {args.empty() ? nullptr : args.data(), put ? &putId : nullptr,
                             static_cast<UINT>(args.size()), put ? 1u : 0u};
        com::ExcepInfo ignored;
        UINT argError = 0;
        hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                              error ? error : ignored.Out(), &argError);
    }
    for (VARIANT& arg : args) {
        ::VariantClear(&arg);
    }
    return hr;
}

bool OpenDocument(_Viewer* viewer, const std::wstring& path) {
    com::Bstr text(path);
    VARIANT_BOOL result = VARIANT_FALSE;
    return SUCCEEDED(viewer->OpenPDF(text.Get(), &result)) && result == VARIANT_TRUE;
}

HRESULT LibraryCanUnloadNow() {
    HMODULE module = ::GetModuleHandleW(L"Folivex.dll");
    if (!module) {
        return S_OK;
    }
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload ? canUnload() : E_FAIL;
}

HRESULT WaitUntilLibraryCanUnload(DWORD milliseconds) {
    HRESULT answer = E_FAIL;
    PumpUntil([&] { return (answer = LibraryCanUnloadNow()) == S_OK; }, milliseconds);
    return answer;
}

} // namespace folivex::testing
