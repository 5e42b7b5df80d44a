#pragma once
// The base of every COM object: reference counting, QueryInterface from the list of interfaces
// the class derives from, and the server's object count.
//
//   class Thing : public com::Object<Thing, IFoo, IBar> { ... };
//   ComPtr<Thing> thing = com::Make<Thing>(args...);
//
// A class answers for further interfaces (bases of those it derives from, such as IPersist or
// IOleWindow) by defining `void* QueryExtraInterface(REFIID)`.

#include "com/com_ptr.h"
#include "com/module.h"

#include <atomic>
#include <new>
#include <utility>

namespace folivex::com {

// How a listed base answers QueryInterface: a plain interface for its own IID; a base that
// bundles several interfaces (see dispatch.h, ole_control.h) specialises this.
template <typename Base>
struct InterfaceId {
    static void* Query(Base* self, REFIID riid) {
        return IsEqualIID(riid, __uuidof(Base)) ? self : nullptr;
    }
};

template <typename Derived, typename First, typename... Rest>
class Object : public First, public Rest... {
public:
    Object() { Module::ObjectCreated(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = static_cast<First*>(this);
        } else if (!(TryCast<First>(riid, object) || (TryCast<Rest>(riid, object) || ...))) {
            *object = static_cast<Derived*>(this)->QueryExtraInterface(riid);
        }
        if (!*object) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete static_cast<Derived*>(this);
        }
        return left;
    }

    // The object as IUnknown, for passing on.
    IUnknown* Unknown() { return static_cast<First*>(this); }

protected:
    virtual ~Object() { Module::ObjectDestroyed(); }
    // The references held now; for an object that holds some on itself to tell when the others
    // are gone.
    ULONG ReferenceCount() const { return references_; }
    void* QueryExtraInterface(REFIID) { return nullptr; }

private:
    template <typename Base>
    bool TryCast(REFIID riid, void** object) {
        *object = InterfaceId<Base>::Query(static_cast<Base*>(this), riid);
        return *object != nullptr;
    }

    std::atomic<ULONG> references_{0};
};

// Creates an object with one reference, held by the returned pointer.
template <typename T, typename... Args>
ComPtr<T> Make(Args&&... args) {
    ComPtr<T> result;
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (object) {
        result = object; // the ComPtr takes the first reference
    }
    return result;
}

} // namespace folivex::com
