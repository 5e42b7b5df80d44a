#pragma once
// The class factory for one creatable class. `T::Create()` returns a ComPtr<T> (or null).

#include "com/object.h"

namespace folivex::com {

template <typename T>
class ClassFactory : public Object<ClassFactory<T>, IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        ComPtr<T> instance = T::Create();
        if (!instance) {
            return E_OUTOFMEMORY;
        }
        return instance->QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            Module::Lock();
        } else {
            Module::Unlock();
        }
        return S_OK;
    }
};

template <typename T>
HRESULT GetClassObject(REFIID riid, void** object) {
    auto factory = Make<ClassFactory<T>>();
    if (!factory) {
        return E_OUTOFMEMORY;
    }
    return factory->QueryInterface(riid, object);
}

} // namespace folivex::com
