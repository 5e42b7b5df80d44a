#pragma once
// Types shared by the portable logic of every subsystem. The portable code never includes
// <windows.h>; these mirror the few platform notions it needs.

#include <cstdint>

namespace folivex {

// An HRESULT as the platform defines it: negative means failure.
using HResult = std::int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalseResult = 1;
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);
inline constexpr HResult kPointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kUnexpected = static_cast<HResult>(0x8000FFFFu);
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult kDispException = static_cast<HResult>(0x80020009u);
// The error a VB-built control gives for a failed number conversion ("Type mismatch").
inline constexpr HResult kTypeMismatch = static_cast<HResult>(0x800A000Du);

constexpr bool Failed(HResult hr) {
    return hr < 0;
}
constexpr bool Succeeded(HResult hr) {
    return hr >= 0;
}

// A window handle; 0 means no window. Wide enough for a 64-bit handle.
using WindowHandle = std::uintptr_t;

// The 16-bit automation Boolean.
using AutoBool = std::int16_t;
inline constexpr AutoBool kAutoTrue = -1;
inline constexpr AutoBool kAutoFalse = 0;

constexpr AutoBool ToAutoBool(bool value) {
    return value ? kAutoTrue : kAutoFalse;
}
constexpr bool FromAutoBool(AutoBool value) {
    return value != kAutoFalse;
}

} // namespace folivex
