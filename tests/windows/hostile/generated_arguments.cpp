#include "tests/windows/hostile/generated_arguments.h"

#include "com/bstr.h"

#include <array>
#include <cmath>
#include <limits>

namespace folivex::testing {

GeneratedArguments::~GeneratedArguments() {
    for (VARIANTARG& value : values) {
        if (!(value.vt & VT_BYREF)) {
            ::VariantClear(&value);
        }
    }
    // A callee may have replaced what a by-reference argument held; what is there now is ours.
    for (auto& storage : referenced) {
        ::VariantClear(storage.get());
    }
}

ArgumentGenerator::ArgumentGenerator(std::uint32_t seed, ArgumentStrings strings,
                                     ProbeObject& probe)
    : random_(seed), strings_(std::move(strings)), probe_(probe), megabyte_(512 * 1024, L'x') {
    megabyte_ += L".pdf";
}

std::wstring ArgumentGenerator::Text() {
    // No slash, backslash or colon: random text never names a network path or an address.
    static const std::wstring alphabet =
        L"abcxyzABC019 .-_%^+~(){}[]@#$&'\x00e9\x4e2d\xfeff\xd800\xffff\x0007";
    std::wstring text(Below(24), L' ');
    for (wchar_t& c : text) {
        c = alphabet[Below(static_cast<unsigned>(alphabet.size()))];
    }
    return text;
}

BSTR ArgumentGenerator::String() {
    std::wstring text;
    switch (Below(16)) {
    case 0:
        return nullptr;
    case 1:
        break; // empty
    case 2:
        text = megabyte_;
        break;
    case 3:
        text = strings_.document;
        break;
    case 4:
        text = strings_.document + std::wstring(1, L'\0') + L"tail.txt";
        break;
    case 5:
        text = strings_.notPdf;
        break;
    case 6:
        text = strings_.scratch + Text() + L".pdf";
        break;
    case 7:
        text = strings_.refusedHttp + Text() + L".pdf";
        break;
    case 8:
        text = strings_.scratch + std::wstring(300, L'n') + L".pdf";
        break;
    case 9:
        text = L"  " + strings_.document + L"  ";
        break;
    case 10:
        text = std::to_wstring(static_cast<int>(random_()) % 100000);
        break;
    case 11:
        text = strings_.scratch;
        break;
    default:
        text = Text();
        break;
    }
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

SAFEARRAY* ArgumentGenerator::Array() {
    static constexpr std::array<VARTYPE, 3> kinds = {VT_I4, VT_BSTR, VT_VARIANT};
    const VARTYPE kind = kinds[Below(kinds.size())];
    const ULONG count = Below(4);
    SAFEARRAY* array = ::SafeArrayCreateVector(kind, 0, count);
    for (LONG i = 0; array && i < static_cast<LONG>(count); ++i) {
        if (kind == VT_I4) {
            LONG value = static_cast<LONG>(random_());
            ::SafeArrayPutElement(array, &i, &value);
        } else if (kind == VT_BSTR) {
            // SafeArrayPutElement copies the string.
            const com::Bstr text = com::Bstr::Attach(String());
            ::SafeArrayPutElement(array, &i, text.Get());
        } else {
            VARIANT element;
            ::VariantInit(&element);
            element.vt = VT_I4;
            element.lVal = static_cast<LONG>(i);
            ::SafeArrayPutElement(array, &i, &element);
        }
    }
    return array;
}

void ArgumentGenerator::FillValue(VARIANT& value) {
    ::VariantInit(&value);
    static constexpr std::array<LONG, 9> longs = {0,
                                                  1,
                                                  -1,
                                                  2,
                                                  7,
                                                  32767,
                                                  32768,
                                                  std::numeric_limits<LONG>::max(),
                                                  std::numeric_limits<LONG>::min()};
    static constexpr std::array<double, 10> doubles = {0.0,
                                                       -0.0,
                                                       0.5,
                                                       2.5,
                                                       100.0,
                                                       -1.0,
                                                       1e300,
                                                       6401.0,
                                                       std::numeric_limits<double>::infinity(),
                                                       std::numeric_limits<double>::quiet_NaN()};
    const LONG someLong = Below(3) ? longs[Below(longs.size())] : static_cast<LONG>(random_());
    const double someDouble = doubles[Below(doubles.size())];
    switch (Below(22)) {
    case 0:
        value.vt = VT_EMPTY;
        break;
    case 1:
        value.vt = VT_NULL;
        break;
    case 2: // a missing optional argument
        value.vt = VT_ERROR;
        value.scode = Below(4) ? DISP_E_PARAMNOTFOUND : static_cast<SCODE>(random_());
        break;
    case 3:
        value.vt = VT_I1;
        value.cVal = static_cast<CHAR>(someLong);
        break;
    case 4:
        value.vt = VT_I2;
        value.iVal = static_cast<SHORT>(someLong);
        break;
    case 5:
        value.vt = VT_I4;
        value.lVal = someLong;
        break;
    case 6:
        value.vt = VT_I8;
        value.llVal = static_cast<LONGLONG>(someLong) * (Below(2) ? 1 : 0x100000000LL);
        break;
    case 7:
        value.vt = VT_UI1;
        value.bVal = static_cast<BYTE>(someLong);
        break;
    case 8:
        value.vt = VT_UI2;
        value.uiVal = static_cast<USHORT>(someLong);
        break;
    case 9:
        value.vt = VT_UI4;
        value.ulVal = static_cast<ULONG>(someLong);
        break;
    case 10:
        value.vt = VT_UI8;
        value.ullVal = static_cast<ULONGLONG>(someLong) << Below(40);
        break;
    case 11:
        value.vt = VT_R4;
        value.fltVal = static_cast<float>(someDouble);
        break;
    case 12:
        value.vt = VT_R8;
        value.dblVal = someDouble;
        break;
    case 13:
        value.vt = VT_CY;
        value.cyVal.int64 = static_cast<LONGLONG>(someLong) * 10000;
        break;
    case 14:
        value.vt = VT_DATE;
        value.date = std::isfinite(someDouble) ? someDouble : 45000.25;
        break;
    case 15:
    case 16:
    case 17:
        value.vt = VT_BSTR;
        value.bstrVal = String();
        break;
    case 18:
        value.vt = VT_BOOL;
        value.boolVal = Below(3) == 0 ? static_cast<VARIANT_BOOL>(1)
                                      : (Below(2) ? VARIANT_TRUE : VARIANT_FALSE);
        break;
    case 19:
        value.vt = VT_DISPATCH;
        value.pdispVal = Below(2) ? nullptr : &probe_;
        if (value.pdispVal) {
            probe_.AddRef();
        }
        break;
    case 20:
        value.vt = VT_UNKNOWN;
        value.punkVal = Below(2) ? nullptr : &probe_;
        if (value.punkVal) {
            probe_.AddRef();
        }
        break;
    case 21: {
        SAFEARRAY* array = Array();
        if (array) {
            VARTYPE element = VT_EMPTY;
            ::SafeArrayGetVartype(array, &element);
            value.vt = static_cast<VARTYPE>(VT_ARRAY | element);
            value.parray = array;
        }
        break;
    }
    }
}

void ArgumentGenerator::Fill(GeneratedArguments& arguments, unsigned count) {
    arguments.values.assign(count, VARIANTARG{});
    for (VARIANTARG& argument : arguments.values) {
        if (Below(4) != 0) {
            FillValue(argument);
            continue;
        }
        // By reference: to a VARIANT, or to the value's own storage.
        auto storage = std::make_unique<VARIANT>();
        FillValue(*storage);
        ::VariantInit(&argument);
        if (storage->vt == VT_EMPTY || storage->vt == VT_NULL || Below(3) == 0) {
            argument.vt = VT_BYREF | VT_VARIANT;
            argument.pvarVal = storage.get();
        } else {
            argument.vt = static_cast<VARTYPE>(VT_BYREF | storage->vt);
            // Every member of the union starts at the same place.
            argument.byref = &storage->lVal;
        }
        arguments.referenced.push_back(std::move(storage));
    }
}

} // namespace folivex::testing
