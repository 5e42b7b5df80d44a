#include "download/save_copy.h"

#include "common/automation_text.h"
#include "common/file_exists.h"

namespace folivex {

bool SaveCopy(FileSystem& files, const std::wstring& strFile, const std::wstring& strSourcePDF,
              const std::wstring& CurrentTempFile, const std::wstring& Path) {
    std::wstring source = TrimSpaces(strSourcePDF);
    if (source.empty()) {
        source = CurrentTempFile.empty() ? Path : CurrentTempFile;
    }
    source = AsciiLower(source);
    if (!FileExists(files, source)) {
        return false;
    }
    if (strFile.empty() || !files.CopyFile(source, strFile)) {
        return false;
    }
    return FileExists(files, strFile);
}

} // namespace folivex
