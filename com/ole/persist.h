#pragma once
// IPersist with IPersistStreamInit, IPersistPropertyBag and IPersistStorage of com::OleControl:
// the control keeps no saved state, so loading and saving succeed and change nothing.

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

template <typename Derived>
class PersistUnit : public IPersistStreamInit, public IPersistPropertyBag, public IPersistStorage {
public:
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
        if (!id) {
            return E_POINTER;
        }
        *id = Derived::ClassId();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }

    // --- IPersistStreamInit
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
        if (!size) {
            return E_POINTER;
        }
        size->QuadPart = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }

    // --- IPersistPropertyBag
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag*, IErrorLog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag*, BOOL, BOOL) override { return S_OK; }

    // --- IPersistStorage
    HRESULT STDMETHODCALLTYPE InitNew(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Load(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IStorage*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

protected:
    ~PersistUnit() = default;
};

} // namespace folivex::com
