#pragma once
// The container-facing half of a windowed ActiveX control, written once: IOleObject, in-place
// activation, IOleControl, the view object, persistence (nothing is persisted), quick
// activation and class information. List it as one base of com::Object:
//
//   class Thing : public com::Object<Thing, com::Dispatch<Thing, IThing>, com::OleControl<Thing>>
//
// The derived class supplies:
//   static const CLSID& ClassId();  static DWORD MiscStatus();
//   HWND ControlWindow();                              // the control's window, or null
//   bool AttachToParent(HWND parent, const RECT& pos); // in-place activation: move into parent
//   void DetachFromParent();                           // deactivation: park the window again
//   void DrawContent(HDC dc, const RECT& bounds);      // IViewObject::Draw
//   HRESULT ClassTypeInfo(ITypeInfo** info);           // the coclass's type information
//   const IID& DefaultEventInterface();
//   HRESULT AdviseDefaultEvents(IUnknown* sink, DWORD* cookie);
//   void OnClientSiteChanged();                        // after SetClientSite
//   bool OfferAccelerator(MSG& message);               // a key message: true when it took it
// and may call ClientSite(), InPlaceActive(), UIActive(), ActivateUI(), FocusEntered() and
// FocusLeft().

#include "com/com_ptr.h"
#include "com/object.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstddef>
#include <utility>

namespace folivex::com {

template <typename Derived>
class OleControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IOleControl,
                   public IViewObject2,
                   public IPersistStreamInit,
                   public IPersistPropertyBag,
                   public IPersistStorage,
                   public IQuickActivate,
                   public IProvideClassInfo2 {
public:
    // The modifier flags of IOleControlSite::TranslateAccelerator (KEYMODIFIERS, which not
    // every SDK's headers define).
    static constexpr DWORD kKeyModShift = 0x1;
    static constexpr DWORD kKeyModControl = 0x2;
    static constexpr DWORD kKeyModAlt = 0x4;

    // Extent in HIMETRIC units; the default is 4800 x 3600 twips.
    static constexpr LONG kDefaultWidthHimetric = 8467;
    static constexpr LONG kDefaultHeightHimetric = 6350;

    IOleClientSite* ClientSite() const { return clientSite_.Get(); }
    // True from IOleObject::Close until the control is activated again.
    bool ClosedByContainer() const { return closed_; }
    bool InPlaceActive() const { return inPlaceActive_; }
    bool UIActive() const { return uiActive_; }

    // --- IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        if (!site && inPlaceActive_) {
            InPlaceDeactivate();
        }
        clientSite_ = site;
        Self()->OnClientSiteChanged();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        if (!site) {
            return E_POINTER;
        }
        *site = clientSite_.Get();
        if (*site) {
            (*site)->AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override {
        closed_ = true;
        InPlaceDeactivate();
        if (adviseHolder_) {
            adviseHolder_->SendOnClose();
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
        switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return InPlaceActivate(activeSite ? activeSite : clientSite_.Get(), position, false);
        case OLEIVERB_UIACTIVATE:
            return InPlaceActivate(activeSite ? activeSite : clientSite_.Get(), position, true,
                                   true);
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
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!size) {
            return E_POINTER;
        }
        extent_ = *size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override {
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!size) {
            return E_POINTER;
        }
        *size = extent_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override {
        if (!adviseHolder_ && FAILED(::CreateOleAdviseHolder(&adviseHolder_))) {
            return E_OUTOFMEMORY;
        }
        return adviseHolder_->Advise(sink, connection);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override {
        return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override {
        if (advises) {
            *advises = nullptr;
        }
        return adviseHolder_ ? adviseHolder_->EnumAdvise(advises) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override {
        if (!status) {
            return E_POINTER;
        }
        *status = aspect == DVASPECT_CONTENT ? Derived::MiscStatus() : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // --- IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = Self()->ControlWindow();
        return *window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        if (!inPlaceActive_) {
            return S_OK;
        }
        UIDeactivate();
        focusReported_ = false;
        inPlaceActive_ = false;
        Self()->DetachFromParent();
        ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
        frame_.Reset();
        uiWindow_.Reset();
        if (site) {
            site->OnInPlaceDeactivate();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override {
        if (!uiActive_) {
            return S_OK;
        }
        uiActive_ = false;
        // The container may deactivate us in place from inside these calls, which drops them.
        ComPtr<IOleInPlaceSite> inPlaceSite = inPlaceSite_;
        ComPtr<IOleInPlaceFrame> frame = frame_;
        ComPtr<IOleInPlaceUIWindow> uiWindow = uiWindow_;
        if (uiWindow) {
            uiWindow->SetActiveObject(nullptr, nullptr);
        }
        if (frame) {
            frame->SetActiveObject(nullptr, nullptr);
        }
        if (inPlaceSite) {
            inPlaceSite->OnUIDeactivate(FALSE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override {
        if (!position) {
            return E_POINTER;
        }
        if (HWND window = Self()->ControlWindow()) {
            ::MoveWindow(window, position->left, position->top, position->right - position->left,
                         position->bottom - position->top, TRUE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

    // --- IOleInPlaceActiveObject
    // The container's message loop hands us each key message while we are UI active. The
    // control (and what it hosts) sees it first; a key nobody here wants goes on to the
    // container, with the modifiers held, for its own accelerators, Tab and default buttons.
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override {
        if (!message) {
            return E_INVALIDARG;
        }
        if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST) {
            return S_FALSE;
        }
        // Held: what runs during the offer may change the site.
        ComPtr<IOleClientSite> clientSite = clientSite_;
        if (Self()->OfferAccelerator(*message)) {
            return S_OK;
        }
        ComPtr<IOleControlSite> controlSite;
        if (clientSite && SUCCEEDED(clientSite.As(&controlSite)) &&
            controlSite->TranslateAccelerator(message, KeyModifiers()) == S_OK) {
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // --- IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
        if (!info) {
            return E_POINTER;
        }
        info->cb = sizeof(CONTROLINFO);
        info->hAccel = nullptr;
        info->cAccel = 0;
        info->dwFlags = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnMnemonic(LPMSG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

    // --- IViewObject, IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                   LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                   ULONG_PTR) override {
        if (aspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (!dc) {
            return E_INVALIDARG;
        }
        RECT rect = {};
        if (bounds) {
            rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        } else if (HWND window = Self()->ControlWindow()) {
            ::GetClientRect(window, &rect);
        }
        Self()->DrawContent(dc, rect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                          LOGPALETTE** colors) override {
        if (colors) {
            *colors = nullptr;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override {
        viewAspects_ = aspects;
        viewAdviseFlags_ = flags;
        viewSink_ = sink;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override {
        if (aspects) {
            *aspects = viewAspects_;
        }
        if (flags) {
            *flags = viewAdviseFlags_;
        }
        if (sink) {
            *sink = viewSink_.Get();
            if (*sink) {
                (*sink)->AddRef();
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*,
                                        LPSIZEL size) override {
        return GetExtent(aspect, size);
    }

    // --- IPersist and the three persistence interfaces: the control keeps no saved state.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override { return GetUserClassID(id); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
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
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag*, IErrorLog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag*, BOOL, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InitNew(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Load(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IStorage*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

    // --- IQuickActivate
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
        SetClientSite(container->pClientSite);
        if (container->pAdviseSink) {
            SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
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
        return SetExtent(DVASPECT_CONTENT, size);
    }
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override {
        return GetExtent(DVASPECT_CONTENT, size);
    }

    // --- IProvideClassInfo, IProvideClassInfo2
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
    ~OleControl() = default;

    // Tells the container that the picture changed (for containers that draw through the view).
    void NotifyViewChange() {
        if (viewSink_ && (viewAspects_ & DVASPECT_CONTENT)) {
            viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
        }
    }

    // UI activation that starts inside the control (a click, the focus arriving): the container
    // is told and its frame holds our active object. Nothing happens before in-place activation.
    void ActivateUI(bool takeFocus) {
        if (inPlaceActive_ && !uiActive_) {
            InPlaceActivate(nullptr, nullptr, true, takeFocus);
        }
    }
    // The keyboard focus entered the control's window tree: UI activation, and the container's
    // control site hears of the focus once.
    void FocusEntered() {
        ComPtr<IOleClientSite> clientSite = clientSite_;
        ActivateUI(false);
        if (!focusReported_ && inPlaceActive_) {
            focusReported_ = true;
            ComPtr<IOleControlSite> controlSite;
            if (clientSite && SUCCEEDED(clientSite.As(&controlSite))) {
                controlSite->OnFocus(TRUE);
            }
        }
    }
    // The focus left the whole tree: the container hears of it and UI activation ends.
    void FocusLeft() {
        ComPtr<IOleClientSite> clientSite = clientSite_;
        if (focusReported_) {
            focusReported_ = false;
            ComPtr<IOleControlSite> controlSite;
            if (clientSite && SUCCEEDED(clientSite.As(&controlSite))) {
                controlSite->OnFocus(FALSE);
            }
        }
        UIDeactivate();
    }
    // True when `window` is the control's window or one of its descendants.
    bool OwnsWindow(HWND window) {
        HWND own = Self()->ControlWindow();
        return own && window && (window == own || ::IsChild(own, window));
    }

private:
    Derived* Self() { return static_cast<Derived*>(this); }

    static DWORD KeyModifiers() {
        DWORD modifiers = 0;
        if (::GetKeyState(VK_SHIFT) < 0) {
            modifiers |= kKeyModShift;
        }
        if (::GetKeyState(VK_CONTROL) < 0) {
            modifiers |= kKeyModControl;
        }
        if (::GetKeyState(VK_MENU) < 0) {
            modifiers |= kKeyModAlt;
        }
        return modifiers;
    }

    HRESULT InPlaceActivate(IOleClientSite* site, LPCRECT position, bool uiActivate,
                            bool takeFocus = false) {
        closed_ = false;
        if (!inPlaceActive_) {
            ComPtr<IOleInPlaceSite> inPlaceSite;
            if (!site || FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlaceSite)))) {
                return OLE_E_NOT_INPLACEACTIVE;
            }
            if (inPlaceSite->CanInPlaceActivate() != S_OK) {
                return E_FAIL;
            }
            inPlaceSite->OnInPlaceActivate();
            HWND parent = nullptr;
            inPlaceSite->GetWindow(&parent);
            RECT pos = {}, clip = {};
            OLEINPLACEFRAMEINFO frameInfo = {};
            frameInfo.cb = sizeof(frameInfo);
            frame_.Reset();
            uiWindow_.Reset();
            inPlaceSite->GetWindowContext(&frame_, &uiWindow_, &pos, &clip, &frameInfo);
            if (position) {
                pos = *position;
            }
            if (!parent || !Self()->AttachToParent(parent, pos)) {
                inPlaceSite->OnInPlaceDeactivate();
                frame_.Reset();
                uiWindow_.Reset();
                return E_FAIL;
            }
            inPlaceSite_ = inPlaceSite;
            inPlaceActive_ = true;
        }
        if (HWND window = Self()->ControlWindow()) {
            ::ShowWindow(window, SW_SHOW);
        }
        if (uiActivate && !uiActive_ && inPlaceSite_) {
            uiActive_ = true;
            // The container may deactivate us in place from inside these calls, which drops them.
            ComPtr<IOleInPlaceSite> inPlaceSite = inPlaceSite_;
            ComPtr<IOleInPlaceFrame> frame = frame_;
            ComPtr<IOleInPlaceUIWindow> uiWindow = uiWindow_;
            inPlaceSite->OnUIActivate();
            IOleInPlaceActiveObject* active = this;
            if (frame && uiActive_) {
                frame->SetActiveObject(active, nullptr);
            }
            if (uiWindow && uiActive_) {
                uiWindow->SetActiveObject(active, nullptr);
            }
        }
        // A UI-active control has the keyboard focus, unless it is already somewhere inside.
        if (uiActivate && takeFocus && uiActive_) {
            HWND window = Self()->ControlWindow();
            if (window && !OwnsWindow(::GetFocus())) {
                ::SetFocus(window);
            }
        }
        return S_OK;
    }

    ComPtr<IOleClientSite> clientSite_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> uiWindow_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewAdviseFlags_ = 0;
    SIZEL extent_ = {kDefaultWidthHimetric, kDefaultHeightHimetric};
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    bool focusReported_ = false; // the control site was told the focus is ours
    bool closed_ = false;
};

template <typename Derived>
struct InterfaceId<OleControl<Derived>> {
    static void* Query(OleControl<Derived>* self, REFIID riid) {
        if (IsEqualIID(riid, IID_IOleObject)) {
            return static_cast<IOleObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleInPlaceObject) || IsEqualIID(riid, IID_IOleWindow)) {
            return static_cast<IOleInPlaceObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
            return static_cast<IOleInPlaceActiveObject*>(self);
        }
        if (IsEqualIID(riid, IID_IOleControl)) {
            return static_cast<IOleControl*>(self);
        }
        if (IsEqualIID(riid, IID_IViewObject2) || IsEqualIID(riid, IID_IViewObject)) {
            return static_cast<IViewObject2*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist)) {
            return static_cast<IPersistStreamInit*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistPropertyBag)) {
            return static_cast<IPersistPropertyBag*>(self);
        }
        if (IsEqualIID(riid, IID_IPersistStorage)) {
            return static_cast<IPersistStorage*>(self);
        }
        if (IsEqualIID(riid, IID_IQuickActivate)) {
            return static_cast<IQuickActivate*>(self);
        }
        if (IsEqualIID(riid, IID_IProvideClassInfo2) || IsEqualIID(riid, IID_IProvideClassInfo)) {
            return static_cast<IProvideClassInfo2*>(self);
        }
        return nullptr;
    }
};

} // namespace folivex::com
