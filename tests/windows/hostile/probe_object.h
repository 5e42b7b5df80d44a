#pragma once
// An object of the test's own, handed to the control as a DISPATCH or UNKNOWN argument. It
// counts its references and never frees itself, so after the calls the test can see whether the
// control kept or lost a reference it took.

#include <windows.h>
#include <oaidl.h>

namespace folivex::testing {

class ProbeObject : public IDispatch {
public:
    ULONG References() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    // Asked for its value (as a conversion to a string or number does), it answers a number.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (member != DISPID_VALUE) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (result) {
            ::VariantInit(result);
            result->vt = VT_I4;
            result->lVal = 3;
        }
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

} // namespace folivex::testing
