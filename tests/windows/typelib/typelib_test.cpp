// Checks the shipped type library entry by entry: the library, the coclass, the dual interface
// with its function table in vtable order, the event interface and the enums.
//
//   folivex_typelib_test.exe <Folivex.tlb | Folivex.dll> [gtest flags]

#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

std::wstring g_library_path;

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kOut = PARAMFLAG_FOUT;
constexpr USHORT kRetval = PARAMFLAG_FRETVAL;
constexpr USHORT kOpt = PARAMFLAG_FOPT;
constexpr USHORT kDefault = PARAMFLAG_FHASDEFAULT;

struct Param {
    const wchar_t* name;
    const wchar_t* type;
    USHORT flags;
    const wchar_t* default_value; // as rendered by RenderDefault; nullptr: none
};

struct Function {
    const wchar_t* name;
    MEMBERID id;
    INVOKEKIND kind;
    std::vector<Param> params;
    const wchar_t* help;
};

// The function table of _Viewer after the seven IDispatch slots, in slot order.
const std::vector<Function> kViewerFunctions = {
    {L"Path",
     0x4003000B,
     INVOKE_PROPERTYGET,
     {{L"Path", L"BSTR*", kOut | kRetval, nullptr}},
     L"Set/get PDF file path."},
    {L"Path",
     0x4003000B,
     INVOKE_PROPERTYPUT,
     {{L"Path", L"BSTR", kIn, nullptr}},
     L"Set/get PDF file path."},
    {L"BeginDownload",
     0x6003000F,
     INVOKE_FUNC,
     {{L"strURL", L"BSTR*", kIn | kOut, nullptr},
      {L"strFile", L"BSTR*", kIn | kOut, nullptr},
      {L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Download a file from a web server (http)."},
    {L"IsReaderInstalled",
     0x60030010,
     INVOKE_FUNC,
     {{L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Method to determine if Adobe Acrobat Reader 7 or greater is installed."},
    {L"OpenPDF",
     0x60030014,
     INVOKE_FUNC,
     {{L"strPath", L"BSTR", kIn | kOpt | kDefault, L"\"\""},
      {L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Open a PDF file located on a local drive, network drive, or web server (http)."},
    {L"Refresh", 0x60030015, INVOKE_FUNC, {}, L"Method to refresh the view."},
    {L"SaveCopy",
     0x60030016,
     INVOKE_FUNC,
     {{L"strFile", L"BSTR*", kIn | kOut, nullptr},
      {L"strSourcePDF", L"BSTR", kIn | kOpt | kDefault, L"\"\""},
      {L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Method to save a copy of the PDF file."},
    {L"Search",
     0x60030017,
     INVOKE_FUNC,
     {{L"strSearchFor", L"BSTR", kIn | kOpt | kDefault, L"\"\""}},
     L"Method to search for specified text in active PDF document."},
    {L"SelectText",
     0x60030018,
     INVOKE_FUNC,
     {},
     L"Method to select all text in active PDF document."},
    {L"CloseAcrobat",
     0x60030019,
     INVOKE_FUNC,
     {{L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Close Acrobat Standard/Professional."},
    {L"CloseReader",
     0x6003001A,
     INVOKE_FUNC,
     {{L"Result", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Close Adobe Reader."},
    {L"CopyToClipboard",
     0x6003001B,
     INVOKE_FUNC,
     {},
     L"Method to copy all text in active PDF document to Window's Clipboard."},
    {L"CopyToString",
     0x6003001C,
     INVOKE_FUNC,
     {{L"Result", L"BSTR*", kOut | kRetval, nullptr}},
     L"Method to copy all text in active PDF document to a string variable."},
    {L"DeselectText",
     0x6003001D,
     INVOKE_FUNC,
     {},
     L"Method to deselect all text in active PDF document."},
    {L"PrintPDF",
     0x60030021,
     INVOKE_FUNC,
     {},
     L"Prints the document according to the options selected in a user dialog box. The options "
     L"include embedded printing (printing within a bounding rectangle on a given page), as "
     L"well\r\nas interactive printing to a specified printer."},
    {L"PrintAll",
     0x60030022,
     INVOKE_FUNC,
     {},
     L"Prints the entire document without displaying a user dialog box. The current printer, page "
     L"settings, and job settings are used. Printing is complete when this method "
     L"returns.\r\nNOTE:If security settings do not allow printing, this method will be ignored."},
    {L"PrintAllFit",
     0x60030023,
     INVOKE_FUNC,
     {{L"blnShrinkToFit", L"VARIANT_BOOL", kIn, nullptr}},
     L"Prints the entire document without displaying a user dialog box, and the pages are shrunk, "
     L"if necessary, to fit into the imageable area of a page in the printer. The current printer, "
     L"page\r\nsettings, and job settings are used."},
    {L"PrintPages",
     0x60030024,
     INVOKE_FUNC,
     {{L"lngFrom", L"long", kIn, nullptr}, {L"lngTo", L"long", kIn, nullptr}},
     L"Prints the specified pages without displaying a user dialog box. The current printer, page "
     L"settings, and job settings are used. Printing is complete when this method "
     L"returns.\r\nNOTE:If security settings do not allow printing, this method will be ignored."},
    {L"PrintPagesFit",
     0x60030025,
     INVOKE_FUNC,
     {{L"lngFrom", L"long", kIn, nullptr},
      {L"lngTo", L"long", kIn, nullptr},
      {L"blnShrinkToFit", L"VARIANT_BOOL", kIn, nullptr}},
     L"Prints the specified pages without displaying a user dialog box. The current printer, page "
     L"settings, and job settings are used. Printing is complete when this method "
     L"returns.\r\nNOTE:If security settings do not allow printing, this method will be ignored."},
    {L"PrintWithDialog",
     0x60030026,
     INVOKE_FUNC,
     {},
     L"Prints the document according to the options selected in a user dialog box. The options "
     L"include embedded printing (printing within a bounding rectangle on a given page), as "
     L"well\r\nas interactive printing to a specified printer."},
    {L"GotoFirstPage",
     0x60030027,
     INVOKE_FUNC,
     {},
     L"Move to the first page in the document, maintaining the current location within the page "
     L"and zoom level."},
    {L"GotoLastPage",
     0x60030028,
     INVOKE_FUNC,
     {},
     L"Move to the last page in the document, maintaining the current location within the page and "
     L"zoom level."},
    {L"GotoNextPage",
     0x60030029,
     INVOKE_FUNC,
     {},
     L"Move to the next page in the document if it exists, maintaining the current location within "
     L"the page and zoom level."},
    {L"GotoPreviousPage",
     0x6003002A,
     INVOKE_FUNC,
     {},
     L"Move to the previous page in the document if it exists, maintaining the current location "
     L"within the page and zoom level."},
    {L"SetCurrentPage",
     0x6003002B,
     INVOKE_FUNC,
     {{L"lngPage", L"long", kIn, nullptr}},
     L"Goes to the specified page in the document. Maintains the current location within the page "
     L"and zoom level."},
    {L"ShowScrollBars",
     0x6003002C,
     INVOKE_FUNC,
     {{L"blnShow", L"VARIANT_BOOL", kIn | kOpt | kDefault, L"-1"}},
     L"Determines whether scrollbars will be visible."},
    {L"ShowToolbar",
     0x6003002D,
     INVOKE_FUNC,
     {{L"blnShow", L"VARIANT_BOOL", kIn | kOpt | kDefault, L"-1"},
      {L"blnCloseToolbar", L"VARIANT_BOOL", kIn | kOpt | kDefault, L"0"}},
     L"Determines whether a toolbar will be visible."},
    {L"EnableNavigationBar", 0x6003002E, INVOKE_FUNC, {}, L"Method to enable the navigation bar."},
    {L"EnableToolbar", 0x6003002F, INVOKE_FUNC, {}, L"Method to enable the toolbar."},
    {L"SetZoom",
     0x60030030,
     INVOKE_FUNC,
     {{L"sngPercent", L"float", kIn, nullptr}},
     L"Sets the magnification according to the specified percent value."},
    {L"Source",
     0x68030007,
     INVOKE_PROPERTYPUT,
     {{L"Source", L"BSTR", kIn, nullptr}},
     L"Set/get PDF source file."},
    {L"Source",
     0x68030007,
     INVOKE_PROPERTYGET,
     {{L"Source", L"BSTR*", kOut | kRetval, nullptr}},
     L"Set/get PDF source file."},
    {L"TempPath",
     0x68030006,
     INVOKE_PROPERTYPUT,
     {{L"TempPath", L"BSTR", kIn, nullptr}},
     L"Set/get directory where temporary files will be created. The default directory is "
     L"C:\\TEMP\r\nOpenPDF downloads a document whose name begins with \"http\" into this "
     L"directory,\r\nthen opens it from there; such downloaded files are deleted automatically."},
    {L"TempPath",
     0x68030006,
     INVOKE_PROPERTYGET,
     {{L"TempPath", L"BSTR*", kOut | kRetval, nullptr}},
     L"Set/get directory where temporary files will be created. The default directory is "
     L"C:\\TEMP\r\nOpenPDF downloads a document whose name begins with \"http\" into this "
     L"directory,\r\nthen opens it from there; such downloaded files are deleted automatically."},
    {L"SetCurrentHighlight",
     0x60030031,
     INVOKE_FUNC,
     {{L"lngLeft", L"long", kIn, nullptr},
      {L"lngTop", L"long", kIn, nullptr},
      {L"lngRight", L"long", kIn, nullptr},
      {L"lngBottom", L"long", kIn, nullptr}},
     L"Highlights the text selection within the specified bounding rectangle on the current page."},
    {L"SetLayoutMode",
     0x60030032,
     INVOKE_FUNC,
     {{L"lngLayoutMode", L"LayoutMode", kIn, nullptr}},
     L"Sets the layout mode for a page view according to the specified string. Layout modes: 0 "
     L"(pvwDontCare), 1 (pvwSinglePage), 2 (pvwOneColumn), 3 (pvwTwoColumnLeft), and 4 "
     L"(pvwTwoColumnRight)."},
    {L"SetNamedDest",
     0x60030033,
     INVOKE_FUNC,
     {{L"strNamedDest", L"BSTR", kIn, nullptr}},
     L"Sets the page view to the named destination.\r\n"},
    {L"SetPageMode",
     0x60030034,
     INVOKE_FUNC,
     {{L"lngPageMode", L"PageMode", kIn, nullptr}},
     L"Sets the page mode. Page modes: 0 (pvwNone), 1 (pvwBookmarks), and 2 (pvwThumbs)."},
    {L"SetView",
     0x60030035,
     INVOKE_FUNC,
     {{L"lngViewMode", L"ViewMode", kIn, nullptr}},
     L"Sets the view of a page. View modes: 0 (pvwFit), 1 (pvwFitH), 2 (pvwFitV), 3 (pvwFitB), 4 "
     L"(pvwFitBH), and 5 (pvwFitBV)."},
    {L"SetViewRect",
     0x60030036,
     INVOKE_FUNC,
     {{L"sngLeft", L"float", kIn, nullptr},
      {L"sngTop", L"float", kIn, nullptr},
      {L"sngWidth", L"float", kIn, nullptr},
      {L"sngHeight", L"float", kIn, nullptr}},
     L"Sets the view rectangle according to the specified coordinates."},
    {L"SetViewScroll",
     0x60030037,
     INVOKE_FUNC,
     {{L"lngViewMode", L"ViewMode", kIn, nullptr}, {L"sngOffset", L"float", kIn, nullptr}},
     L"Sets the view of a page. Depending on the view mode, the page is either scrolled to the "
     L"right or scrolled down by the amount specified in offset. View modes: Values: 0 (pvwFit), 1 "
     L"(pvwFitH), 2 (pvwFitV), 3 (pvwFitB), 4 (pvwFitBH), and 5 (pvwFitBV)."},
    {L"SetZoomScroll",
     0x60030038,
     INVOKE_FUNC,
     {{L"sngPercent", L"float", kIn, nullptr},
      {L"sngLeft", L"float", kIn, nullptr},
      {L"sngTop", L"float", kIn, nullptr}},
     L"Sets the magnification according to the specified percent value, and scrolls the page view "
     L"both horizontally and vertically according to the specified amounts."},
    {L"GotoPreviousView",
     0x60030039,
     INVOKE_FUNC,
     {},
     L"Move to the previous page view if it exists."},
    {L"GotoNextView", 0x6003003A, INVOKE_FUNC, {}, L"Move to the next page view if it exists."},
    {L"hwnd",
     0x68030005,
     INVOKE_PROPERTYGET,
     {{L"hwnd", L"long*", kOut | kRetval, nullptr}},
     L"Get the handle number of the control."},
    {L"DisableToolbar", 0x6003003B, INVOKE_FUNC, {}, L"Method to disable the toolbar."},
    {L"DisableNavigationBar",
     0x6003003D,
     INVOKE_FUNC,
     {},
     L"Method to disable the navigation bar."},
    {L"Page",
     0x68030004,
     INVOKE_PROPERTYGET,
     {{L"Page", L"long*", kOut | kRetval, nullptr}},
     L"Get the current page number of the active PDF file."},
    {L"ZoomPct",
     0x68030003,
     INVOKE_PROPERTYGET,
     {{L"ZoomPct", L"short*", kOut | kRetval, nullptr}},
     L"Get the current zoom percentage number of the active PDF file."},
    {L"ReaderVersion",
     0x68030002,
     INVOKE_PROPERTYGET,
     {{L"ReaderVersion", L"short*", kOut | kRetval, nullptr}},
     L"Get/set Adobe Reader version."},
    {L"ReaderVersion",
     0x68030002,
     INVOKE_PROPERTYPUT,
     {{L"ReaderVersion", L"short", kIn, nullptr}},
     L"Get/set Adobe Reader version."},
    {L"PageTotal",
     0x68030001,
     INVOKE_PROPERTYGET,
     {{L"PageTotal", L"long*", kOut | kRetval, nullptr}},
     L"Get the total page count of the active PDF file."},
    {L"DisablePrintDialog",
     0x60030042,
     INVOKE_FUNC,
     {{L"strWindowCaption", L"BSTR*", kIn | kOut | kOpt | kDefault, L"\"print\""}},
     L"Method to prevent access to the Print Dialog."},
    {L"DisableSaveDialog",
     0x60030043,
     INVOKE_FUNC,
     {{L"strWindowCaption", L"BSTR*", kIn | kOut | kOpt | kDefault, L"\"save a copy...\""}},
     L"Method to prevent access to the Save Dialog."},
    {L"EnablePrintDialog",
     0x60030044,
     INVOKE_FUNC,
     {},
     L"Method to allow access to the Print Dialog."},
    {L"EnableSaveDialog",
     0x60030045,
     INVOKE_FUNC,
     {},
     L"Method to allow access to the Save Dialog."},
    {L"DisableSaveKeys",
     0x68030000,
     INVOKE_PROPERTYGET,
     {{L"DisableSaveKeys", L"VARIANT_BOOL*", kOut | kRetval, nullptr}},
     L"Get/set property to determine whether keys for saving the active PDF file will be "
     L"disabled."},
    {L"DisableSaveKeys",
     0x68030000,
     INVOKE_PROPERTYPUT,
     {{L"DisableSaveKeys", L"VARIANT_BOOL", kIn, nullptr}},
     L"Get/set property to determine whether keys for saving the active PDF file will be "
     L"disabled."},
};

const std::vector<Function> kViewerEvents = {
    {L"DownloadStarted",
     1,
     INVOKE_FUNC,
     {{L"SaveFile", L"BSTR*", kIn | kOut, nullptr}},
     L"Event that is fired within method OpenPDF when an http file has started downloading."},
    {L"DownloadProgress",
     2,
     INVOKE_FUNC,
     {{L"CurBytes", L"long*", kIn | kOut, nullptr},
      {L"MaxBytes", L"long*", kIn | kOut, nullptr},
      {L"SaveFile", L"BSTR*", kIn | kOut, nullptr}},
     L"Event that is fired within method OpenPDF which indicates the download progress of an http "
     L"file."},
    {L"DownloadError",
     3,
     INVOKE_FUNC,
     {{L"SaveFile", L"BSTR*", kIn | kOut, nullptr}},
     L"Event that is fired within method OpenPDF when an error occurs while downloading an http "
     L"file."},
    {L"DownloadComplete",
     4,
     INVOKE_FUNC,
     {{L"MaxBytes", L"long*", kIn | kOut, nullptr}, {L"SaveFile", L"BSTR*", kIn | kOut, nullptr}},
     L"Event that is fired within method OpenPDF when an http file has finished downloading."},
};

struct EnumMember {
    const wchar_t* name;
    LONG value;
};

struct Enum {
    const wchar_t* name;
    const wchar_t* guid;
    std::vector<EnumMember> members;
};

const std::vector<Enum> kEnums = {
    {L"LayoutMode",
     L"{1BABEB62-2FAE-456E-A507-96DA6926D57E}",
     {{L"pvwDontCare", 0},
      {L"pvwSinglePage", 1},
      {L"pvwOneColumn", 2},
      {L"pvwTwoColumnLeft", 3},
      {L"pvwTwoColumnRight", 4}}},
    {L"PageMode",
     L"{8052E2D6-18C2-41E7-8A6C-405D5B67686A}",
     {{L"pvwNone", 0}, {L"pvwBookmarks", 1}, {L"pvwThumbs", 2}}},
    {L"ViewMode",
     L"{EE764424-7A95-446E-8878-2C77D179066C}",
     {{L"pvwFit", 0},
      {L"pvwFitH", 1},
      {L"pvwFitV", 2},
      {L"pvwFitB", 3},
      {L"pvwFitBH", 4},
      {L"pvwFitBV", 5}}},
};

// Build devices of the IDL that must not survive into the shipped library.
const wchar_t* const kBuildDevices[] = {L"{6F1B5C2A-8E8D-4C1F-9D4B-1F5E7A3C2B01}",
                                        L"{6F1B5C2A-8E8D-4C1F-9D4B-1F5E7A3C2B02}"};

GUID Guid(const wchar_t* text) {
    GUID guid{};
    EXPECT_EQ(S_OK, ::CLSIDFromString(text, &guid)) << text;
    return guid;
}

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

// This program builds on its own, without the project's libraries: the string is owned here.
std::wstring Take(BSTR value) {
    const std::unique_ptr<OLECHAR, decltype(&::SysFreeString)> owned(value, &::SysFreeString);
    return value ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r') {
            out += "\\r";
        } else if (c == L'\n') {
            out += "\\n";
        } else {
            out += c < 128 ? static_cast<char>(c) : '?';
        }
    }
    return out;
}

std::wstring TypeName(ITypeInfo* owner, const TYPEDESC& desc) {
    switch (desc.vt) {
    case VT_PTR:
        return TypeName(owner, *desc.lptdesc) + L"*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> referenced;
        if (FAILED(owner->GetRefTypeInfo(desc.hreftype, &referenced))) {
            return L"<bad reference>";
        }
        BSTR name = nullptr;
        referenced->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        return Take(name);
    }
    case VT_BSTR:
        return L"BSTR";
    case VT_BOOL:
        return L"VARIANT_BOOL";
    case VT_I4:
        return L"long";
    case VT_I2:
        return L"short";
    case VT_R4:
        return L"float";
    case VT_HRESULT:
        return L"HRESULT";
    case VT_VOID:
        return L"void";
    default:
        return L"vt" + std::to_wstring(desc.vt);
    }
}

std::wstring RenderDefault(const PARAMDESC& desc) {
    if (!(desc.wParamFlags & PARAMFLAG_FHASDEFAULT) || !desc.pparamdescex) {
        return L"<none>";
    }
    const VARIANT& value = desc.pparamdescex->varDefaultValue;
    switch (V_VT(&value)) {
    case VT_BOOL:
        return std::to_wstring(V_BOOL(&value));
    case VT_BSTR:
        return L"\"" + std::wstring(V_BSTR(&value), ::SysStringLen(V_BSTR(&value))) + L"\"";
    case VT_I2: // how the build stores a True default (Wine's writer truncates VT_BOOL)
        return std::to_wstring(V_I2(&value));
    case VT_I4:
        return std::to_wstring(V_I4(&value));
    default:
        return L"vt" + std::to_wstring(V_VT(&value));
    }
}

class TypeLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::LoadTypeLibEx(g_library_path.c_str(), REGKIND_NONE, &library_);
    }
    static void TearDownTestSuite() { library_.Reset(); }

    void SetUp() override { ASSERT_TRUE(library_) << "cannot load " << Narrow(g_library_path); }

    static ComPtr<ITypeInfo> Type(const wchar_t* guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(Guid(guid), &info)) << Narrow(guid);
        return info;
    }

    static TYPEATTR Attr(ITypeInfo* info) {
        TYPEATTR* attr = nullptr;
        EXPECT_EQ(S_OK, info->GetTypeAttr(&attr));
        TYPEATTR copy = *attr;
        info->ReleaseTypeAttr(attr);
        return copy;
    }

    static std::wstring Name(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
        BSTR name = nullptr;
        info->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
        return Take(name);
    }

    // GetNames finds the first function with a member id; later accessors of a property cannot be
    // asked for their own parameter names.
    static bool FirstWithId(ITypeInfo* info, UINT index) {
        FUNCDESC* own = nullptr;
        info->GetFuncDesc(index, &own);
        bool first = true;
        for (UINT i = 0; i < index && first; ++i) {
            FUNCDESC* other = nullptr;
            info->GetFuncDesc(i, &other);
            first = other->memid != own->memid;
            info->ReleaseFuncDesc(other);
        }
        info->ReleaseFuncDesc(own);
        return first;
    }

    // Compares one function entry with its row; `slot` >= 0 also checks the vtable offset.
    static void ExpectFunction(ITypeInfo* info, UINT index, const Function& row, int slot) {
        SCOPED_TRACE(Narrow(row.name) + " at index " + std::to_string(index));
        FUNCDESC* desc = nullptr;
        ASSERT_EQ(S_OK, info->GetFuncDesc(index, &desc));
        EXPECT_EQ(row.id, desc->memid);
        EXPECT_EQ(row.kind, desc->invkind);
        if (slot >= 0) {
            EXPECT_EQ(FUNC_PUREVIRTUAL, desc->funckind);
            EXPECT_EQ(CC_STDCALL, desc->callconv);
            EXPECT_EQ(static_cast<SHORT>(slot * sizeof(void*)), desc->oVft);
            EXPECT_EQ(L"HRESULT", TypeName(info, desc->elemdescFunc.tdesc));
        } else {
            EXPECT_EQ(FUNC_DISPATCH, desc->funckind);
            EXPECT_EQ(L"void", TypeName(info, desc->elemdescFunc.tdesc));
        }
        SHORT optional = 0;
        for (const Param& param : row.params) {
            optional += (param.flags & kOpt) ? 1 : 0;
        }
        EXPECT_EQ(optional, desc->cParamsOpt);
        ASSERT_EQ(row.params.size(), static_cast<size_t>(desc->cParams));

        std::vector<BSTR> names(desc->cParams + 1, nullptr);
        UINT count = 0;
        EXPECT_EQ(S_OK, info->GetNames(desc->memid, names.data(), static_cast<UINT>(names.size()),
                                       &count));
        std::vector<std::wstring> texts;
        for (BSTR name : names) {
            texts.push_back(Take(name));
        }
        EXPECT_EQ(row.name, texts[0]);
        for (size_t p = 0; p < row.params.size(); ++p) {
            const Param& expected = row.params[p];
            const ELEMDESC& actual = desc->lprgelemdescParam[p];
            SCOPED_TRACE("parameter " + Narrow(expected.name));
            // A property put's value parameter has no name of its own in a type library, and
            // names are looked up by member id, which the accessors share.
            if (!(row.kind == INVOKE_PROPERTYPUT && p + 1 == row.params.size()) &&
                FirstWithId(info, index)) {
                EXPECT_EQ(expected.name, texts[p + 1]);
            }
            EXPECT_EQ(expected.type, TypeName(info, actual.tdesc));
            EXPECT_EQ(expected.flags, actual.paramdesc.wParamFlags);
            EXPECT_EQ(expected.default_value ? std::wstring(expected.default_value)
                                             : std::wstring(L"<none>"),
                      RenderDefault(actual.paramdesc));
        }

        BSTR help = nullptr;
        EXPECT_EQ(S_OK, info->GetDocumentation(desc->memid, nullptr, &help, nullptr, nullptr));
        EXPECT_EQ(row.help, Take(help)) << Narrow(row.help);

        ComPtr<ITypeInfo2> info2;
        ASSERT_EQ(S_OK, info->QueryInterface(IID_PPV_ARGS(&info2)));
        for (SHORT p = 0; p < desc->cParams; ++p) {
            for (const wchar_t* device : kBuildDevices) {
                VARIANT value;
                ::VariantInit(&value);
                info2->GetParamCustData(index, p, Guid(device), &value);
                EXPECT_EQ(VT_EMPTY, V_VT(&value)) << "build custom data left on parameter " << p;
                ::VariantClear(&value);
            }
        }
        info->ReleaseFuncDesc(desc);
    }

    static ComPtr<ITypeLib> library_;
};

ComPtr<ITypeLib> TypeLibraryTest::library_;

TEST_F(TypeLibraryTest, LibraryIdentity) {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attr));
    EXPECT_EQ(GuidText(Guid(L"{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}")), GuidText(attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(1033u, attr->lcid);
    EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attr->syskind);
    library_->ReleaseTLibAttr(attr);
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
    EXPECT_EQ(L"Folivex", Take(name));
    EXPECT_EQ(6u, library_->GetTypeInfoCount());
}

TEST_F(TypeLibraryTest, CoclassIsACreatableControlWithDefaultAndSourceInterfaces) {
    ComPtr<ITypeInfo> info = Type(L"{71245F77-CE10-451C-A2C9-9C069D214D9E}");
    ASSERT_TRUE(info);
    const TYPEATTR attr = Attr(info.Get());
    EXPECT_EQ(TKIND_COCLASS, attr.typekind);
    EXPECT_EQ(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, attr.wTypeFlags);
    EXPECT_EQ(L"Viewer", Name(info.Get()));
    ASSERT_EQ(2, attr.cImplTypes);
    const struct {
        const wchar_t* guid;
        const wchar_t* name;
        INT flags;
    } expected[] = {{L"{98181F0D-268F-44CF-86EA-33DA434E502E}", L"_Viewer", IMPLTYPEFLAG_FDEFAULT},
                    {L"{88364098-9A1C-44B3-883A-285BF5DA3141}", L"__Viewer",
                     IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
    for (UINT i = 0; i < 2; ++i) {
        HREFTYPE href = 0;
        INT flags = 0;
        ComPtr<ITypeInfo> implemented;
        ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(i, &href));
        ASSERT_EQ(S_OK, info->GetRefTypeInfo(href, &implemented));
        ASSERT_EQ(S_OK, info->GetImplTypeFlags(i, &flags));
        EXPECT_EQ(expected[i].flags, flags);
        EXPECT_EQ(expected[i].name, Name(implemented.Get()));
        EXPECT_EQ(GuidText(Guid(expected[i].guid)), GuidText(Attr(implemented.Get()).guid));
    }
}

TEST_F(TypeLibraryTest, ViewerInterfaceIsAHiddenNonextensibleDual) {
    ComPtr<ITypeInfo> dispatch = Type(L"{98181F0D-268F-44CF-86EA-33DA434E502E}");
    ASSERT_TRUE(dispatch);
    const WORD flags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                       TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
    const TYPEATTR view = Attr(dispatch.Get());
    EXPECT_EQ(TKIND_DISPATCH, view.typekind);
    // Wine 8 reports the dispatch view of any dual interface without FOLEAUTOMATION (widl's
    // library reads back the same); the vtable view below carries it.
    EXPECT_EQ(flags & ~TYPEFLAG_FOLEAUTOMATION, view.wTypeFlags & ~TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(7 + kViewerFunctions.size(), view.cFuncs);

    HREFTYPE href = 0;
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &href));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(href, &vtable));
    const TYPEATTR attr = Attr(vtable.Get());
    EXPECT_EQ(TKIND_INTERFACE, attr.typekind);
    EXPECT_EQ(flags, attr.wTypeFlags);
    EXPECT_EQ(L"_Viewer", Name(vtable.Get()));
    EXPECT_EQ(static_cast<WORD>((7 + kViewerFunctions.size()) * sizeof(void*)), attr.cbSizeVft);
    ASSERT_EQ(1, attr.cImplTypes);
    ComPtr<ITypeInfo> base;
    ASSERT_EQ(S_OK, vtable->GetRefTypeOfImplType(0, &href));
    ASSERT_EQ(S_OK, vtable->GetRefTypeInfo(href, &base));
    EXPECT_EQ(L"IDispatch", Name(base.Get()));
}

TEST_F(TypeLibraryTest, ViewerFunctionsInSlotOrder) {
    ComPtr<ITypeInfo> dispatch = Type(L"{98181F0D-268F-44CF-86EA-33DA434E502E}");
    ASSERT_TRUE(dispatch);
    HREFTYPE href = 0;
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &href));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(href, &vtable));
    ASSERT_EQ(kViewerFunctions.size(), Attr(vtable.Get()).cFuncs);
    for (UINT i = 0; i < kViewerFunctions.size(); ++i) {
        ExpectFunction(vtable.Get(), i, kViewerFunctions[i], static_cast<int>(7 + i));
    }
}

TEST_F(TypeLibraryTest, EventInterfaceIsAHiddenDispinterface) {
    ComPtr<ITypeInfo> info = Type(L"{88364098-9A1C-44B3-883A-285BF5DA3141}");
    ASSERT_TRUE(info);
    const TYPEATTR attr = Attr(info.Get());
    EXPECT_EQ(TKIND_DISPATCH, attr.typekind);
    EXPECT_EQ(TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE, attr.wTypeFlags);
    EXPECT_EQ(L"__Viewer", Name(info.Get()));
    // Wine lists a dispinterface written by CreateTypeLib2 with the seven IUnknown and IDispatch
    // members first (widl's own library without them); the events follow, in order.
    const UINT inherited = attr.cFuncs == kViewerEvents.size() + 7 ? 7 : 0;
    ASSERT_EQ(kViewerEvents.size() + inherited, attr.cFuncs);
    for (UINT i = 0; i < kViewerEvents.size(); ++i) {
        ExpectFunction(info.Get(), inherited + i, kViewerEvents[i], -1);
    }
}

TEST_F(TypeLibraryTest, EnumsWithMembersNamedInTheirHelpStrings) {
    for (const Enum& row : kEnums) {
        SCOPED_TRACE(Narrow(row.name));
        ComPtr<ITypeInfo> info = Type(row.guid);
        ASSERT_TRUE(info);
        const TYPEATTR attr = Attr(info.Get());
        EXPECT_EQ(TKIND_ENUM, attr.typekind);
        EXPECT_EQ(row.name, Name(info.Get()));
        ASSERT_EQ(row.members.size(), attr.cVars);
        for (UINT i = 0; i < row.members.size(); ++i) {
            VARDESC* desc = nullptr;
            ASSERT_EQ(S_OK, info->GetVarDesc(i, &desc));
            EXPECT_EQ(VAR_CONST, desc->varkind);
            ASSERT_TRUE(desc->lpvarValue);
            EXPECT_EQ(VT_I4, V_VT(desc->lpvarValue));
            EXPECT_EQ(row.members[i].value, V_I4(desc->lpvarValue));
            BSTR name = nullptr;
            BSTR help = nullptr;
            EXPECT_EQ(S_OK, info->GetDocumentation(desc->memid, &name, &help, nullptr, nullptr));
            EXPECT_EQ(row.members[i].name, Take(name));
            EXPECT_EQ(row.members[i].name, Take(help));
            info->ReleaseVarDesc(desc);
        }
        ComPtr<ITypeInfo2> info2;
        ASSERT_EQ(S_OK, info.As(&info2));
        for (const wchar_t* device : kBuildDevices) {
            VARIANT value;
            ::VariantInit(&value);
            info2->GetCustData(Guid(device), &value);
            EXPECT_EQ(VT_EMPTY, V_VT(&value)) << "build custom data left on the enum";
            ::VariantClear(&value);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int wargc = 0;
    LPWSTR* wargv = ::CommandLineToArgvW(::GetCommandLineW(), &wargc);
    // gtest flags have been removed from argv; the first argument that is no flag is the path.
    for (int i = 1; wargv && i < wargc; ++i) {
        if (wargv[i][0] != L'-') {
            g_library_path = wargv[i];
            break;
        }
    }
    ::LocalFree(wargv);
    if (g_library_path.empty()) {
        std::fprintf(stderr,
                     "usage: folivex_typelib_test <Folivex.tlb | Folivex.dll> [gtest flags]\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}
