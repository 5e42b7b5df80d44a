#pragma once
// An owned BSTR.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace folivex::com {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr& other)
        : value_(other.value_ ? ::SysAllocStringLen(other.value_, other.Length()) : nullptr) {}
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }
    ~Bstr() { ::SysFreeString(value_); }

    // Takes ownership of a BSTR allocated elsewhere.
    static Bstr Attach(BSTR value) {
        Bstr result;
        result.value_ = value;
        return result;
    }
    BSTR Detach() { return std::exchange(value_, nullptr); }

    BSTR Get() const { return value_; }
    // For [out] parameters: frees the current value first.
    BSTR* Out() {
        ::SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    // For [in, out] parameters (a by-reference argument): the callee may free the value and
    // store another, which this then owns.
    BSTR* InOut() { return &value_; }
    UINT Length() const { return value_ ? ::SysStringLen(value_) : 0; }
    std::wstring ToString() const { return ToString(value_); }

    // A BSTR's text, NULs included; a null BSTR is the empty string.
    static std::wstring ToString(BSTR value) {
        return value ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
    }

private:
    BSTR value_ = nullptr;
};

// Stores text into a caller's [in, out] BSTR*, freeing what it held.
HRESULT AssignBstr(BSTR* target, std::wstring_view text);

// Stores text into a caller's [out] BSTR*, whose value on entry is undefined and never freed.
HRESULT ReturnBstr(BSTR* target, std::wstring_view text);

} // namespace folivex::com
