#pragma once
// An owned VARIANT.

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace folivex::com {

class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    Variant(const Variant& other) {
        ::VariantInit(&value_);
        ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    }
    Variant& operator=(const Variant& other) {
        if (this != &other) {
            ::VariantClear(&value_);
            ::VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
        }
        return *this;
    }
    ~Variant() { ::VariantClear(&value_); }

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }
    VARIANT* operator->() { return &value_; }
    const VARIANT* operator->() const { return &value_; }
    // Clears the value first, for [out] parameters.
    VARIANT* Out() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

} // namespace folivex::com
