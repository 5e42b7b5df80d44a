#pragma once
// An owned EXCEPINFO: the strings that IDispatch::Invoke fills in belong to the caller and are
// freed with it.

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace folivex::com {

// Frees the strings of a filled EXCEPINFO and empties it.
void ClearExcepInfo(EXCEPINFO& info);

class ExcepInfo {
public:
    ExcepInfo() = default;
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
    ~ExcepInfo() { ClearExcepInfo(info_); }

    // For Invoke's EXCEPINFO* parameter: frees what an earlier call left first.
    EXCEPINFO* Out() {
        ClearExcepInfo(info_);
        return &info_;
    }
    EXCEPINFO& Get() { return info_; }
    const EXCEPINFO* operator->() const { return &info_; }

    std::wstring Source() const { return Text(info_.bstrSource); }
    std::wstring Description() const { return Text(info_.bstrDescription); }

private:
    static std::wstring Text(BSTR value) {
        return value ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
    }

    EXCEPINFO info_ = {};
};

} // namespace folivex::com
