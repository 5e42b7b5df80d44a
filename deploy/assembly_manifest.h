#pragma once
// Side-by-side manifests for registration-free use: the control's assembly manifest, read from
// the registration plan, and the application manifest a host program needs to depend on it.

#include "deploy/deployment_layout.h"

#include <string>

namespace folivex::deploy {

// The assembly manifest (Folivex.manifest, next to Folivex.dll): the DLL with its classes and
// type library, and the marshaling of the interfaces. `version`: "1.2.3" or "1.2.3.4".
std::string AssemblyManifest(Architecture architecture, const std::wstring& version);

// An application manifest for the host program `hostName` that depends on that assembly.
std::string ApplicationManifest(Architecture architecture, const std::wstring& version,
                                const std::wstring& hostName);

// OLEMISC bits as the manifest's keyword list ("recomposeonresize,insideout,..."); an empty
// string for 0. Throws std::invalid_argument for a bit without a keyword or a non-number.
std::wstring MiscStatusKeywords(const std::wstring& number);

} // namespace folivex::deploy
