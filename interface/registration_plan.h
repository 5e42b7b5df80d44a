#pragma once
// What registering the control writes, as data: the registry values below a classes root
// (HKEY_CLASSES_ROOT, or HKEY_CURRENT_USER\Software\Classes for a per-user install) and the keys
// that belong wholly to the control, which unregistering removes.

#include <cstdint>
#include <string>
#include <vector>

namespace folivex {

struct RegistryValue {
    std::wstring key;  // below the classes root
    std::wstring name; // empty: the key's default value
    std::wstring data; // a string value
};

struct RegistrationPlan {
    std::vector<RegistryValue> values;
    // Removed with all their subkeys by unregistration. Every value above lies below one.
    std::vector<std::wstring> ownedKeys;
};

enum class TypeLibraryKeys {
    // The platform's type library registration writes them (machine-wide registration).
    ByPlatform,
    // Written by the plan itself, so that a per-user install touches nothing machine-wide.
    InPlan,
};

// A creatable control class of an in-process server and its two ProgIDs.
struct ControlClass {
    std::wstring classId; // "{...}"
    std::wstring description;
    std::wstring progId; // version-independent
    std::wstring versionedProgId;
    std::wstring dllPath;
    std::uint32_t miscStatus = 0;
    // Further values below the class key (their `key` relative to it), after the standard ones.
    std::vector<RegistryValue> classValues;
};

// Appends what every such class registers, apartment threaded, with its three keys owned: the
// class key, the ProgID and the versioned ProgID.
void AddControlClass(RegistrationPlan& plan, const ControlClass& control);

// `dllPath`: full path of the control DLL; `win64`: whether it is the 64-bit DLL.
RegistrationPlan MakeRegistrationPlan(const std::wstring& dllPath, bool win64,
                                      TypeLibraryKeys typeLibraryKeys);

namespace registration {
inline constexpr const wchar_t* kClassId = L"{71245F77-CE10-451C-A2C9-9C069D214D9E}";
inline constexpr const wchar_t* kLibraryId = L"{879F905D-66EC-4BC0-A8DB-DA2E919B3F75}";
inline constexpr const wchar_t* kInterfaceId = L"{98181F0D-268F-44CF-86EA-33DA434E502E}";
inline constexpr const wchar_t* kEventInterfaceId = L"{88364098-9A1C-44B3-883A-285BF5DA3141}";
inline constexpr const wchar_t* kProgId = L"Folivex.Viewer";
inline constexpr const wchar_t* kVersionedProgId = L"Folivex.Viewer.1";
inline constexpr const wchar_t* kControlCategory = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";
// The automation marshaler, which marshals dual and dispatch interfaces from the type library.
inline constexpr const wchar_t* kAutomationProxy = L"{00020424-0000-0000-C000-000000000046}";
} // namespace registration

} // namespace folivex
