#pragma once
// What the control does when it is created and terminated, and the rules of its TempPath
// property, over the platform's abstract interfaces.

#include "common/file_system.h"
#include "control/viewer_state.h"
#include "registry/registry_access.h"
#include "viewer_bridge/component_site.h"

#include <functional>
#include <string>

namespace folivex {

// TempPath put: creates the directory (one level) and keeps the value when that worked or the
// name is there already (the path/file access error), with a "\" appended when it does not end
// in one. Any other failure leaves the previous value; the caller is never told.
void PutTempPath(ViewerState& state, FileSystem& fs, const std::wstring& value);

// Creation: hides the component, sets TempPath to "C:\TEMP\" and creates that directory
// (failures ignored), then sets ReaderVersion to 1 and to what the detection finds.
void InitializeViewer(ViewerState& state, ComponentSite& component, FileSystem& fs,
                      RegistryAccess& registry);

// Termination: closes the component first (a viewer keeps the document it shows open, which
// would keep the copy from being deleted), deletes the last downloaded copy when there is one,
// then runs the steps other subsystems add (the save-key hook's removal). Failures are ignored.
void TerminateViewer(ViewerState& state, FileSystem& fs,
                     const std::function<void()>& closeComponent,
                     const std::function<void()>& removeSaveKeyHook);

} // namespace folivex
