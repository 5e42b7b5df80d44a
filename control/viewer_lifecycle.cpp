#include "control/viewer_lifecycle.h"

#include "common/file_exists.h"
#include "registry/cls_registry.h"

namespace folivex {

void PutTempPath(ViewerState& state, FileSystem& fs, const std::wstring& value) {
    const CreateDirectoryResult result = fs.CreateDirectory(value);
    if (result == CreateDirectoryResult::OtherError) {
        return;
    }
    state.TempPath = value;
    if (state.TempPath.empty() || state.TempPath.back() != L'\\') {
        state.TempPath.push_back(L'\\');
    }
}

void InitializeViewer(ViewerState& state, ComponentSite& component, FileSystem& fs,
                      RegistryAccess& registry) {
    component.SetVisible(false);
    state.TempPath = kDefaultTempPath;
    // An existing directory is as good as a new one, and one that cannot be made shows up
    // later as a download that cannot be written.
    fs.CreateDirectory(state.TempPath);
    state.ReaderVersion = 1;
    state.ReaderVersion = DetectReaderVersion(registry);
}

void TerminateViewer(ViewerState& state, FileSystem& fs,
                     const std::function<void()>& closeComponent,
                     const std::function<void()>& removeSaveKeyHook) {
    if (closeComponent) {
        closeComponent();
    }
    if (!state.CurrentTempFile.empty() && FileExists(fs, state.CurrentTempFile)) {
        // A copy still open elsewhere stays behind.
        fs.DeleteFile(state.CurrentTempFile);
    }
    if (removeSaveKeyHook) {
        removeSaveKeyHook();
    }
}

} // namespace folivex
