#include "tests/windows/support/viewer_host.h"

#include "tests/windows/support/viewer_calls.h"

#include "com/object.h"

#include <utility>

namespace folivex::testing {

class ViewerEvents : public com::Object<ViewerEvents, IDispatch> {
public:
    std::vector<RecordedEvent> events;
    ViewerHost::Handler handler;

    void* QueryExtraInterface(REFIID riid) {
        return IsEqualIID(riid, DIID___Viewer) ? static_cast<IDispatch*>(this) : nullptr;
    }

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
        RecordedEvent event;
        event.id = id;
        BSTR* saveFile = nullptr;
        // DISPPARAMS holds the parameters last first.
        for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
            VARIANTARG& arg = params->rgvarg[i];
            event.types.push_back(arg.vt);
            if (arg.vt == (VT_I4 | VT_BYREF)) {
                event.numbers.push_back(*arg.plVal);
            } else if (arg.vt == (VT_BSTR | VT_BYREF)) {
                saveFile = arg.pbstrVal;
                event.saveFile =
                    *saveFile ? std::wstring(*saveFile, ::SysStringLen(*saveFile)) : std::wstring();
            }
        }
        events.push_back(event);
        if (handler) {
            handler(event, saveFile);
        }
        return S_OK;
    }
};

ViewerHost::ViewerHost(int width, int height) {
    host_ = MakeHostWindow(width + 40, height + 40);
    control_ =
        std::make_unique<com::HostedControl>(host_.Get(), L"Folivex.Viewer", L"Viewer1", nullptr);
    if (control_->CreationResult() != S_OK) {
        return;
    }
    control_->Show(true);
    control_->Move(0, 0, width, height);
    control_->Object()->QueryInterface(IID_PPV_ARGS(&viewer_));
    events_ = com::Make<ViewerEvents>();
    com::ComPtr<IConnectionPointContainer> container;
    com::ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(control_->Object()->QueryInterface(IID_PPV_ARGS(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(DIID___Viewer, &point))) {
        point->Advise(events_->Unknown(), &cookie_);
    }
    PumpMessages();
}

ViewerHost::~ViewerHost() {
    Release();
    host_.Reset();
    PumpMessages(20);
}

void ViewerHost::Release() {
    if (!control_) {
        return;
    }
    if (cookie_ && control_->Object()) {
        com::ComPtr<IConnectionPointContainer> container;
        com::ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(control_->Object()->QueryInterface(IID_PPV_ARGS(&container))) &&
            SUCCEEDED(container->FindConnectionPoint(DIID___Viewer, &point))) {
            point->Unadvise(cookie_);
        }
        cookie_ = 0;
    }
    viewer_.Reset();
    control_.reset();
}

HWND ViewerHost::ControlWindow() const {
    LONG hwnd = 0;
    if (viewer_) {
        viewer_->get_hwnd(&hwnd);
    }
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
}

const std::vector<RecordedEvent>& ViewerHost::Events() const {
    return events_->events;
}

void ViewerHost::ClearEvents() {
    events_->events.clear();
}

void ViewerHost::OnEvent(Handler handler) {
    events_->handler = std::move(handler);
}

HRESULT ViewerHost::Call(const wchar_t* name, std::vector<VARIANT> args, VARIANT* result,
                         EXCEPINFO* error, WORD flags) {
    return CallByName(Dispatch(), name, flags, std::move(args), result, error);
}

VARIANT StringArg(const std::wstring& text) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

VARIANT LongArg(LONG value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT BoolArg(bool value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

} // namespace folivex::testing
