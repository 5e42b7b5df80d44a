#pragma once
// The registry as the Reader detection reads it: the four advapi32 calls it makes, in their ANSI
// forms, plus the choice of registry view. The Win32 side forwards each call unchanged
// (registry/win32_registry.h); the tests use an in-memory model
// (registry/testing/memory_registry.h).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace folivex {

// A root key as a 32-bit value, as the predefined handles are numbered (HKEY_LOCAL_MACHINE is
// 0x80000002). Signed, so that widening it to a 64-bit handle extends the sign as the platform's
// own definitions do.
using RegistryRoot = std::int32_t;
inline constexpr RegistryRoot kHKeyLocalMachine = static_cast<RegistryRoot>(0x80000002u);

// An opened key.
using RegistryHandle = std::uintptr_t;

// Win32 error codes the registry calls return.
using RegistryStatus = std::int32_t;
inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryFileNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryMoreData = 234;
inline constexpr RegistryStatus kRegistryNoMoreItems = 259;

// STANDARD_RIGHTS_READ | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE.
inline constexpr std::uint32_t kRegistryReadAccess = 0x20009;

// Which registry a key is opened in. On 64-bit Windows a 32-bit program writes its keys into the
// 32-bit view and a 64-bit one into the 64-bit view; Native is the view of the calling process.
enum class RegistryView {
    Native,
    Registry32, // KEY_WOW64_32KEY
    Registry64, // KEY_WOW64_64KEY
};

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;

    // RegOpenKeyExA(root, subKey, options, access | view flag, &key). The path is converted to
    // the ANSI code page by the implementation.
    virtual RegistryStatus OpenKey(RegistryRoot root, const std::wstring& subKey,
                                   std::uint32_t options, std::uint32_t access, RegistryView view,
                                   RegistryHandle& key) = 0;

    // RegQueryInfoKeyA for everything but the class name; only the subkey count and the length
    // of the longest subkey name (in characters, without the terminator) are passed on. Both
    // outputs are left untouched when the call fails.
    virtual RegistryStatus QueryInfoKey(RegistryHandle key, std::uint32_t& subKeys,
                                        std::uint32_t& maxSubKeyLength) = 0;

    // RegEnumKeyExA(key, index, buffer, &length, nullptr, nullptr, nullptr, &lastWrite): on
    // entry `length` is the buffer size in characters, the terminator included; on success it is
    // the name's length without the terminator. On failure it may be left as it was.
    virtual RegistryStatus EnumKey(RegistryHandle key, std::uint32_t index, std::span<char> buffer,
                                   std::uint32_t& length) = 0;

    virtual RegistryStatus CloseKey(RegistryHandle key) = 0;
};

} // namespace folivex
