#include "failure_text.h"

#include "com/bstr.h"
#include "com/com_ptr.h"

#include <oaidl.h>

#include <cwchar>

namespace folivex::demo {

namespace {

std::wstring TrimTrailingBreaks(std::wstring text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    return text;
}

// Only trusted when the object says its interface sets error information: otherwise the
// thread's error object may be left over from some other call.
std::wstring ErrorInfoDescription(IUnknown* object, REFIID interfaceId) {
    com::ComPtr<ISupportErrorInfo> support;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&support))) ||
        support->InterfaceSupportsErrorInfo(interfaceId) != S_OK) {
        return {};
    }
    com::ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, &info) != S_OK || !info) {
        return {};
    }
    com::Bstr description;
    info->GetDescription(description.Out());
    return TrimTrailingBreaks(description.ToString());
}

std::wstring SystemDescription(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    ::LocalFree(buffer);
    return TrimTrailingBreaks(text);
}

} // namespace

std::wstring DescribeFailure(IUnknown* object, REFIID interfaceId, const wchar_t* member,
                             HRESULT hr) {
    std::wstring description = ErrorInfoDescription(object, interfaceId);
    if (description.empty()) {
        description = SystemDescription(hr);
    }
    wchar_t number[32] = {};
    std::swprintf(number, 32, L"error 0x%08lX", static_cast<unsigned long>(hr));
    std::wstring text = std::wstring(member) + L" failed: ";
    text += description.empty() ? std::wstring(number) : description + L" (" + number + L")";
    return text;
}

} // namespace folivex::demo
