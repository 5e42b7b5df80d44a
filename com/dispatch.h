#pragma once
// IDispatch for a dual interface, driven entirely by the type library embedded in this module:
// names, argument coercion, optional and named arguments, by-reference arguments and the turning
// of error information into EXCEPINFO are all the library's own work.
//
//   class Thing : public com::Object<Thing, com::Dispatch<Thing, IThing>, ...> { ... };

#include "com/com_ptr.h"
#include "com/error_info.h"
#include "com/object.h"

#include <oaidl.h>

#include <vector>

namespace folivex::com {

// The type information of an interface from the type library embedded in this module.
HRESULT LoadModuleTypeInfo(REFGUID interfaceId, ITypeInfo** typeInfo);

// Script hosts pass a variable to a by-reference parameter as a VARIANT by reference, which the
// type library's own Invoke refuses for a typed parameter (a String, say) with a type mismatch.
// For each such argument the caller's variant is coerced to the parameter's type in place and
// handed on as a typed reference into it, so the member's write-back reaches the variable.
// `arguments` receives the rewritten copy of the arguments that `params` then points at.
void PassVariantReferencesAsTyped(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS& params,
                                  std::vector<VARIANTARG>& arguments);

// An omitted optional by-reference parameter with a declared default (a caption String, say)
// is not filled in by every type library implementation: Wine's drops such a call, and reads
// through a missing marker (VT_ERROR DISP_E_PARAMNOTFOUND) passed for one. When every omitted
// parameter is of that kind, each gets its default in `values` (which the caller clears after
// the call) and is handed on as a typed reference into it; so does each marked one.
void SupplyOmittedReferenceDefaults(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS& params,
                                    std::vector<VARIANTARG>& arguments,
                                    std::vector<VARIANT>& values);

// The argument list is checked before the type library sees it: no more arguments than the
// member declares (DISP_E_BADPARAMCOUNT), and each named argument names a declared parameter (or
// the value of a property put), once (DISP_E_PARAMNOTFOUND, with the offending argument's
// position in `argError`). Wine's Invoke reads past the parameter list otherwise. S_OK also for
// a member not found, which the library refuses itself.
HRESULT CheckArguments(ITypeInfo* info, DISPID id, WORD flags, const DISPPARAMS& params,
                       UINT* argError);

template <typename Derived, typename Dual>
class Dispatch : public Dual {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override {
        if (!typeInfo) {
            return E_POINTER;
        }
        *typeInfo = nullptr;
        if (index != 0) {
            return DISP_E_BADINDEX;
        }
        ITypeInfo* info = TypeInfo();
        if (!info) {
            return TYPE_E_CANTLOADLIBRARY;
        }
        info->AddRef();
        *typeInfo = info;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ITypeInfo* info = TypeInfo();
        return info ? ::DispGetIDsOfNames(info, names, count, ids) : TYPE_E_CANTLOADLIBRARY;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        if (!IsEqualIID(riid, IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        ITypeInfo* info = TypeInfo();
        if (!info) {
            return TYPE_E_CANTLOADLIBRARY;
        }
        if (params) {
            const HRESULT checked = CheckArguments(info, id, flags, *params, argError);
            if (FAILED(checked)) {
                return checked;
            }
        }
        ClearError();
        DISPPARAMS typed = params ? *params : DISPPARAMS{};
        std::vector<VARIANTARG> arguments;
        std::vector<VARIANT> defaults;
        PassVariantReferencesAsTyped(info, id, flags, typed, arguments);
        SupplyOmittedReferenceDefaults(info, id, flags, typed, arguments, defaults);
        const HRESULT hr = info->Invoke(static_cast<Dual*>(this), id, flags,
                                        params || !defaults.empty() ? &typed : nullptr, result,
                                        exception, argError);
        for (VARIANT& value : defaults) {
            ::VariantClear(&value);
        }
        return hr;
    }

private:
    ITypeInfo* TypeInfo() {
        if (!typeInfo_) {
            LoadModuleTypeInfo(__uuidof(Dual), &typeInfo_);
        }
        return typeInfo_.Get();
    }

    ComPtr<ITypeInfo> typeInfo_;
};

template <typename Derived, typename Dual>
struct InterfaceId<Dispatch<Derived, Dual>> {
    static void* Query(Dispatch<Derived, Dual>* self, REFIID riid) {
        if (IsEqualIID(riid, __uuidof(Dual)) || IsEqualIID(riid, IID_IDispatch)) {
            return static_cast<Dual*>(self);
        }
        return nullptr;
    }
};

} // namespace folivex::com
