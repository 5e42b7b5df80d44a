// Completes the type library widl makes of folivex.idl, so the shipped library equals what MIDL
// makes of the same file.
//
//   complete_typelib.exe <widl.tlb> <completed.tlb>
//
// widl cannot write three things the library carries; the IDL records them, and this tool
// finishes them:
//   - an enum carrying custom data {...2B02}: each member's help string becomes its own name;
//   - a parameter carrying custom data {...2B01} (a string): the parameter becomes optional with
//     that string as its default value;
//   - help strings: widl keeps the escapes "\r\n" and "\n" as written; they become CR LF and LF
//     ("\r" alone becomes CR). widl has already turned "\\" into a single backslash, so a
//     backslash followed by "r" or "n" cannot stand for itself in a help string.
// The two custom data entries are build devices and are left out of the result.
//
// Wine 8 can query a loaded library for ICreateTypeLib2, but SaveAllChanges then faults while
// writing it (even unmodified), so the tool copies the whole library into a new one made by
// CreateTypeLib2 instead, member by member, through the documented interfaces only.

#include "com/apartment.h"
#include "com/bstr.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace com = folivex::com;
using Microsoft::WRL::ComPtr;

const GUID kStringDefault = {
    0x6F1B5C2A, 0x8E8D, 0x4C1F, {0x9D, 0x4B, 0x1F, 0x5E, 0x7A, 0x3C, 0x2B, 0x01}};
const GUID kMemberNamesAsHelp = {
    0x6F1B5C2A, 0x8E8D, 0x4C1F, {0x9D, 0x4B, 0x1F, 0x5E, 0x7A, 0x3C, 0x2B, 0x02}};

class Failure {
public:
    Failure(const char* what, HRESULT hr) : what_(what), hr_(hr) {}
    const char* what() const { return what_; }
    HRESULT hr() const { return hr_; }

private:
    const char* what_;
    HRESULT hr_;
};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        throw Failure(what, hr);
    }
}

struct CustDataHolder {
    CUSTDATA data{};
    CustDataHolder() = default;
    CustDataHolder(const CustDataHolder&) = delete;
    CustDataHolder& operator=(const CustDataHolder&) = delete;
    ~CustDataHolder() { ::ClearCustData(&data); }
};

template <typename Attr, typename Owner, void (STDMETHODCALLTYPE Owner::*Release)(Attr*)>
class Borrowed {
public:
    Borrowed(Owner* owner, Attr* attr) : owner_(owner), attr_(attr) {}
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    ~Borrowed() {
        if (attr_) {
            (owner_->*Release)(attr_);
        }
    }
    Attr* operator->() const { return attr_; }
    Attr* Get() const { return attr_; }

private:
    Owner* owner_;
    Attr* attr_;
};

using TypeAttr = Borrowed<TYPEATTR, ITypeInfo, &ITypeInfo::ReleaseTypeAttr>;
using FuncDesc = Borrowed<FUNCDESC, ITypeInfo, &ITypeInfo::ReleaseFuncDesc>;
using VarDesc = Borrowed<VARDESC, ITypeInfo, &ITypeInfo::ReleaseVarDesc>;

std::unique_ptr<TypeAttr> GetTypeAttr(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    Check(info->GetTypeAttr(&attr), "GetTypeAttr");
    return std::make_unique<TypeAttr>(info, attr);
}

// Turns widl's verbatim escapes into the characters they stand for.
std::wstring UnescapeHelp(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() &&
            (text[i + 1] == L'r' || text[i + 1] == L'n')) {
            out.push_back(text[i + 1] == L'r' ? L'\r' : L'\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

bool IsBuildDevice(const GUID& guid) {
    return ::IsEqualGUID(guid, kStringDefault) || ::IsEqualGUID(guid, kMemberNamesAsHelp);
}

template <typename Setter>
void CopyCustData(const CUSTDATA& data, Setter set) {
    for (DWORD i = 0; i < data.cCustData; ++i) {
        if (!IsBuildDevice(data.prgCustData[i].guid)) {
            Check(set(data.prgCustData[i].guid, &data.prgCustData[i].varValue), "SetCustData");
        }
    }
}

// A TYPEDESC tree rebuilt for the new library, with user-defined references re-pointed.
class TypeDescCopy {
public:
    TYPEDESC* Add() {
        nodes_.push_back(std::make_unique<TYPEDESC>());
        return nodes_.back().get();
    }

private:
    std::vector<std::unique_ptr<TYPEDESC>> nodes_;
};

class Completer {
public:
    Completer(ITypeLib* source, ICreateTypeLib2* target) : source_(source), target_(target) {}

    void Run() {
        CopyLibrary();
        const UINT count = source_->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) {
            CreateTypeInfoShell(i);
        }
        for (UINT i = 0; i < count; ++i) {
            FillTypeInfo(i);
        }
        for (auto& created : created_) {
            Check(created->LayOut(), "LayOut");
        }
        Check(target_->SaveAllChanges(), "SaveAllChanges");
    }

private:
    void CopyLibrary() {
        TLIBATTR* attr = nullptr;
        Check(source_->GetLibAttr(&attr), "GetLibAttr");
        const TLIBATTR lib = *attr;
        source_->ReleaseTLibAttr(attr);
        com::Bstr name;
        com::Bstr doc;
        com::Bstr helpFile;
        DWORD helpContext = 0;
        Check(source_->GetDocumentation(-1, name.Out(), doc.Out(), &helpContext, helpFile.Out()),
              "GetDocumentation(library)");
        Check(target_->SetName(name.Get()), "SetName");
        Check(target_->SetGuid(lib.guid), "SetGuid");
        Check(target_->SetVersion(lib.wMajorVerNum, lib.wMinorVerNum), "SetVersion");
        Check(target_->SetLcid(lib.lcid), "SetLcid");
        Check(target_->SetLibFlags(lib.wLibFlags), "SetLibFlags");
        if (doc.Get()) {
            std::wstring text = UnescapeHelp(doc.ToString());
            Check(target_->SetDocString(text.data()), "SetDocString");
        }
        if (helpFile.Get()) {
            Check(target_->SetHelpFileName(helpFile.Get()), "SetHelpFileName");
        }
        Check(target_->SetHelpContext(helpContext), "SetHelpContext");
        ComPtr<ITypeLib2> source2;
        if (SUCCEEDED(source_->QueryInterface(IID_PPV_ARGS(&source2)))) {
            CustDataHolder cust;
            Check(source2->GetAllCustData(&cust.data), "GetAllCustData(library)");
            CopyCustData(cust.data, [&](REFGUID guid, VARIANT* value) {
                return target_->SetCustData(guid, value);
            });
        }
    }

    // A dual interface is listed as its dispatch view; the vtable view holds the real
    // definition, from which the new library derives the dispatch view again.
    ComPtr<ITypeInfo> SourceInfo(UINT index) {
        ComPtr<ITypeInfo> info;
        Check(source_->GetTypeInfo(index, &info), "GetTypeInfo");
        auto attrHolder = GetTypeAttr(info.Get());
        const TYPEATTR* attr = attrHolder->Get();
        if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL)) {
            HREFTYPE vtable = 0;
            ComPtr<ITypeInfo> vtableInfo;
            Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable),
                  "GetRefTypeOfImplType(-1)");
            Check(info->GetRefTypeInfo(vtable, &vtableInfo), "GetRefTypeInfo(vtable)");
            return vtableInfo;
        }
        return info;
    }

    void CreateTypeInfoShell(UINT index) {
        ComPtr<ITypeInfo> info = SourceInfo(index);
        auto attrHolder = GetTypeAttr(info.Get());
        const TYPEATTR* attr = attrHolder->Get();
        com::Bstr name;
        com::Bstr doc;
        DWORD helpContext = 0;
        Check(info->GetDocumentation(MEMBERID_NIL, name.Out(), doc.Out(), &helpContext, nullptr),
              "GetDocumentation(type)");
        ComPtr<ICreateTypeInfo> created;
        Check(target_->CreateTypeInfo(name.Get(), attr->typekind, &created), "CreateTypeInfo");
        ComPtr<ICreateTypeInfo2> created2;
        Check(created.As(&created2), "QueryInterface(ICreateTypeInfo2)");
        Check(created2->SetGuid(attr->guid), "SetGuid(type)");
        Check(created2->SetVersion(attr->wMajorVerNum, attr->wMinorVerNum), "SetVersion(type)");
        Check(created2->SetAlignment(attr->cbAlignment), "SetAlignment");
        if (doc.Get()) {
            std::wstring text = UnescapeHelp(doc.ToString());
            Check(created2->SetDocString(text.data()), "SetDocString(type)");
        }
        Check(created2->SetHelpContext(helpContext), "SetHelpContext(type)");
        created_.push_back(created2);
    }

    void FillTypeInfo(UINT index) {
        ComPtr<ITypeInfo> info = SourceInfo(index);
        ComPtr<ITypeInfo2> info2;
        Check(info.As(&info2), "QueryInterface(ITypeInfo2)");
        ICreateTypeInfo2* created = created_[index].Get();
        auto attrHolder = GetTypeAttr(info.Get());
        const TYPEATTR* attr = attrHolder->Get();

        // Implemented interfaces first: a dual interface's flags need its base in place.
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            HREFTYPE href = 0;
            INT flags = 0;
            Check(info->GetRefTypeOfImplType(i, &href), "GetRefTypeOfImplType");
            Check(info->GetImplTypeFlags(i, &flags), "GetImplTypeFlags");
            Check(created->AddImplType(i, MapRef(info.Get(), href, created)), "AddImplType");
            if (attr->typekind == TKIND_COCLASS) {
                Check(created->SetImplTypeFlags(i, flags), "SetImplTypeFlags");
            }
            // Custom data on implemented interfaces is not copied: Wine 8's
            // GetAllImplTypeCustData faults, and the IDL declares none.
        }
        Check(created->SetTypeFlags(attr->wTypeFlags), "SetTypeFlags");

        bool memberNamesAsHelp = false;
        {
            VARIANT flag;
            ::VariantInit(&flag);
            if (SUCCEEDED(info2->GetCustData(kMemberNamesAsHelp, &flag)) &&
                V_VT(&flag) != VT_EMPTY) {
                memberNamesAsHelp = true;
            }
            ::VariantClear(&flag);
            CustDataHolder cust;
            Check(info2->GetAllCustData(&cust.data), "GetAllCustData(type)");
            CopyCustData(cust.data, [&](REFGUID guid, VARIANT* value) {
                return created->SetCustData(guid, value);
            });
        }

        for (UINT i = 0; i < attr->cFuncs; ++i) {
            CopyFunc(info.Get(), info2.Get(), created, i);
        }
        for (UINT i = 0; i < attr->cVars; ++i) {
            CopyVar(info.Get(), info2.Get(), created, i, memberNamesAsHelp);
        }
        if (attr->typekind == TKIND_ALIAS) {
            TypeDescCopy storage;
            TYPEDESC alias = CopyTypeDesc(info.Get(), attr->tdescAlias, created, storage);
            Check(created->SetTypeDescAlias(&alias), "SetTypeDescAlias");
        }
    }

    // Re-points a reference from the widl library to the matching type of the new one; types of
    // other libraries (stdole's IDispatch) are referenced as they are.
    HREFTYPE MapRef(ITypeInfo* from, HREFTYPE href, ICreateTypeInfo2* created) {
        ComPtr<ITypeInfo> referenced;
        Check(from->GetRefTypeInfo(href, &referenced), "GetRefTypeInfo");
        ComPtr<ITypeLib> container;
        UINT index = 0;
        Check(referenced->GetContainingTypeLib(&container, &index), "GetContainingTypeLib");
        ComPtr<ITypeInfo> target = referenced;
        if (IsSourceLibrary(container.Get())) {
            Check(created_.at(index).As(&target), "QueryInterface(ITypeInfo)");
        }
        HREFTYPE mapped = 0;
        Check(created->AddRefTypeInfo(target.Get(), &mapped), "AddRefTypeInfo");
        return mapped;
    }

    bool IsSourceLibrary(ITypeLib* library) {
        TLIBATTR* a = nullptr;
        TLIBATTR* b = nullptr;
        Check(library->GetLibAttr(&a), "GetLibAttr");
        Check(source_->GetLibAttr(&b), "GetLibAttr");
        const bool same = ::IsEqualGUID(a->guid, b->guid) != 0;
        library->ReleaseTLibAttr(a);
        source_->ReleaseTLibAttr(b);
        return same;
    }

    TYPEDESC CopyTypeDesc(ITypeInfo* from, const TYPEDESC& desc, ICreateTypeInfo2* created,
                          TypeDescCopy& storage) {
        TYPEDESC copy = desc;
        switch (desc.vt) {
        case VT_PTR:
        case VT_SAFEARRAY: {
            TYPEDESC* inner = storage.Add();
            *inner = CopyTypeDesc(from, *desc.lptdesc, created, storage);
            copy.lptdesc = inner;
            break;
        }
        case VT_CARRAY:
            // The IDL declares no fixed-size arrays; refuse rather than copy one wrongly.
            throw Failure("copying a fixed-size array type", E_NOTIMPL);
        case VT_USERDEFINED:
            copy.hreftype = MapRef(from, desc.hreftype, created);
            break;
        default:
            break;
        }
        return copy;
    }

    void CopyFunc(ITypeInfo* info, ITypeInfo2* info2, ICreateTypeInfo2* created, UINT index) {
        FUNCDESC* raw = nullptr;
        Check(info->GetFuncDesc(index, &raw), "GetFuncDesc");
        FuncDesc desc(info, raw);
        FUNCDESC copy = *desc.Get();
        TypeDescCopy storage;
        copy.elemdescFunc.tdesc = CopyTypeDesc(info, desc->elemdescFunc.tdesc, created, storage);

        std::vector<ELEMDESC> params(desc->lprgelemdescParam,
                                     desc->lprgelemdescParam + desc->cParams);
        std::vector<std::unique_ptr<PARAMDESCEX>> defaults;
        for (SHORT p = 0; p < desc->cParams; ++p) {
            params[p].tdesc =
                CopyTypeDesc(info, desc->lprgelemdescParam[p].tdesc, created, storage);
            VARIANT value;
            ::VariantInit(&value);
            if (SUCCEEDED(info2->GetParamCustData(index, p, kStringDefault, &value)) &&
                V_VT(&value) != VT_EMPTY) {
                Check(::VariantChangeType(&value, &value, 0, VT_BSTR), "default value as string");
                auto ex = std::make_unique<PARAMDESCEX>();
                ex->cBytes = sizeof(PARAMDESCEX);
                ex->varDefaultValue = value; // owned by `defaults`, cleared below
                params[p].paramdesc.wParamFlags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
                params[p].paramdesc.pparamdescex = ex.get();
                defaults.push_back(std::move(ex));
            } else {
                ::VariantClear(&value);
                PARAMDESC& param = params[p].paramdesc;
                if ((param.wParamFlags & PARAMFLAG_FHASDEFAULT) && param.pparamdescex &&
                    V_VT(&param.pparamdescex->varDefaultValue) == VT_BOOL &&
                    V_BOOL(&param.pparamdescex->varDefaultValue) != VARIANT_FALSE) {
                    // Wine's writer keeps only the low byte of a Boolean default (True would
                    // read back as 255); a 16-bit integer keeps -1, and Invoke coerces it to
                    // the parameter's VARIANT_BOOL when the argument is omitted.
                    auto ex = std::make_unique<PARAMDESCEX>();
                    ex->cBytes = sizeof(PARAMDESCEX);
                    V_VT(&ex->varDefaultValue) = VT_I2;
                    V_I2(&ex->varDefaultValue) = V_BOOL(&param.pparamdescex->varDefaultValue);
                    param.pparamdescex = ex.get();
                    defaults.push_back(std::move(ex));
                }
            }
        }
        copy.lprgelemdescParam = params.empty() ? nullptr : params.data();
        copy.lprgscode = desc->cScodes > 0 ? desc->lprgscode : nullptr;
        const HRESULT added = created->AddFuncDesc(index, &copy);
        for (auto& ex : defaults) {
            ::VariantClear(&ex->varDefaultValue);
        }
        Check(added, "AddFuncDesc");

        // Names and documentation are found by member id, which property accessors share: the
        // IDL names each accessor's parameter after its property and gives both one help string.
        std::vector<BSTR> names(desc->cParams + 1, nullptr);
        UINT count = 0;
        const HRESULT gotNames =
            info->GetNames(desc->memid, names.data(), static_cast<UINT>(names.size()), &count);
        std::vector<com::Bstr> ownedNames;
        for (BSTR name : names) {
            ownedNames.push_back(com::Bstr::Attach(name));
        }
        Check(gotNames, "GetNames");
        // A property put's value parameter takes no name of its own (it is the property's).
        if ((desc->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) &&
            count > static_cast<UINT>(desc->cParams)) {
            count = desc->cParams;
        }
        Check(created->SetFuncAndParamNames(index, names.data(), count), "SetFuncAndParamNames");

        com::Bstr doc;
        DWORD helpContext = 0;
        Check(info->GetDocumentation(desc->memid, nullptr, doc.Out(), &helpContext, nullptr),
              "GetDocumentation(function)");
        if (doc.Get()) {
            std::wstring text = UnescapeHelp(doc.ToString());
            Check(created->SetFuncDocString(index, text.data()), "SetFuncDocString");
        }
        Check(created->SetFuncHelpContext(index, helpContext), "SetFuncHelpContext");

        CustDataHolder cust;
        Check(info2->GetAllFuncCustData(index, &cust.data), "GetAllFuncCustData");
        CopyCustData(cust.data, [&](REFGUID guid, VARIANT* value) {
            return created->SetFuncCustData(index, guid, value);
        });
        for (SHORT p = 0; p < desc->cParams; ++p) {
            CustDataHolder paramCust;
            Check(info2->GetAllParamCustData(index, p, &paramCust.data), "GetAllParamCustData");
            CopyCustData(paramCust.data, [&](REFGUID guid, VARIANT* value) {
                return created->SetParamCustData(index, p, guid, value);
            });
        }
    }

    void CopyVar(ITypeInfo* info, ITypeInfo2* info2, ICreateTypeInfo2* created, UINT index,
                 bool memberNamesAsHelp) {
        VARDESC* raw = nullptr;
        Check(info->GetVarDesc(index, &raw), "GetVarDesc");
        VarDesc desc(info, raw);
        VARDESC copy = *desc.Get();
        TypeDescCopy storage;
        copy.elemdescVar.tdesc = CopyTypeDesc(info, desc->elemdescVar.tdesc, created, storage);
        Check(created->AddVarDesc(index, &copy), "AddVarDesc");

        com::Bstr name;
        com::Bstr doc;
        DWORD helpContext = 0;
        Check(info->GetDocumentation(desc->memid, name.Out(), doc.Out(), &helpContext, nullptr),
              "GetDocumentation(variable)");
        Check(created->SetVarName(index, name.Get()), "SetVarName");
        std::wstring text = memberNamesAsHelp ? name.ToString() : UnescapeHelp(doc.ToString());
        if (memberNamesAsHelp || doc.Get()) {
            Check(created->SetVarDocString(index, text.data()), "SetVarDocString");
        }
        Check(created->SetVarHelpContext(index, helpContext), "SetVarHelpContext");
        CustDataHolder cust;
        Check(info2->GetAllVarCustData(index, &cust.data), "GetAllVarCustData");
        CopyCustData(cust.data, [&](REFGUID guid, VARIANT* value) {
            return created->SetVarCustData(index, guid, value);
        });
    }

    ITypeLib* source_;
    ICreateTypeLib2* target_;
    std::vector<ComPtr<ICreateTypeInfo2>> created_;
};

int Complete(const wchar_t* input, const wchar_t* output) {
    com::Apartment apartment;
    ComPtr<ITypeLib> source;
    Check(::LoadTypeLibEx(input, REGKIND_NONE, &source), "LoadTypeLibEx");
    TLIBATTR* attr = nullptr;
    Check(source->GetLibAttr(&attr), "GetLibAttr");
    const SYSKIND syskind = attr->syskind;
    source->ReleaseTLibAttr(attr);
    ::DeleteFileW(output);
    ComPtr<ICreateTypeLib2> target;
    Check(::CreateTypeLib2(syskind, output, &target), "CreateTypeLib2");
    Completer(source.Get(), target.Get()).Run();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: complete_typelib <widl.tlb> <completed.tlb>\n");
        return 2;
    }
    try {
        return Complete(argv[1], argv[2]);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "complete_typelib: %s failed: 0x%08lX\n", failure.what(),
                     static_cast<unsigned long>(failure.hr()));
        ::DeleteFileW(argv[2]);
        return 1;
    }
}
