#include "tests/windows/hostile/vtable_null_calls.h"

#include "com/bstr.h"

#include <memory>

namespace folivex::testing {
namespace {

// The pointee kind of a pointer parameter, so its storage is freed the right way.
VARTYPE PointeeType(const TYPEDESC& type) {
    if (type.vt == VT_PTR && type.lptdesc) {
        const VARTYPE pointee = type.lptdesc->vt;
        return pointee == VT_USERDEFINED ? static_cast<VARTYPE>(VT_I4) : pointee;
    }
    return VT_EMPTY;
}

std::wstring ParameterName(ITypeInfo* info, MEMBERID member, UINT index) {
    std::vector<BSTR> names(index + 2, nullptr);
    UINT count = 0;
    info->GetNames(member, names.data(), static_cast<UINT>(names.size()), &count);
    // Owned at once: GetNames hands the strings to the caller.
    std::vector<com::Bstr> owned;
    for (UINT i = 0; i < count; ++i) {
        owned.push_back(com::Bstr::Attach(names[i]));
    }
    return index + 1 < count ? owned[index + 1].ToString() : L"?";
}

// Calls one member with the pointer parameters in `nulls` NULL and the others valid.
HRESULT CallOnce(IUnknown* object, const FUNCDESC& function, const std::vector<bool>& nulls,
                 ArgumentGenerator& generator) {
    const auto count = static_cast<size_t>(function.cParams);
    std::vector<VARIANTARG> arguments(count);
    std::vector<VARTYPE> types(count);
    std::vector<VARIANTARG*> pointers(count);
    // Where valid pointers point; freed by their kind afterwards.
    std::vector<std::unique_ptr<VARIANT>> storage(count);
    for (size_t i = 0; i < count; ++i) {
        const ELEMDESC& parameter = function.lprgelemdescParam[i];
        VARIANTARG& argument = arguments[i];
        ::VariantInit(&argument);
        pointers[i] = &argument;
        const VARTYPE pointee = PointeeType(parameter.tdesc);
        if (pointee != VT_EMPTY) {
            types[i] = VT_BYREF | VT_I4; // any pointer: it is passed as it is
            argument.vt = types[i];
            argument.byref = nullptr;
            if (!nulls[i]) {
                storage[i] = std::make_unique<VARIANT>();
                ::VariantInit(storage[i].get());
                storage[i]->vt = pointee;
                if (pointee == VT_BSTR && (parameter.paramdesc.wParamFlags & PARAMFLAG_FIN)) {
                    storage[i]->bstrVal = generator.String();
                }
                argument.byref = &storage[i]->lVal;
            }
            continue;
        }
        switch (parameter.tdesc.vt) {
        case VT_BSTR:
            types[i] = VT_BSTR;
            argument.vt = VT_BSTR;
            argument.bstrVal = generator.String();
            break;
        case VT_R4:
            types[i] = VT_R4;
            argument.vt = VT_R4;
            argument.fltVal = 100.0f;
            break;
        case VT_I2:
        case VT_BOOL:
            types[i] = parameter.tdesc.vt;
            argument.vt = parameter.tdesc.vt;
            argument.iVal = -1;
            break;
        default: // long and the enums
            types[i] = VT_I4;
            argument.vt = VT_I4;
            argument.lVal = 1;
            break;
        }
    }
    VARIANT result;
    ::VariantInit(&result);
    HRESULT hr = ::DispCallFunc(object, function.oVft, CC_STDCALL, VT_ERROR,
                                static_cast<UINT>(count), types.data(), pointers.data(), &result);
    if (SUCCEEDED(hr)) {
        hr = result.scode;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!(arguments[i].vt & VT_BYREF)) {
            ::VariantClear(&arguments[i]);
        }
        if (storage[i]) {
            ::VariantClear(storage[i].get());
        }
    }
    return hr;
}

} // namespace

std::vector<NullPointerCall> CallWithNullPointers(IUnknown* object, ITypeInfo* info,
                                                  ArgumentGenerator& generator) {
    std::vector<NullPointerCall> calls;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) {
        return calls;
    }
    const WORD functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT index = 0; index < functions; ++index) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(index, &function))) {
            continue;
        }
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        const std::wstring member = com::Bstr::Attach(name).ToString();
        std::vector<size_t> pointerParameters;
        for (SHORT i = 0; i < function->cParams; ++i) {
            if (PointeeType(function->lprgelemdescParam[i].tdesc) != VT_EMPTY) {
                pointerParameters.push_back(static_cast<size_t>(i));
            }
        }
        // Every pointer NULL, then each alone.
        std::vector<std::vector<size_t>> patterns{pointerParameters};
        if (pointerParameters.size() > 1) {
            for (size_t parameter : pointerParameters) {
                patterns.push_back({parameter});
            }
        }
        for (const auto& pattern : patterns) {
            if (pattern.empty()) {
                continue;
            }
            std::vector<bool> nulls(static_cast<size_t>(function->cParams), false);
            NullPointerCall call{member, L"", false, S_OK};
            for (size_t parameter : pattern) {
                nulls[parameter] = true;
                call.nulls += (call.nulls.empty() ? L"" : L", ") +
                              ParameterName(info, function->memid, static_cast<UINT>(parameter));
                if (function->lprgelemdescParam[parameter].paramdesc.wParamFlags &
                    PARAMFLAG_FRETVAL) {
                    call.retvalNull = true;
                }
            }
            call.result = CallOnce(object, *function, nulls, generator);
            calls.push_back(call);
        }
        info->ReleaseFuncDesc(function);
    }
    return calls;
}

} // namespace folivex::testing
