#include "tests/windows/support/viewer_calls.h"

#include "tests/windows/support/test_window.h"

#include "com/bstr.h"
#include "com/com_ptr.h"

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
