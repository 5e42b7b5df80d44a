#include "tests/windows/standin/journal_reader.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace folivex::standin {
namespace {

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end && !text.empty();
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

} // namespace

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring FromUtf8(std::string_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
            AppendWide(out, 0xFFFD);
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? lead : (lead & (0x3F >> extra));
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            AppendWide(out, 0xFFFD);
            ++i;
            continue;
        }
        AppendWide(out, c);
        i += extra + 1;
    }
    return out;
}

std::string FormatJournalLine(const JournalEntry& entry) {
    std::ostringstream line;
    const char* kind = entry.kind == JournalKind::Invoke    ? "invoke"
                       : entry.kind == JournalKind::Command ? "command"
                       : entry.kind == JournalKind::Key     ? "key"
                                                            : "dialog";
    line << kind << '\t' << entry.member << '\t' << entry.flags << '\t' << entry.argumentCount
         << '\t' << entry.namedCount;
    for (const JournalArgument& argument : entry.arguments) {
        char type[8];
        auto [end, ec] = std::to_chars(type, type + sizeof(type), argument.type, 16);
        (void)ec;
        line << '\t' << std::string_view(type, static_cast<std::size_t>(end - type)) << '='
             << Escape(ToUtf8(argument.value));
    }
    return line.str();
}

std::vector<JournalEntry> ParseJournal(std::string_view text) {
    std::vector<JournalEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::vector<std::string_view> fields = SplitTabs(line);
        if (fields.size() < 5) {
            continue;
        }
        JournalEntry entry;
        if (fields[0] == "invoke") {
            entry.kind = JournalKind::Invoke;
        } else if (fields[0] == "command") {
            entry.kind = JournalKind::Command;
        } else if (fields[0] == "key") {
            entry.kind = JournalKind::Key;
        } else if (fields[0] == "dialog") {
            entry.kind = JournalKind::Dialog;
        } else {
            continue;
        }
        if (!ParseNumber(fields[1], entry.member) || !ParseNumber(fields[2], entry.flags) ||
            !ParseNumber(fields[3], entry.argumentCount) ||
            !ParseNumber(fields[4], entry.namedCount)) {
            continue;
        }
        bool valid = true;
        for (std::size_t i = 5; i < fields.size(); ++i) {
            const std::size_t equals = fields[i].find('=');
            JournalArgument argument;
            if (equals == std::string_view::npos ||
                !ParseNumber(fields[i].substr(0, equals), argument.type, 16)) {
                valid = false;
                break;
            }
            argument.value = FromUtf8(Unescape(fields[i].substr(equals + 1)));
            entry.arguments.push_back(std::move(argument));
        }
        if (valid) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::vector<JournalEntry> ReadJournal(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) {
        return {};
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return ParseJournal(text);
}

} // namespace folivex::standin
