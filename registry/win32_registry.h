#pragma once
// The registry calls of the Reader detection on advapi32.

#include "registry/registry_access.h"

namespace folivex {

class Win32Registry : public RegistryAccess {
public:
    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& subKey, std::uint32_t options,
                           std::uint32_t access, RegistryView view, RegistryHandle& key) override;
    RegistryStatus QueryInfoKey(RegistryHandle key, std::uint32_t& subKeys,
                                std::uint32_t& maxSubKeyLength) override;
    RegistryStatus EnumKey(RegistryHandle key, std::uint32_t index, std::span<char> buffer,
                           std::uint32_t& length) override;
    RegistryStatus CloseKey(RegistryHandle key) override;
};

} // namespace folivex
