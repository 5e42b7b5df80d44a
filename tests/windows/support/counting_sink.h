#pragma once
// An event sink that takes every event and only counts the calls it gets: for tests of how a
// sink is connected rather than of what the events carry.

#include "com/object.h"

#include <windows.h>
#include <oaidl.h>

namespace folivex::testing {

class CountingSink : public com::Object<CountingSink, IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        ++calls;
        return S_OK;
    }
    int calls = 0;
};

} // namespace folivex::testing
