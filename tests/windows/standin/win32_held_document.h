#pragma once
// Holding the loaded document open the way viewers do, when FOLIVEX_STANDIN_HOLD_FILE is 1:
// read access shared for reading only, so the file can be neither deleted nor written while
// it is held.

#include "com/unique_handle.h"

#include <string>

namespace folivex::standin {

// The open file when the setting asks for it and the file could be opened; nothing otherwise.
com::UniqueFile HoldDocumentIfAsked(const std::wstring& path);

} // namespace folivex::standin
