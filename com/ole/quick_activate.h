#pragma once
// IQuickActivate of com::OleControl: a container's one-call setup of site, view sink and events.

#include "com/ole/control_state.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstddef>

namespace folivex::com {

template <typename Derived>
class QuickActivateUnit : public IQuickActivate {
public:
    // Containers written before the structures grew pass them shorter (QACONTAINER without
    // the control site and service provider, QACONTROL without the pointer activation policy):
    // what lies past cbSize is absent and is neither read nor written.
    static constexpr ULONG kMinQuickContainerSize = offsetof(QACONTAINER, pUnkEventSink);
    static constexpr ULONG kMinQuickControlSize = offsetof(QACONTROL, dwPointerActivationPolicy);

    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override {
        if (!container || !control) {
            return E_POINTER;
        }
        if (container->cbSize < kMinQuickContainerSize || control->cbSize < kMinQuickControlSize) {
            return E_INVALIDARG;
        }
        const auto present = [&](std::size_t offset, std::size_t size) {
            return offset + size <= container->cbSize;
        };
        Self()->SetClientSite(container->pClientSite);
        if (container->pAdviseSink) {
            Self()->SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
        }
        control->dwMiscStatus = Derived::MiscStatus();
        control->dwViewStatus = 0;
        control->dwEventCookie = 0;
        control->dwPropNotifyCookie = 0;
        if (control->cbSize >= sizeof(QACONTROL)) {
            control->dwPointerActivationPolicy = 0;
        }
        if (present(offsetof(QACONTAINER, pUnkEventSink), sizeof(IUnknown*)) &&
            container->pUnkEventSink) {
            Self()->AdviseDefaultEvents(container->pUnkEventSink, &control->dwEventCookie);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override {
        return State().SetExtent(DVASPECT_CONTENT, size);
    }
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override {
        return State().GetExtent(DVASPECT_CONTENT, size);
    }

protected:
    ~QuickActivateUnit() = default;

private:
    Derived* Self() { return static_cast<Derived*>(this); }
    OleControlState& State() { return Self()->OleState(); }
};

} // namespace folivex::com
