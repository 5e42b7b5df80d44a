#include "viewer_bridge/win32_component_host.h"

#include "com/bstr.h"
#include "com/error_info.h"
#include "com/excep_info.h"
#include "com/variant.h"

#include <docobj.h>

#include <vector>

namespace folivex {
namespace {

HRESULT NotInstalledError(HRESULT hr) {
    return com::RaiseError(hr, GUID_NULL, L"Folivex.Viewer",
                           L"The PDF viewer component (AcroPDF.PDF) is not installed or could "
                           L"not be created.");
}

} // namespace

ComponentHost::ComponentHost(HWND parent, OuterServices outerServices)
    : hosted_(parent, kProgId, L"AcroPDF1", std::move(outerServices)) {
    if (SUCCEEDED(hosted_.CreationResult())) {
        dispatch_ = hosted_.Dispatch();
    }
}

ComponentHost::~ComponentHost() {
    dispatch_.Reset();
    hosted_.Close();
}

HResult ComponentHost::NotAvailable() const {
    return NotInstalledError(FAILED(hosted_.CreationResult()) ? hosted_.CreationResult() : E_FAIL);
}

HResult ComponentHost::CallDispatch(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) {
    if (!dispatch_) {
        return NotAvailable();
    }
    // The call may end in our own teardown (a handler releasing the control): hold the
    // component for its duration.
    com::ComPtr<IDispatch> component = dispatch_;
    com::ExcepInfo exception;
    UINT argError = 0;
    com::ClearError();
    HRESULT hr = component->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                   exception.Out(), &argError);
    if (hr == DISP_E_EXCEPTION) {
        return com::RaiseFromExcepInfo(exception.Get());
    }
    return hr;
}

HResult ComponentHost::Invoke(int dispid, std::span<const ComponentArg> args) {
    // DISPPARAMS holds the arguments last first.
    std::vector<VARIANTARG> variants(args.size());
    // Sized once: the arguments point into it.
    std::vector<com::Bstr> strings(args.size());
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
            v.vt = VT_BSTR | VT_BYREF;
            v.pbstrVal = strings[i].InOut();
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
            *static_cast<std::wstring*>(args[i].target) = strings[i].ToString();
        }
    }
    return hr;
}

HResult ComponentHost::PutSource(const std::wstring& path) {
    com::Bstr value(path);
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = value.InOut();
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&arg, &named, 1, 1};
    const HResult hr =
        CallDispatch(component_member::kSource, DISPATCH_PROPERTYPUT, params, nullptr);
    return hr;
}

HResult ComponentHost::GetSource(std::wstring& path) {
    DISPPARAMS params = {nullptr, nullptr, 0, 0};
    com::Variant result;
    HResult hr =
        CallDispatch(component_member::kSource, DISPATCH_PROPERTYGET, params, result.Get());
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
    hosted_.Show(visible);
}

bool ComponentHost::Visible() const {
    return hosted_.Visible();
}

void ComponentHost::Move(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) {
    hosted_.Move(left, top, width, height);
}

std::int32_t ComponentHost::Top() const {
    return hosted_.Top();
}

bool ComponentHost::SetFocus() {
    return hosted_.Focus();
}

} // namespace folivex
