#include "tests/windows/standin/pdf_page_count.h"

#include <cctype>
#include <charconv>
#include <string>

namespace folivex::standin {
namespace {

bool IsDelimiter(char c) {
    return std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '<' || c == '>' ||
           c == '[' || c == ']' || c == '(' || c == ')' || c == '%';
}

std::string_view SkipSpaces(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    return text;
}

// Reads a non-negative integer at the front of `text`, moving past it.
std::optional<long> TakeInteger(std::string_view& text) {
    text = SkipSpaces(text);
    long value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || value < 0) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
    return value;
}

// The position just after the name `key` (e.g. "/Count") inside `dictionary`, matching whole
// names only, so "/Count" does not match "/Counter".
std::optional<std::string_view> AfterKey(std::string_view dictionary, std::string_view key) {
    std::size_t at = 0;
    while ((at = dictionary.find(key, at)) != std::string_view::npos) {
        const std::size_t end = at + key.size();
        if (end == dictionary.size() || IsDelimiter(dictionary[end])) {
            return dictionary.substr(end);
        }
        at = end;
    }
    return std::nullopt;
}

// "N G R" after a key: the object number N.
std::optional<long> ReferenceAfter(std::string_view dictionary, std::string_view key) {
    auto rest = AfterKey(dictionary, key);
    if (!rest) {
        return std::nullopt;
    }
    auto number = TakeInteger(*rest);
    auto generation = TakeInteger(*rest);
    *rest = SkipSpaces(*rest);
    if (!number || !generation || rest->empty() || rest->front() != 'R') {
        return std::nullopt;
    }
    return number;
}

// The body of "N G obj ... endobj", found by its header at a line or token start. The last
// definition wins, as incremental updates append newer versions of an object.
std::optional<std::string_view> ObjectBody(std::string_view data, long number) {
    const std::string header = std::to_string(number) + " ";
    std::optional<std::string_view> found;
    std::size_t at = 0;
    while ((at = data.find(header, at)) != std::string_view::npos) {
        const bool tokenStart =
            at == 0 || std::isspace(static_cast<unsigned char>(data[at - 1])) != 0;
        std::string_view rest = data.substr(at + header.size());
        at += header.size();
        if (!tokenStart) {
            continue;
        }
        auto generation = TakeInteger(rest);
        rest = SkipSpaces(rest);
        if (!generation || rest.substr(0, 3) != "obj") {
            continue;
        }
        rest.remove_prefix(3);
        const std::size_t end = rest.find("endobj");
        found = rest.substr(0, end);
    }
    return found;
}

} // namespace

std::optional<int> PdfPageCount(std::string_view data) {
    if (data.substr(0, 5) != "%PDF-") {
        return std::nullopt;
    }
    // The last trailer names the current catalog.
    const std::size_t trailer = data.rfind("trailer");
    if (trailer == std::string_view::npos) {
        return std::nullopt;
    }
    const auto catalogNumber = ReferenceAfter(data.substr(trailer), "/Root");
    if (!catalogNumber) {
        return std::nullopt;
    }
    const auto catalog = ObjectBody(data, *catalogNumber);
    if (!catalog) {
        return std::nullopt;
    }
    const auto pagesNumber = ReferenceAfter(*catalog, "/Pages");
    if (!pagesNumber) {
        return std::nullopt;
    }
    const auto pages = ObjectBody(data, *pagesNumber);
    if (!pages) {
        return std::nullopt;
    }
    auto rest = AfterKey(*pages, "/Count");
    if (!rest) {
        return std::nullopt;
    }
    const auto count = TakeInteger(*rest);
    if (!count || *count > 1000000) {
        return std::nullopt;
    }
    return static_cast<int>(*count);
}

} // namespace folivex::standin
