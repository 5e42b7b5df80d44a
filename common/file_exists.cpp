#include "common/file_exists.h"

namespace folivex {

bool FileExists(FileSystem& fs, const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    const auto entries = fs.List(path);
    if (!entries) {
        return false;
    }
    for (const DirectoryEntry& entry : *entries) {
        if (!entry.hidden && !entry.system) {
            return true;
        }
    }
    return false;
}

} // namespace folivex
