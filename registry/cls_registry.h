#pragma once
// Reading the installed Reader's major version off the subkey names of its registry key.

#include "registry/registry_access.h"

#include <cstdint>
#include <string>

namespace folivex {

inline constexpr wchar_t kReaderKeyPath[] = L"SOFTWARE\\Adobe\\Acrobat Reader";

// The registry access object. It keeps no state between calls: each call opens, reads and
// closes its own key, in the view the object was made for.
class clsRegistry {
public:
    explicit clsRegistry(RegistryAccess& registry, RegistryView view = RegistryView::Native)
        : registry_(registry), view_(view) {}

    // The highest whole number among the names of the subkeys of `SbDr` below `RtHKey`:
    // 0 when the key cannot be opened, 1 when it opens but no subkey name converts to a whole
    // number above 1, otherwise that number. Names convert as automation converts text to a
    // 16-bit integer ("7.0" gives 7); a name that does not convert is skipped.
    std::int16_t GetReaderVersion(RegistryRoot RtHKey, std::wstring SbDr) const;

private:
    RegistryAccess& registry_;
    RegistryView view_;
};

// The detection a control makes when it is created: HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Acrobat
// Reader, read in the native view and in both explicit views, the highest result winning. A
// 32-bit Reader on 64-bit Windows records itself only in the 32-bit view, which a 64-bit
// control does not see natively (and a 64-bit Reader only in the 64-bit view, which a 32-bit
// control does not see). 0 only when the key opens in none of the views; 1 when the detection
// itself fails.
std::int16_t DetectReaderVersion(RegistryAccess& registry);

} // namespace folivex
