#pragma once
// IProvideClassInfo and IProvideClassInfo2 of com::OleControl: the coclass's type information
// and the default event interface, for containers that connect events by themselves.

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

template <typename Derived>
class ProvideClassInfoUnit : public IProvideClassInfo2 {
public:
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
        if (!info) {
            return E_POINTER;
        }
        *info = nullptr;
        return Self()->ClassTypeInfo(info);
    }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
        if (!guid) {
            return E_POINTER;
        }
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
            *guid = GUID_NULL;
            return E_INVALIDARG;
        }
        *guid = Self()->DefaultEventInterface();
        return S_OK;
    }

protected:
    ~ProvideClassInfoUnit() = default;

private:
    Derived* Self() { return static_cast<Derived*>(this); }
};

} // namespace folivex::com
