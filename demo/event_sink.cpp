#include "event_sink.h"

#include "interface/folivex_interface.h"

#include "com/bstr.h"

namespace folivex::demo {

namespace {

constexpr DISPID kDownloadStarted = 1;
constexpr DISPID kDownloadProgress = 2;
constexpr DISPID kDownloadError = 3;
constexpr DISPID kDownloadComplete = 4;

// Arguments come last-first in DISPPARAMS. Each is read by reference or by value, whichever the
// caller chose, so the sink works with any source, not only ours.
bool ArgumentAt(const DISPPARAMS* params, UINT position, VARTYPE type, VARIANT* value) {
    if (!params || position >= params->cArgs) {
        return false;
    }
    const VARIANT& argument = params->rgvarg[params->cArgs - 1 - position];
    ::VariantInit(value);
    return SUCCEEDED(::VariantChangeType(value, const_cast<VARIANT*>(&argument), 0, type));
}

long LongAt(const DISPPARAMS* params, UINT position, bool* ok) {
    VARIANT value;
    if (!ArgumentAt(params, position, VT_I4, &value)) {
        *ok = false;
        return 0;
    }
    return value.lVal;
}

std::wstring TextAt(const DISPPARAMS* params, UINT position, bool* ok) {
    VARIANT value;
    if (!ArgumentAt(params, position, VT_BSTR, &value)) {
        *ok = false;
        return {};
    }
    com::Bstr owned = com::Bstr::Attach(value.bstrVal);
    return owned.ToString();
}

} // namespace

void* DownloadEventSink::QueryExtraInterface(REFIID riid) {
    return IsEqualIID(riid, DIID___Viewer) ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT DownloadEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT DownloadEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT DownloadEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT DownloadEventSink::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
    if (result) {
        ::VariantInit(result);
    }
    if (!(flags & DISPATCH_METHOD)) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // Keeps the sink alive should a handler disconnect it.
    com::ComPtr<DownloadEventSink> self(this);
    bool ok = true;
    switch (member) {
    case kDownloadStarted: {
        const std::wstring file = TextAt(params, 0, &ok);
        if (ok && listener_) {
            listener_->DownloadStarted(file);
        }
        break;
    }
    case kDownloadProgress: {
        const long current = LongAt(params, 0, &ok);
        const long maximum = LongAt(params, 1, &ok);
        const std::wstring file = TextAt(params, 2, &ok);
        if (ok && listener_) {
            listener_->DownloadProgress(current, maximum, file);
        }
        break;
    }
    case kDownloadError: {
        const std::wstring file = TextAt(params, 0, &ok);
        if (ok && listener_) {
            listener_->DownloadError(file);
        }
        break;
    }
    case kDownloadComplete: {
        const long maximum = LongAt(params, 0, &ok);
        const std::wstring file = TextAt(params, 1, &ok);
        if (ok && listener_) {
            listener_->DownloadComplete(maximum, file);
        }
        break;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    return ok ? S_OK : DISP_E_TYPEMISMATCH;
}

HRESULT EventConnection::Connect(IUnknown* source, REFIID events, IUnknown* sink) {
    Disconnect();
    com::ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source ? source->QueryInterface(IID_PPV_ARGS(&container)) : E_POINTER;
    if (SUCCEEDED(hr)) {
        hr = container->FindConnectionPoint(events, &point_);
    }
    if (SUCCEEDED(hr)) {
        hr = point_->Advise(sink, &cookie_);
    }
    if (FAILED(hr)) {
        point_.Reset();
        cookie_ = 0;
    }
    return hr;
}

void EventConnection::Disconnect() {
    if (point_) {
        point_->Unadvise(cookie_);
        point_.Reset();
        cookie_ = 0;
    }
}

} // namespace folivex::demo
