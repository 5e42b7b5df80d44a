#pragma once
// IOleObject of com::OleControl: the client site, verbs, extent, advise sinks and MiscStatus.

#include "com/com_ptr.h"
#include "com/ole/control_state.h"

#include <ocidl.h>
#include <olectl.h>

namespace folivex::com {

template <typename Derived>
class OleObjectUnit : public IOleObject {
public:
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        if (!site && State().inPlaceActive) {
            Self()->InPlaceDeactivate();
        }
        State().clientSite = site;
        Self()->OnClientSiteChanged();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        if (!site) {
            return E_POINTER;
        }
        *site = State().clientSite.Get();
        if (*site) {
            (*site)->AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override {
        State().closed = true;
        Self()->InPlaceDeactivate();
        if (State().adviseHolder) {
            State().adviseHolder->SendOnClose();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker) {
            *moniker = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override {
        if (data) {
            *data = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                     LPCRECT position) override {
        IOleClientSite* site = activeSite ? activeSite : State().clientSite.Get();
        switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return Self()->InPlaceActivate(site, position, false);
        case OLEIVERB_UIACTIVATE:
            return Self()->InPlaceActivate(site, position, true, true);
        case OLEIVERB_HIDE:
            if (HWND window = Self()->ControlWindow()) {
                ::ShowWindow(window, SW_HIDE);
            }
            return S_OK;
        case OLEIVERB_DISCARDUNDOSTATE:
            return S_OK;
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
        }
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override {
        return ::OleRegEnumVerbs(Derived::ClassId(), verbs);
    }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override {
        if (!id) {
            return E_POINTER;
        }
        *id = Derived::ClassId();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override {
        return ::OleRegGetUserType(Derived::ClassId(), form, type);
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override {
        return State().SetExtent(aspect, size);
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override {
        return State().GetExtent(aspect, size);
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override {
        ComPtr<IOleAdviseHolder>& holder = State().adviseHolder;
        if (!holder && FAILED(::CreateOleAdviseHolder(&holder))) {
            return E_OUTOFMEMORY;
        }
        return holder->Advise(sink, connection);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override {
        const ComPtr<IOleAdviseHolder>& holder = State().adviseHolder;
        return holder ? holder->Unadvise(connection) : OLE_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override {
        if (advises) {
            *advises = nullptr;
        }
        const ComPtr<IOleAdviseHolder>& holder = State().adviseHolder;
        return holder ? holder->EnumAdvise(advises) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override {
        if (!status) {
            return E_POINTER;
        }
        *status = aspect == DVASPECT_CONTENT ? Derived::MiscStatus() : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

protected:
    ~OleObjectUnit() = default;

private:
    Derived* Self() { return static_cast<Derived*>(this); }
    OleControlState& State() { return Self()->OleState(); }
};

} // namespace folivex::com
