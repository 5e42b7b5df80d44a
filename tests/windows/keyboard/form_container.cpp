#include "tests/windows/keyboard/form_container.h"

#include "com/object.h"

#include <olectl.h>

namespace folivex::testing {
namespace {

constexpr const wchar_t* kFormClass = L"FolivexKeyboardForm";
constexpr int kFormWidth = 560;
constexpr int kFormHeight = 360;
constexpr RECT kControlRect = {160, 10, 540, 330};

void RegisterFormClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kFormClass, &wc)) {
        return;
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    ::RegisterClassExW(&wc);
}

} // namespace

// The form's document window: the container's other holder of the active object.
class FormDocument : public com::Object<FormDocument, IOleInPlaceUIWindow> {
public:
    explicit FormDocument(HWND form) : form_(form) {}

    com::ComPtr<IOleInPlaceActiveObject> active;

    void* QueryExtraInterface(REFIID riid) {
        return IsEqualIID(riid, IID_IOleWindow) ? static_cast<IOleInPlaceUIWindow*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = form_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
        active = object;
        return S_OK;
    }

private:
    HWND form_;
};

// The form's site for its one control: client site, in-place site, frame and control site in
// one object, as simple hosts make it.
class FormSite : public com::Object<FormSite, IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame,
                                    IOleControlSite> {
public:
    explicit FormSite(HWND form) : documentWindow(com::Make<FormDocument>(form)), form_(form) {}

    com::ComPtr<IOleInPlaceActiveObject> active;
    com::ComPtr<FormDocument> documentWindow;
    std::vector<std::wstring> notifications;
    std::vector<ForwardedKey> forwarded;

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
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = form_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override {
        notifications.push_back(L"ui-activate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        AddRef();
        *frame = this;
        *document = documentWindow.Get();
        (*document)->AddRef();
        *position = kControlRect;
        *clip = kControlRect;
        info->fMDIApp = FALSE;
        info->hwndFrame = form_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override {
        notifications.push_back(L"ui-deactivate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
        active = object;
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
        *control = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, DWORD modifiers) override {
        forwarded.push_back({message->message, message->wParam, modifiers});
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL gotFocus) override {
        notifications.push_back(gotFocus ? L"focus" : L"blur");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

private:
    HWND form_;
};

FormContainer::FormContainer(const wchar_t* progId) {
    RegisterFormClass();
    RECT rect = {0, 0, kFormWidth, kFormHeight};
    ::AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    form_.Reset(::CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"Folivex keyboard form",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr));
    edit_.Reset(::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 140,
                                  24, form_.Get(), nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::ShowWindow(form_.Get(), SW_SHOW);
    site_ = com::Make<FormSite>(form_.Get());
    creation_ = form_ && edit_ && site_ ? Activate(progId) : E_FAIL;
}

// As VB6 does it: quick activation with the whole structure, then in-place activation.
HRESULT FormContainer::Activate(const wchar_t* progId) {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(hr)) {
        hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control_));
    }
    com::ComPtr<IOleObject> object;
    if (SUCCEEDED(hr)) {
        hr = control_.As(&object);
    }
    if (FAILED(hr)) {
        return hr;
    }
    com::ComPtr<IQuickActivate> quick;
    if (SUCCEEDED(control_.As(&quick))) {
        QACONTAINER container = {};
        container.cbSize = sizeof(container);
        container.pClientSite = site_.Get();
        container.dwAmbientFlags = QACONTAINER_USERMODE;
        QACONTROL result = {};
        result.cbSize = sizeof(result);
        hr = quick->QuickActivate(&container, &result);
    } else {
        hr = object->SetClientSite(site_.Get());
    }
    if (FAILED(hr)) {
        return hr;
    }
    com::ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(control_.As(&persist))) {
        persist->InitNew();
    }
    RECT position = kControlRect;
    return object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, form_.Get(),
                          &position);
}

FormContainer::~FormContainer() {
    if (site_) {
        site_->active.Reset();
    }
    com::ComPtr<IOleObject> object;
    if (control_ && SUCCEEDED(control_.As(&object))) {
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
    }
    object.Reset();
    control_.Reset();
    if (site_) {
        site_->active.Reset();
        site_->documentWindow->active.Reset();
    }
    edit_.Reset();
    form_.Reset();
}

HWND FormContainer::ControlWindow() const {
    com::ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (control_ && SUCCEEDED(control_.As(&window))) {
        window->GetWindow(&handle);
    }
    return handle;
}

IOleInPlaceActiveObject* FormContainer::ActiveObject() const {
    return site_ ? site_->active.Get() : nullptr;
}

IOleInPlaceActiveObject* FormContainer::DocumentActiveObject() const {
    return site_ ? site_->documentWindow->active.Get() : nullptr;
}

const std::vector<std::wstring>& FormContainer::Notifications() const {
    return site_->notifications;
}

const std::vector<ForwardedKey>& FormContainer::ForwardedKeys() const {
    return site_->forwarded;
}

void FormContainer::ClearRecords() {
    site_->notifications.clear();
    site_->forwarded.clear();
}

bool FormContainer::RunUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (done()) {
            return true;
        }
        if (::GetTickCount64() - start >= timeoutMs) {
            return done();
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
                // Held for the call: the control may take its active object back meanwhile.
                com::ComPtr<IOleInPlaceActiveObject> active = site_->active;
                if (active && active->TranslateAccelerator(&message) == S_OK) {
                    continue;
                }
            }
            if (::IsDialogMessageW(form_.Get(), &message)) {
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool Type(std::vector<INPUT> inputs) {
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

bool ClickAt(HWND window, int x, int y) {
    POINT point = {x, y};
    ::ClientToScreen(window, &point);
    if (!::SetCursorPos(point.x, point.y)) {
        return false;
    }
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

} // namespace folivex::testing
