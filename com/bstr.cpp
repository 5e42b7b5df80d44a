#include "com/bstr.h"

namespace folivex::com {

HRESULT AssignBstr(BSTR* target, std::wstring_view text) {
    if (!target) {
        return E_POINTER;
    }
    BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) {
        return E_OUTOFMEMORY;
    }
    ::SysFreeString(*target);
    *target = copy;
    return S_OK;
}

HRESULT ReturnBstr(BSTR* target, std::wstring_view text) {
    if (!target) {
        return E_POINTER;
    }
    *target = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *target ? S_OK : E_OUTOFMEMORY;
}

} // namespace folivex::com
