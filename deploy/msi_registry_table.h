#pragma once
// The installer's Registry table, in the archive format msibuild imports (.idt): the control's
// registration for a per-machine install into the folder the package installs the DLL to.

#include "deploy/deployment_layout.h"

#include <string>

namespace folivex::deploy {

// `fileId`: the File table key of Folivex.dll; `folderProperty`: the Directory key of its folder;
// `component`: the Component the rows belong to (uninstalling it removes them).
// Throws std::invalid_argument for a plan string the table format cannot carry.
std::string MsiRegistryTable(Architecture architecture, const std::wstring& fileId,
                             const std::wstring& folderProperty, const std::wstring& component);

} // namespace folivex::deploy
