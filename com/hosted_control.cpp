#include "com/hosted_control.h"

#include "com/module.h"
#include "com/object.h"

#include <olectl.h>

#include <utility>

namespace folivex::com {
namespace {

constexpr const wchar_t* kSiteWindowClass = L"FolivexControlSite";

LRESULT CALLBACK SiteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        // The component fills its site.
        HWND child = ::GetWindow(window, GW_CHILD);
        if (child) {
            ::MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterSiteWindowClass() {
    Module::RegisterWindowClass(kSiteWindowClass, SiteWindowProc);
}

} // namespace

// The container site. It lives as long as the hosted control holds it; the host detaches it
// when it goes away, after which it answers without a host.
class HostedControl::Site : public Object<Site, IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame,
                                          IOleControlSite, IDispatch, IServiceProvider> {
public:
    explicit Site(HostedControl* host) : host_(host) {}
    void Detach() { host_ = nullptr; }

    void* QueryExtraInterface(REFIID riid) {
        if (IsEqualIID(riid, IID_IOleWindow)) {
            return static_cast<IOleInPlaceSite*>(this);
        }
        if (IsEqualIID(riid, IID_IOleInPlaceUIWindow)) {
            return static_cast<IOleInPlaceFrame*>(this);
        }
        return nullptr;
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker) {
            *moniker = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        if (container) {
            *container = nullptr;
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = host_ ? host_->SiteWindow() : nullptr;
        return *window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return host_ ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override {
        if (host_ && host_->notifications_.uiActivated) {
            host_->notifications_.uiActivated();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !position || !clip || !info) {
            return E_POINTER;
        }
        *frame = this;
        AddRef();
        *document = nullptr;
        RECT client = {};
        if (host_) {
            ::GetClientRect(host_->SiteWindow(), &client);
        }
        *position = client;
        *clip = client;
        info->fMDIApp = FALSE;
        info->hwndFrame = host_ ? host_->SiteWindow() : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override {
        if (!host_ || !position) {
            return E_UNEXPECTED;
        }
        ComPtr<IOleInPlaceObject> inPlace;
        if (host_->object_ && SUCCEEDED(host_->object_.As(&inPlace))) {
            inPlace->SetObjectRects(position, position);
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: the control offers no tool space or menus.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        if (host_) {
            host_->activeObject_ = active;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** control) override {
        if (control) {
            *control = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container,
                                              DWORD flags) override {
        if (!himetric || !container) {
            return E_POINTER;
        }
        // The container's units are pixels of the screen.
        HDC screen = ::GetDC(nullptr);
        const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
        const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
            container->x = static_cast<float>(himetric->x) * dpiX / 2540.0f;
            container->y = static_cast<float>(himetric->y) * dpiY / 2540.0f;
        } else {
            himetric->x = static_cast<LONG>(container->x * 2540.0f / dpiX + 0.5f);
            himetric->y = static_cast<LONG>(container->y * 2540.0f / dpiY + 0.5f);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, DWORD modifiers) override {
        // Declined while we are offering the key: the offer's caller passes it on itself.
        if (!host_ || !message || host_->offering_ || !host_->notifications_.accelerator) {
            return S_FALSE;
        }
        return host_->notifications_.accelerator(*message, modifiers);
    }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL gotFocus) override {
        if (host_ && host_->notifications_.focus) {
            host_->notifications_.focus(gotFocus != FALSE);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    // IDispatch: the ambient properties of the site.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) {
            *count = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || !result) {
            return DISP_E_MEMBERNOTFOUND;
        }
        ::VariantInit(result);
        switch (id) {
        case DISPID_AMBIENT_USERMODE:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_DISPLAYASDEFAULT:
        case DISPID_AMBIENT_MESSAGEREFLECT:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_FALSE;
            return S_OK;
        case DISPID_AMBIENT_LOCALEID:
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(::GetUserDefaultLCID());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    // IServiceProvider: requests go on to the control's own container.
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (host_ && host_->outerServices_) {
            if (ComPtr<IServiceProvider> outer = host_->outerServices_()) {
                return outer->QueryService(service, riid, object);
            }
        }
        return E_NOINTERFACE;
    }

private:
    HostedControl* host_;
};

HostedControl::HostedControl(HWND parent, const wchar_t* progId, const wchar_t* siteName,
                             OuterServices outerServices)
    : outerServices_(std::move(outerServices)) {
    RegisterSiteWindowClass();
    RECT client = {};
    ::GetClientRect(parent, &client);
    siteWindow_.Reset(::CreateWindowExW(
        0, kSiteWindowClass, siteName, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
        client.right, client.bottom, parent, nullptr, Module::Handle(), nullptr));
    site_ = Make<Site>(this);
    creationResult_ = siteWindow_ && site_ ? Create(progId) : E_FAIL;
    if (FAILED(creationResult_)) {
        object_.Reset();
        dispatch_.Reset();
    }
}

HRESULT HostedControl::Create(const wchar_t* progId) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) {
        return hr;
    }
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object_));
    if (FAILED(hr)) {
        return hr;
    }
    hr = object_.As(&dispatch_);
    if (FAILED(hr)) {
        return hr;
    }
    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    if (misc & OLEMISC_SETCLIENTSITEFIRST) {
        object_->SetClientSite(site_.Get());
    }
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(object_.As(&persist))) {
        persist->InitNew();
    }
    if (!(misc & OLEMISC_SETCLIENTSITEFIRST)) {
        object_->SetClientSite(site_.Get());
    }
    object_->SetHostNames(L"Folivex", nullptr);
    RECT client = {};
    ::GetClientRect(siteWindow_.Get(), &client);
    return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, siteWindow_.Get(),
                           &client);
}

void HostedControl::Close() {
    if (object_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.As(&inPlace))) {
            inPlace->InPlaceDeactivate();
        }
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    activeObject_.Reset();
    dispatch_.Reset();
    object_.Reset();
}

void HostedControl::SetNotifications(Notifications notifications) {
    notifications_ = std::move(notifications);
}

bool HostedControl::TranslateAccelerator(MSG& message) {
    // Held for the call: the control may take its active object back meanwhile.
    ComPtr<IOleInPlaceActiveObject> active = activeObject_;
    if (!active || offering_) {
        return false;
    }
    offering_ = true;
    const HRESULT hr = active->TranslateAccelerator(&message);
    offering_ = false;
    return hr == S_OK;
}

HostedControl::~HostedControl() {
    Close();
    if (site_) {
        site_->Detach();
    }
}

void HostedControl::Show(bool visible) {
    if (siteWindow_) {
        ::ShowWindow(siteWindow_.Get(), visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool HostedControl::Visible() const {
    return siteWindow_ && (::GetWindowLongW(siteWindow_.Get(), GWL_STYLE) & WS_VISIBLE);
}

void HostedControl::Move(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) {
    if (!siteWindow_) {
        return;
    }
    ::MoveWindow(siteWindow_.Get(), left, top, width, height, TRUE);
    ComPtr<IOleInPlaceObject> inPlace;
    if (object_ && SUCCEEDED(object_.As(&inPlace))) {
        RECT rect = {0, 0, width, height};
        inPlace->SetObjectRects(&rect, &rect);
    }
}

std::int32_t HostedControl::Top() const {
    if (!siteWindow_) {
        return 0;
    }
    RECT rect = {};
    ::GetWindowRect(siteWindow_.Get(), &rect);
    POINT topLeft = {rect.left, rect.top};
    ::ScreenToClient(::GetParent(siteWindow_.Get()), &topLeft);
    return topLeft.y;
}

bool HostedControl::Focus() {
    if (!siteWindow_) {
        return false;
    }
    HWND target = siteWindow_.Get();
    ComPtr<IOleInPlaceObject> inPlace;
    HWND component = nullptr;
    if (object_ && SUCCEEDED(object_.As(&inPlace)) && SUCCEEDED(inPlace->GetWindow(&component)) &&
        component) {
        target = component;
    }
    if (object_) {
        RECT client = {};
        ::GetClientRect(siteWindow_.Get(), &client);
        object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.Get(), 0, siteWindow_.Get(), &client);
    }
    ::SetFocus(target);
    return ::GetFocus() == target || ::IsChild(target, ::GetFocus());
}

HWND HostedControl::ControlWindow() const {
    ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (object_ && SUCCEEDED(object_.As(&inPlace))) {
        inPlace->GetWindow(&window);
    }
    return window;
}

} // namespace folivex::com
