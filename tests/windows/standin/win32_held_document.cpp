#include "tests/windows/standin/win32_held_document.h"

namespace folivex::standin {

com::UniqueFile HoldDocumentIfAsked(const std::wstring& path) {
    wchar_t value[8] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"FOLIVEX_STANDIN_HOLD_FILE", value, 8);
    if (length != 1 || value[0] != L'1') {
        return com::UniqueFile();
    }
    return com::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace folivex::standin
