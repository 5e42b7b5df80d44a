// The text tests OpenPDF makes on a path or address, on any text: NUL cutting, the name taken
// from an address, the remote and extension tests, the plain-name check that keeps a download
// inside its directory, path comparison, and the first-line test on any file content.

#include "common/fuzz/fuzz_input.h"
#include "common/testing/memory_file_system.h"
#include "control/document_source.h"

#include <cstdlib>

namespace {

using namespace folivex;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view end) {
    if (text.size() < end.size()) {
        return false;
    }
    for (std::size_t i = 0; i < end.size(); ++i) {
        wchar_t c = text[text.size() - end.size() + i];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        if (c != end[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzInput input(data, size);
    // Input: a path, then (after a 0x01 byte) a second path, then the bytes of a file.
    const std::wstring path = input.TextUntil(0x01);
    const std::wstring other = input.TextUntil(0x01);
    const std::string content = input.BytesUntil(0x01);

    const std::wstring stripped = StripAtNull(path);
    Check(path.compare(0, stripped.size(), stripped) == 0);
    const std::size_t nul = path.find(L'\0');
    if (nul != std::wstring::npos && nul < 32767) {
        Check(stripped.size() == nul);
    }

    const std::wstring name = FileNameFromUrl(stripped);
    Check(name.find(L'/') == std::wstring::npos);
    Check(stripped.size() >= name.size() &&
          stripped.compare(stripped.size() - name.size(), name.size(), name) == 0);

    if (IsPlainFileName(name) && !name.empty()) {
        Check(name.find_first_of(L"\\/:") == std::wstring::npos);
        Check(name != L"." && name != L"..");
    }

    Check(HasKnownExtension(path) ==
          (EndsWithNoCase(path, L".pdf") || EndsWithNoCase(path, L".fdf") ||
           EndsWithNoCase(path, L".xfdf")));
    const bool remote = IsRemoteAddress(path);
    Check(!remote || path.size() >= 4);

    Check(SameFilePath(path, path));
    Check(SameFilePath(path, other) == SameFilePath(other, path));

    testing::MemoryFileSystem files;
    files.AddFile(L"C:\\TEMP\\doc.bin", content);
    const bool header = HasPdfHeader(files, L"C:\\TEMP\\doc.bin");
    if (header) {
        Check(content.size() >= 5);
    }
    Check(!HasPdfHeader(files, L"C:\\TEMP\\missing.bin"));
    return 0;
}
