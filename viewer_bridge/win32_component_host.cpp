#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"
#include "com/error_info.h"
#include "com/module.h"
#include "com/object.h"
#include "com/variant.h"

#include <docobj.h>
#include <olectl.h>

#include <vector>

namespace folivex {
namespace {

constexpr const wchar_t* kSiteWindowClass = L"FolivexComponentSite";

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
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(com::Module::Handle(), kSiteWindowClass, &wc)) {
        return;
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = SiteWindowProc;
    wc.hInstance = com::Module::Handle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kSiteWindowClass;
    ::RegisterClassExW(&wc);
}

HRESULT NotInstalledError(HRESULT hr) {
    return com::RaiseError(hr, GUID_NULL, L"Folivex.Viewer",
                           L"The PDF viewer component (AcroPDF.PDF) is not installed or could "
                           L"not be created.");
}

} // namespace

// The container site of the component. It lives as long as the component holds it; the host
// detaches it when it goes away, after which it answers without a host.
class ComponentHost::Site
    : public com::Object<Site, IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame, IOleControlSite,
                         IDispatch, IServiceProvider> {
public:
    explicit Site(ComponentHost* host) : host_(host) {}
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
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
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
        com::ComPtr<IOleInPlaceObject> inPlace;
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
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
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
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return S_OK; }
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
            if (com::ComPtr<IServiceProvider> outer = host_->outerServices_()) {
                return outer->QueryService(service, riid, object);
            }
        }
        return E_NOINTERFACE;
    }

private:
    ComponentHost* host_;
};

ComponentHost::ComponentHost(HWND parent, OuterServices outerServices)
    : outerServices_(std::move(outerServices)) {
    RegisterSiteWindowClass();
    RECT client = {};
    ::GetClientRect(parent, &client);
    siteWindow_.Reset(::CreateWindowExW(0, kSiteWindowClass, L"AcroPDF1",
                                        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                        client.right, client.bottom, parent, nullptr,
                                        com::Module::Handle(), nullptr));
    site_ = com::Make<Site>(this);
    creationResult_ = siteWindow_ && site_ ? Create() : E_FAIL;
    if (FAILED(creationResult_)) {
        object_.Reset();
        dispatch_.Reset();
    }
}

HRESULT ComponentHost::Create() {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(kProgId, &clsid);
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
    com::ComPtr<IPersistStreamInit> persist;
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

ComponentHost::~ComponentHost() {
    if (object_) {
        com::ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.As(&inPlace))) {
            inPlace->InPlaceDeactivate();
        }
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    dispatch_.Reset();
    object_.Reset();
    if (site_) {
        site_->Detach();
    }
}

HResult ComponentHost::NotAvailable() const {
    return NotInstalledError(FAILED(creationResult_) ? creationResult_ : E_FAIL);
}

HResult ComponentHost::CallDispatch(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) {
    if (!dispatch_) {
        return NotAvailable();
    }
    // The call may end in our own teardown (a handler releasing the control): hold the
    // component for its duration.
    com::ComPtr<IDispatch> component = dispatch_;
    EXCEPINFO exception = {};
    UINT argError = 0;
    com::ClearError();
    HRESULT hr = component->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                   &exception, &argError);
    if (hr == DISP_E_EXCEPTION) {
        return com::RaiseFromExcepInfo(exception);
    }
    return hr;
}

HResult ComponentHost::Invoke(int dispid, std::span<const ComponentArg> args) {
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANTARG> variants(args.size());
    std::vector<com::Bstr> strings(args.size());
    std::vector<BSTR> references(args.size(), nullptr);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const ComponentArg& arg = args[i];
        VARIANTARG& v = variants[args.size() - 1 - i];
        ::VariantInit(&v);
        switch (arg.kind) {
        case ComponentArg::Kind::LongRef:
            v.vt = VT_I4 | VT_BYREF;
            v.plVal = reinterpret_cast<LONG*>(static_cast<std::int32_t*>(arg.target));
            break;
        case ComponentArg::Kind::SingleRef:
            v.vt = VT_R4 | VT_BYREF;
            v.pfltVal = static_cast<float*>(arg.target);
            break;
        case ComponentArg::Kind::BoolRef:
            v.vt = VT_BOOL | VT_BYREF;
            v.pboolVal = static_cast<VARIANT_BOOL*>(arg.target);
            break;
        case ComponentArg::Kind::StringValue:
            strings[i] = com::Bstr(*static_cast<std::wstring*>(arg.target));
            v.vt = VT_BSTR;
            v.bstrVal = strings[i].Get();
            break;
        case ComponentArg::Kind::StringRef:
            strings[i] = com::Bstr(*static_cast<std::wstring*>(arg.target));
            references[i] = strings[i].Detach();
            v.vt = VT_BSTR | VT_BYREF;
            v.pbstrVal = &references[i];
            break;
        }
    }
    DISPPARAMS params = {variants.empty() ? nullptr : variants.data(), nullptr,
                         static_cast<UINT>(variants.size()), 0};
    com::Variant result;
    const HResult hr = CallDispatch(dispid, DISPATCH_METHOD, params, result.Get());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].kind == ComponentArg::Kind::StringRef) {
            // The component may have replaced the string it was lent.
            *static_cast<std::wstring*>(args[i].target) = com::Bstr::ToString(references[i]);
            ::SysFreeString(references[i]);
        }
    }
    return hr;
}

HResult ComponentHost::PutSource(const std::wstring& path) {
    BSTR value = ::SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = &value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&arg, &named, 1, 1};
    const HResult hr = CallDispatch(component_member::kSource, DISPATCH_PROPERTYPUT, params,
                                    nullptr);
    ::SysFreeString(value);
    return hr;
}

HResult ComponentHost::GetSource(std::wstring& path) {
    DISPPARAMS params = {nullptr, nullptr, 0, 0};
    com::Variant result;
    HResult hr = CallDispatch(component_member::kSource, DISPATCH_PROPERTYGET, params,
                              result.Get());
    if (FAILED(hr)) {
        return hr;
    }
    if (result->vt != VT_BSTR) {
        hr = ::VariantChangeType(result.Get(), result.Get(), 0, VT_BSTR);
        if (FAILED(hr)) {
            return hr;
        }
    }
    path = com::Bstr::ToString(result->bstrVal);
    return S_OK;
}

HResult ComponentHost::Print() {
    if (!dispatch_) {
        return NotAvailable();
    }
    com::ComPtr<IOleCommandTarget> commands;
    if (SUCCEEDED(dispatch_.As(&commands))) {
        OLECMD command = {OLECMDID_PRINT, 0};
        if (SUCCEEDED(commands->QueryStatus(nullptr, 1, &command, nullptr)) &&
            (command.cmdf & OLECMDF_SUPPORTED)) {
            com::ClearError();
            return commands->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr,
                                  nullptr);
        }
    }
    // Otherwise the component's own automation member named "Print".
    LPOLESTR name = const_cast<LPOLESTR>(L"Print");
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return com::RaiseError(hr, GUID_NULL, L"Folivex.Viewer",
                               L"The PDF viewer component offers no print request.");
    }
    DISPPARAMS params = {nullptr, nullptr, 0, 0};
    return CallDispatch(id, DISPATCH_METHOD, params, nullptr);
}

void ComponentHost::SetVisible(bool visible) {
    if (siteWindow_) {
        ::ShowWindow(siteWindow_.Get(), visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool ComponentHost::Visible() const {
    return siteWindow_ && (::GetWindowLongW(siteWindow_.Get(), GWL_STYLE) & WS_VISIBLE);
}

void ComponentHost::Move(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) {
    if (!siteWindow_) {
        return;
    }
    ::MoveWindow(siteWindow_.Get(), left, top, width, height, TRUE);
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (object_ && SUCCEEDED(object_.As(&inPlace))) {
        RECT rect = {0, 0, width, height};
        inPlace->SetObjectRects(&rect, &rect);
    }
}

std::int32_t ComponentHost::Top() const {
    if (!siteWindow_) {
        return 0;
    }
    RECT rect = {};
    ::GetWindowRect(siteWindow_.Get(), &rect);
    POINT topLeft = {rect.left, rect.top};
    ::ScreenToClient(::GetParent(siteWindow_.Get()), &topLeft);
    return topLeft.y;
}

bool ComponentHost::SetFocus() {
    if (!siteWindow_) {
        return false;
    }
    HWND target = siteWindow_.Get();
    com::ComPtr<IOleInPlaceObject> inPlace;
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

} // namespace folivex
