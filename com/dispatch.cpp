#include "com/dispatch.h"

#include "com/module.h"

namespace folivex::com {

HRESULT LoadModuleTypeInfo(REFGUID interfaceId, ITypeInfo** typeInfo) {
    ComPtr<ITypeLib> library;
    // The library is resource TYPELIB 1 of this module; oleaut32 caches loaded libraries.
    HRESULT hr = ::LoadTypeLibEx(Module::Path(), REGKIND_NONE, &library);
    if (FAILED(hr)) {
        return hr;
    }
    return library->GetTypeInfoOfGuid(interfaceId, typeInfo);
}

namespace {

// The function description of member `id` for the kind of call `flags` makes.
class FunctionDescription {
public:
    // Looked up by scanning: the index GetFuncIndexOfMemId gives for a dual interface's
    // dispatch view is not always the index GetFuncDesc takes there.
    FunctionDescription(ITypeInfo* info, DISPID id, WORD flags) : info_(info) {
        TYPEATTR* attributes = nullptr;
        if (FAILED(info->GetTypeAttr(&attributes))) {
            return;
        }
        const UINT count = attributes->cFuncs;
        info->ReleaseTypeAttr(attributes);
        for (UINT index = 0; index < count && !description_; ++index) {
            FUNCDESC* candidate = nullptr;
            if (FAILED(info->GetFuncDesc(index, &candidate))) {
                continue;
            }
            if (candidate->memid == id && (flags & candidate->invkind)) {
                description_ = candidate;
            } else {
                info->ReleaseFuncDesc(candidate);
            }
        }
    }
    ~FunctionDescription() {
        if (description_) {
            info_->ReleaseFuncDesc(description_);
        }
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;

    const FUNCDESC* Get() const { return description_; }

private:
    ITypeInfo* info_;
    FUNCDESC* description_ = nullptr;
};

// The base type of a by-reference parameter of a plain automation type, or VT_EMPTY.
VARTYPE ReferencedType(const ELEMDESC& parameter) {
    const TYPEDESC& type = parameter.tdesc;
    if (type.vt != VT_PTR || !type.lptdesc) {
        return VT_EMPTY;
    }
    switch (type.lptdesc->vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_BSTR:
        return type.lptdesc->vt;
    default:
        return VT_EMPTY;
    }
}

} // namespace

HRESULT CheckArguments(ITypeInfo* info, DISPID id, WORD flags, const DISPPARAMS& params,
                       UINT* argError) {
    if (params.cArgs == 0 && params.cNamedArgs == 0) {
        return S_OK;
    }
    if (params.cNamedArgs > params.cArgs || (params.cNamedArgs && !params.rgdispidNamedArgs)) {
        return DISP_E_BADPARAMCOUNT;
    }
    FunctionDescription function(info, id, flags);
    const FUNCDESC* description = function.Get();
    if (!description) {
        return S_OK;
    }
    UINT declared = 0;
    while (declared < static_cast<UINT>(description->cParams) &&
           !(description->lprgelemdescParam[declared].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) {
        ++declared;
    }
    // Whether the member called is a property put, which the flags alone do not say: a caller may
    // set every flag, and the library then calls the first function of the member that matches
    // one (a method's, say), which has no value to name.
    const bool put = (description->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) != 0;
    for (UINT i = 0; i < params.cNamedArgs; ++i) {
        const DISPID name = params.rgdispidNamedArgs[i];
        bool known =
            name == DISPID_PROPERTYPUT ? put : name >= 0 && static_cast<UINT>(name) < declared;
        for (UINT earlier = 0; known && earlier < i; ++earlier) {
            known = params.rgdispidNamedArgs[earlier] != name;
        }
        if (!known) {
            if (argError) {
                *argError = i; // named arguments come first in rgvarg
            }
            return DISP_E_PARAMNOTFOUND;
        }
    }
    // (A property put's function lists its value among the parameters.)
    if (params.cArgs > declared) {
        return DISP_E_BADPARAMCOUNT;
    }
    return S_OK;
}

void PassVariantReferencesAsTyped(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS& params,
                                  std::vector<VARIANTARG>& arguments) {
    if (!info || !params.rgvarg || params.cArgs == 0 || params.cNamedArgs != 0) {
        return;
    }
    FunctionDescription function(info, id, flags);
    const FUNCDESC* description = function.Get();
    if (!description) {
        return;
    }
    arguments.assign(params.rgvarg, params.rgvarg + params.cArgs);
    const UINT count = params.cArgs < static_cast<UINT>(description->cParams)
                           ? params.cArgs
                           : static_cast<UINT>(description->cParams);
    for (UINT position = 0; position < count; ++position) {
        // DISPPARAMS holds the arguments last first.
        VARIANTARG& argument = arguments[params.cArgs - 1 - position];
        const VARTYPE wanted = ReferencedType(description->lprgelemdescParam[position]);
        if (wanted == VT_EMPTY || argument.vt != (VT_VARIANT | VT_BYREF) || !argument.pvarVal) {
            continue;
        }
        VARIANT* variable = argument.pvarVal;
        if (variable->vt != wanted && FAILED(::VariantChangeType(variable, variable, 0, wanted))) {
            continue; // left for the library's Invoke to refuse
        }
        argument.vt = static_cast<VARTYPE>(wanted | VT_BYREF);
        argument.byref = &variable->bstrVal; // the value union of the caller's variant
    }
    params.rgvarg = arguments.data();
}

namespace {

// The marker a caller passes for an argument it leaves out in the middle of a list.
bool IsMissingMarker(const VARIANTARG& argument) {
    return argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
}

// Puts the parameter's default into `value` and a typed reference to it into `reference`; false
// when the parameter is not a by-reference one with a default that this can supply.
bool DefaultReference(const ELEMDESC& parameter, VARIANT& value, VARIANTARG& reference) {
    const USHORT parameterFlags = parameter.paramdesc.wParamFlags;
    const VARTYPE wanted = ReferencedType(parameter);
    ::VariantClear(&value);
    if (wanted == VT_EMPTY || !(parameterFlags & PARAMFLAG_FOPT) ||
        !(parameterFlags & PARAMFLAG_FHASDEFAULT) || !parameter.paramdesc.pparamdescex ||
        FAILED(::VariantChangeType(&value, &parameter.paramdesc.pparamdescex->varDefaultValue, 0,
                                   wanted))) {
        return false;
    }
    ::VariantInit(&reference);
    reference.vt = static_cast<VARTYPE>(wanted | VT_BYREF);
    reference.byref = &value.bstrVal; // the value union of the default's variant
    return true;
}

} // namespace

void SupplyOmittedReferenceDefaults(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS& params,
                                    std::vector<VARIANTARG>& arguments,
                                    std::vector<VARIANT>& values) {
    if (!info) {
        return;
    }
    FunctionDescription function(info, id, flags);
    const FUNCDESC* description = function.Get();
    if (!description) {
        return;
    }
    UINT declared = 0;
    while (declared < static_cast<UINT>(description->cParams) &&
           !(description->lprgelemdescParam[declared].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) {
        ++declared;
    }
    if (params.cArgs > declared || (params.cArgs && !params.rgvarg)) {
        return;
    }
    bool markers = false;
    for (UINT i = 0; i < params.cArgs; ++i) {
        markers = markers || IsMissingMarker(params.rgvarg[i]);
    }
    const bool omitted = params.cNamedArgs == 0 && params.cArgs < declared;
    if (!markers && !omitted) {
        return;
    }
    // Sized once, a slot per parameter: the references handed on point into it.
    values.assign(declared, VARIANT{});
    std::vector<VARIANTARG> all(params.rgvarg, params.rgvarg + params.cArgs);

    // A missing marker for such a parameter is the same as leaving it out (Wine's library read a
    // default through the marker and crashed the host). Named arguments come first and name
    // their parameter; the positional ones follow, last first.
    for (UINT i = 0; i < params.cArgs; ++i) {
        if (!IsMissingMarker(all[i])) {
            continue;
        }
        const DISPID named = i < params.cNamedArgs ? params.rgdispidNamedArgs[i] : -1;
        if (i < params.cNamedArgs && named < 0) {
            continue; // the value of a property put
        }
        const UINT position =
            i < params.cNamedArgs ? static_cast<UINT>(named) : params.cArgs - 1 - i;
        VARIANTARG reference{};
        if (position < declared && DefaultReference(description->lprgelemdescParam[position],
                                                    values[position], reference)) {
            all[i] = reference;
        }
    }

    // Parameters left out at the end: all of them must be of that kind, or the library's Invoke
    // deals with the call as it came.
    if (omitted) {
        std::vector<VARIANTARG> front;
        for (UINT position = declared; position-- > params.cArgs;) {
            VARIANTARG reference{};
            if (!DefaultReference(description->lprgelemdescParam[position], values[position],
                                  reference)) {
                front.clear();
                break;
            }
            front.push_back(reference);
        }
        if (!front.empty()) {
            all.insert(all.begin(), front.begin(), front.end());
            params.cArgs = declared;
        }
    }
    arguments.swap(all);
    params.rgvarg = arguments.data();
}

} // namespace folivex::com
