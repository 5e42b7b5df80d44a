#include "control/document_source.h"

#include "common/automation_text.h"

#include <cstdint>
#include <limits>

namespace folivex {
namespace {

bool StartsWithLower(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == prefix;
}

bool EndsWithLower(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() &&
           AsciiLower(text.substr(text.size() - suffix.size())) == suffix;
}

wchar_t FoldForPath(wchar_t c) {
    if (c == L'/') {
        return L'\\';
    }
    if (c >= L'A' && c <= L'Z') {
        return static_cast<wchar_t>(c - L'A' + L'a');
    }
    return c;
}

} // namespace

std::wstring StripAtNull(const std::wstring& text) {
    const std::size_t index = text.find(L'\0');
    constexpr std::size_t kLastPosition = std::numeric_limits<std::int16_t>::max();
    if (index == std::wstring::npos || index + 1 > kLastPosition) {
        return text;
    }
    return text.substr(0, index);
}

std::wstring FileNameFromUrl(const std::wstring& address) {
    const std::size_t slash = address.rfind(L'/');
    return slash == std::wstring::npos ? address : address.substr(slash + 1);
}

bool IsRemoteAddress(std::wstring_view path) {
    return StartsWithLower(path, L"http") || StartsWithLower(path, L"ftp:");
}

bool HasKnownExtension(std::wstring_view path) {
    return EndsWithLower(path, L".pdf") || EndsWithLower(path, L".fdf") ||
           EndsWithLower(path, L".xfdf");
}

bool HasPdfHeader(FileSystem& fs, const std::wstring& path) {
    const std::optional<std::string> line = fs.ReadFirstLine(path);
    if (!line || line->size() < 5) {
        return false;
    }
    std::wstring head;
    for (std::size_t i = 0; i < 5; ++i) {
        head.push_back(static_cast<wchar_t>(static_cast<unsigned char>((*line)[i])));
    }
    return AsciiLower(head) == L"%pdf-";
}

bool IsPlainFileName(std::wstring_view name) {
    if (name == L"." || name == L".." || IsDeviceName(name)) {
        return false;
    }
    return name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

bool IsDeviceName(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') {
        stem.remove_suffix(1);
    }
    const std::wstring lower = AsciiLower(stem);
    if (lower == L"con" || lower == L"prn" || lower == L"aux" || lower == L"nul" ||
        lower == L"conin$" || lower == L"conout$") {
        return true;
    }
    return lower.size() == 4 && (lower.starts_with(L"com") || lower.starts_with(L"lpt")) &&
           lower[3] >= L'1' && lower[3] <= L'9';
}

std::wstring BesideCopyName(const std::wstring& path) {
    const std::size_t nameStart = path.find_last_of(L"\\/") + 1; // 0 when there is none
    const std::size_t dot = path.rfind(L'.');
    const std::size_t insertAt =
        (dot == std::wstring::npos || dot <= nameStart) ? path.size() : dot;
    std::wstring beside = path;
    beside.insert(insertAt, L" (2)");
    return beside;
}

bool SameFilePath(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldForPath(a[i]) != FoldForPath(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace folivex
