#pragma once

#include "common/file_system.h"

#include <string>

namespace folivex {

// True when a listing of the path yields a plain file (read-only and archive ones included) or
// a directory; hidden and system entries do not count, and a listing that fails gives False.
// So a directory counts as present, and a wildcard path counts when anything matches it.
bool FileExists(FileSystem& fs, const std::wstring& path);

} // namespace folivex
