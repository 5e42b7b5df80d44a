// A plain Win32 host for Folivex.Viewer, without ATL or MFC: the smallest OLE container that
// in-place activates a windowed control (IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame),
// an event sink for the control's download events, and late-bound calls by member name.
//
//   folivex_sample_cpp.exe [document] [--check]
//
// The window shows the document. With --check the program opens it, prints what it read to
// the standard output and exits: 0 when the document opened, 1 otherwise.
//
// Early binding works as well: include dist/include/folivex.h, link folivex_i.c, and query the
// control for _Viewer instead of calling through IDispatch by name.
//
// Build: samples/CMakeLists.txt (MinGW-w64 or MSVC), or by hand:
//   x86_64-w64-mingw32-g++ -std=c++17 -municode -DUNICODE -D_UNICODE folivex_host.cpp
//       -lole32 -loleaut32 -luuid -lgdi32 -lshell32 -mwindows -o folivex_sample_cpp.exe

#include <windows.h>

#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

// Owns one COM interface pointer.
template <typename T>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() { Reset(); }
    void Reset() {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }
    T** Put() {
        Reset();
        return &p_;
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    template <typename U>
    HRESULT As(Com<U>& other) const {
        return p_ ? p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.Put()))
                  : E_POINTER;
    }

private:
    T* p_ = nullptr;
};

// Owns one VARIANT.
struct Variant {
    VARIANT v;
    Variant() { ::VariantInit(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v); }
};

// The control's event interface, __Viewer, as declared in its type library.
const IID kViewerEvents = {
    0x88364098, 0x9A1C, 0x44B3, {0x88, 0x3A, 0x28, 0x5B, 0xF5, 0xDA, 0x31, 0x41}};

// Calls a member of the control by name. Arguments are given first to last.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT count,
             VARIANT* result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    // IDispatch takes the arguments last to first.
    VARIANT reversed[8];
    for (UINT i = 0; i < count && i < 8; ++i) {
        reversed[count - 1 - i] = args[i];
    }
    DISPPARAMS params = {reversed, nullptr, count, 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    EXCEPINFO error = {};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &error, nullptr);
    if (hr == DISP_E_EXCEPTION) {
        // The member raised an error (for example the component's own): keep its HRESULT.
        if (error.pfnDeferredFillIn) {
            error.pfnDeferredFillIn(&error);
        }
        hr = error.scode ? error.scode : E_FAIL;
        ::SysFreeString(error.bstrSource);
        ::SysFreeString(error.bstrDescription);
        ::SysFreeString(error.bstrHelpFile);
    }
    return hr;
}

HRESULT CallMethod(IDispatch* object, const wchar_t* name) {
    return Call(object, name, DISPATCH_METHOD, nullptr, 0, nullptr);
}

long GetLong(IDispatch* object, const wchar_t* name, HRESULT* hr) {
    Variant result;
    *hr = Call(object, name, DISPATCH_PROPERTYGET, nullptr, 0, &result.v);
    if (SUCCEEDED(*hr) && SUCCEEDED(::VariantChangeType(&result.v, &result.v, 0, VT_I4))) {
        return result.v.lVal;
    }
    return 0;
}

// Receives the four download events of __Viewer.
class EventSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kViewerEvents) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The sink lives as long as the window; the control's references do not own it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        // Every parameter comes by reference; the last one is SaveFile, a BSTR*.
        const UINT n = params ? params->cArgs : 0;
        const wchar_t* file = L"";
        if (n > 0 && params->rgvarg[0].vt == (VT_BYREF | VT_BSTR) && *params->rgvarg[0].pbstrVal) {
            file = *params->rgvarg[0].pbstrVal;
        }
        auto longAt = [&](UINT position) -> long { // position counted from the first parameter
            const VARIANT& v = params->rgvarg[n - 1 - position];
            return v.vt == (VT_BYREF | VT_I4) ? *v.plVal : 0;
        };
        switch (id) {
        case 1:
            std::wprintf(L"DownloadStarted: %ls\n", file);
            break;
        case 2:
            if (n == 3) {
                std::wprintf(L"DownloadProgress: %ld of %ld\n", longAt(0), longAt(1));
            }
            break;
        case 3:
            std::wprintf(L"DownloadError: %ls\n", file);
            break;
        case 4:
            if (n == 2) {
                std::wprintf(L"DownloadComplete: %ld bytes in %ls\n", longAt(0), file);
            }
            break;
        default:
            break;
        }
        std::fflush(stdout);
        return S_OK;
    }
};

// The container: one site for one control, and the frame around it.
class Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit Site(HWND window) : window_(window) {}

    // IUnknown, shared by the three interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow) {
            *out = static_cast<IOleInPlaceFrame*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    // The site lives as long as the window, which outlives the control.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (through both IOleInPlaceSite and IOleInPlaceFrame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               LPRECT position, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *doc = nullptr;
        ::GetClientRect(window_, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, no toolbars of the frame.
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

private:
    HWND window_;
};

// The hosted control and everything the window keeps for it.
struct Host {
    HWND window = nullptr;
    Site* site = nullptr;
    EventSink sink;
    Com<IOleObject> control;
    Com<IDispatch> viewer;
    Com<IConnectionPoint> events;
    DWORD cookie = 0;
};

HRESULT CreateViewer(Host& host) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(L"Folivex.Viewer", &clsid);
    if (FAILED(hr)) {
        return hr; // Folivex.dll is not registered for this bitness
    }
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                            reinterpret_cast<void**>(host.control.Put()));
    if (FAILED(hr)) {
        return hr;
    }
    host.control->SetClientSite(static_cast<IOleClientSite*>(host.site));
    Com<IPersistStreamInit> init;
    if (SUCCEEDED(host.control.As(init))) {
        init->InitNew(); // the control persists nothing; this only starts it fresh
    }
    RECT area;
    ::GetClientRect(host.window, &area);
    hr = host.control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                              static_cast<IOleClientSite*>(host.site), 0, host.window, &area);
    if (FAILED(hr)) {
        return hr;
    }
    hr = host.control.As(host.viewer);
    if (FAILED(hr)) {
        return hr;
    }
    Com<IConnectionPointContainer> points;
    if (SUCCEEDED(host.control.As(points)) &&
        SUCCEEDED(points->FindConnectionPoint(kViewerEvents, host.events.Put()))) {
        host.events->Advise(&host.sink, &host.cookie);
    }
    return S_OK;
}

void DestroyViewer(Host& host) {
    if (host.events && host.cookie) {
        host.events->Unadvise(host.cookie);
    }
    host.events.Reset();
    host.viewer.Reset();
    if (host.control) {
        host.control->Close(OLECLOSE_NOSAVE);
        host.control->SetClientSite(nullptr);
    }
    host.control.Reset();
}

void Resize(Host& host) {
    Com<IOleInPlaceObject> inPlace;
    if (host.control.As(inPlace) == S_OK) {
        RECT area;
        ::GetClientRect(host.window, &area);
        inPlace->SetObjectRects(&area, &area);
    }
}

// Opens the document and prints what the control reads back. True when it opened.
bool OpenAndReport(Host& host, const std::wstring& document) {
    IDispatch* viewer = host.viewer.Get();
    Variant path, opened;
    path.v.vt = VT_BSTR;
    path.v.bstrVal = ::SysAllocString(document.c_str());
    // OpenPDF never raises; it returns False when the document cannot be shown.
    HRESULT hr = Call(viewer, L"OpenPDF", DISPATCH_METHOD, &path.v, 1, &opened.v);
    if (FAILED(hr) || opened.v.vt != VT_BOOL || opened.v.boolVal != VARIANT_TRUE) {
        std::wprintf(L"OpenPDF failed for %ls (0x%08lX)\n", document.c_str(),
                     static_cast<unsigned long>(hr));
        return false;
    }
    std::wprintf(L"ReaderVersion: %ld\n", GetLong(viewer, L"ReaderVersion", &hr));
    // PageTotal raises "Type mismatch" (0x800A000D) when the page box holds no count.
    const long total = GetLong(viewer, L"PageTotal", &hr);
    if (SUCCEEDED(hr)) {
        std::wprintf(L"PageTotal: %ld\n", total);
    } else {
        std::wprintf(L"PageTotal: not available (0x%08lX)\n", static_cast<unsigned long>(hr));
    }
    // The navigation members raise the component's error unchanged.
    hr = CallMethod(viewer, L"GotoLastPage");
    std::wprintf(L"Page after GotoLastPage: %ld (0x%08lX)\n", GetLong(viewer, L"Page", &hr),
                 static_cast<unsigned long>(hr));
    Variant zoom;
    zoom.v.vt = VT_R4;
    zoom.v.fltVal = 150.0f;
    Call(viewer, L"SetZoom", DISPATCH_METHOD, &zoom.v, 1, nullptr);
    std::wprintf(L"ZoomPct after SetZoom 150: %ld\n", GetLong(viewer, L"ZoomPct", &hr));
    std::fflush(stdout);
    return true;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Host* host = reinterpret_cast<Host*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (host) {
            Resize(*host);
        }
        return 0;
    case WM_DESTROY:
        if (host) {
            DestroyViewer(*host);
        }
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// Ends OleInitialize at every exit.
struct OleSession {
    HRESULT hr = ::OleInitialize(nullptr);
    ~OleSession() {
        if (SUCCEEDED(hr)) {
            ::OleUninitialize();
        }
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    std::wstring document;
    bool check = false;
    int argc = 0;
    if (LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i) {
            if (std::wstring(argv[i]) == L"--check") {
                check = true;
            } else {
                document = argv[i];
            }
        }
        ::LocalFree(argv);
    }

    OleSession ole;
    if (FAILED(ole.hr)) {
        return 2;
    }

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"FolivexSampleHost";
    ::RegisterClassExW(&windowClass);

    Host host;
    // WS_CLIPCHILDREN: the control paints its own window.
    host.window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Folivex sample host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!host.window) {
        return 2;
    }
    Site site(host.window);
    host.site = &site;
    ::SetWindowLongPtrW(host.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    ::ShowWindow(host.window, check ? SW_SHOWNOACTIVATE : show);

    const HRESULT created = CreateViewer(host);
    if (FAILED(created)) {
        std::wprintf(L"Folivex.Viewer could not be created (0x%08lX)\n",
                     static_cast<unsigned long>(created));
        ::DestroyWindow(host.window);
        return 1;
    }

    bool opened = true;
    if (!document.empty()) {
        opened = OpenAndReport(host, document);
    }
    if (check) {
        ::DestroyWindow(host.window);
    }

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return opened ? 0 : 1;
}
