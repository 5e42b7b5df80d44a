#pragma once
// Where the control lies when it is deployed, as the installers and the side-by-side manifests
// name it. Both describe registration from the one registration plan the DLL itself uses, laid
// out for a DLL whose location is known only when the package is installed.

#include "interface/registration_plan.h"

#include <string>

namespace folivex::deploy {

inline constexpr const wchar_t* kDllName = L"Folivex.dll";
inline constexpr const wchar_t* kAssemblyName = L"Folivex";

enum class Architecture { X86, X64 };

// "x86" / "amd64", as an assembly identity spells the processor architecture.
const wchar_t* ManifestArchitecture(Architecture architecture);

// The registration plan for the DLL at `directory` + kDllName, every string value in the plan
// that names the DLL or its folder rewritten by `dllReference` / `folderReference`. The plan
// includes the type library keys: an installer or a manifest has no type library registration
// of the platform to call.
RegistrationPlan MakeDeployedPlan(Architecture architecture, const std::wstring& dllReference,
                                  const std::wstring& folderReference);

// "1.2.3" -> "1.2.3.0": assembly identities and installers want four parts.
std::wstring FourPartVersion(const std::wstring& version);

} // namespace folivex::deploy
