#pragma once
// SaveCopy: copies the document now shown (or a named file) to a path the host names.

#include "common/file_system.h"

#include <string>

namespace folivex {

// The source is strSourcePDF when it holds more than spaces, else CurrentTempFile (the
// downloaded copy of a remote document), else Path; it is used lower-cased. True only when the
// source exists, the copy succeeded and the destination exists afterwards.
bool SaveCopy(FileSystem& files, const std::wstring& strFile, const std::wstring& strSourcePDF,
              const std::wstring& CurrentTempFile, const std::wstring& Path);

} // namespace folivex
