#include "tests/windows/standin/pdf_text.h"

#include <zlib.h>

#include <cstddef>
#include <vector>

namespace folivex::standin {
namespace {

std::optional<std::string> Inflate(std::string_view data) {
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK) {
        return std::nullopt;
    }
    std::string out;
    std::vector<unsigned char> buffer(16384);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    int status = Z_OK;
    // Test documents are small; a stream that inflates beyond this is not one of them.
    constexpr std::size_t kMaxOutput = 16 * 1024 * 1024;
    while (status == Z_OK && out.size() < kMaxOutput) {
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            break; // truncated: keep what came out
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END && status != Z_BUF_ERROR && status != Z_OK) {
        return std::nullopt;
    }
    return out;
}

// Reads a literal string starting at content[i] == '('; i ends past its closing parenthesis.
std::string LiteralString(std::string_view content, std::size_t& i) {
    std::string text;
    int depth = 0;
    for (++i; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\\' && i + 1 < content.size()) {
            const char e = content[++i];
            switch (e) {
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'b':
                text += '\b';
                break;
            case 'f':
                text += '\f';
                break;
            case '\r':
            case '\n':
                break; // line continuation
            default:
                if (e >= '0' && e <= '7') {
                    int value = e - '0';
                    for (int n = 0; n < 2 && i + 1 < content.size() && content[i + 1] >= '0' &&
                                    content[i + 1] <= '7';
                         ++n) {
                        value = value * 8 + (content[++i] - '0');
                    }
                    text += static_cast<char>(value & 0xFF);
                } else {
                    text += e;
                }
            }
        } else if (c == '(') {
            ++depth;
            text += c;
        } else if (c == ')') {
            if (depth == 0) {
                ++i;
                return text;
            }
            --depth;
            text += c;
        } else {
            text += c;
        }
    }
    return text;
}

bool IsDelimiter(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0' || c == '[' ||
           c == ']' || c == '(' || c == ')' || c == '<' || c == '>' || c == '/' || c == '%';
}

// The strings shown by the text operators of one content stream.
std::string ShownText(std::string_view content) {
    std::string text;
    std::vector<std::string> pending; // strings since the last operator
    bool objectEnded = false;         // an ET since the last string shown
    std::size_t i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c == '(') {
            pending.push_back(LiteralString(content, i));
        } else if (c == '%') {
            while (i < content.size() && content[i] != '\n' && content[i] != '\r') {
                ++i;
            }
        } else if (IsDelimiter(c)) {
            ++i;
        } else {
            const std::size_t start = i;
            while (i < content.size() && !IsDelimiter(content[i])) {
                ++i;
            }
            const std::string_view word = content.substr(start, i - start);
            const bool number = (word[0] >= '0' && word[0] <= '9') || word[0] == '-' ||
                                word[0] == '+' || word[0] == '.';
            if (number) {
                continue;
            }
            if (word == "Tj" || word == "TJ" || word == "'" || word == "\"") {
                // Text objects stand apart on the page, so they do in the copied text.
                if (objectEnded && !pending.empty() && !text.empty() && text.back() != ' ') {
                    text += ' ';
                }
                objectEnded = false;
                for (const std::string& s : pending) {
                    text += s;
                }
            } else if (word == "ET") {
                objectEnded = true;
            }
            pending.clear();
        }
    }
    return text;
}

} // namespace

std::optional<std::string> PdfText(std::string_view data) {
    if (data.substr(0, 5) != "%PDF-") {
        return std::nullopt;
    }
    std::string text;
    std::size_t at = 0;
    while ((at = data.find("stream", at)) != std::string_view::npos) {
        // "endstream" contains "stream" too: only a keyword after a dictionary starts one.
        if (at >= 3 && data.substr(at - 3, 3) == "end") {
            at += 6;
            continue;
        }
        std::size_t begin = at + 6;
        if (begin < data.size() && data[begin] == '\r') {
            ++begin;
        }
        if (begin < data.size() && data[begin] == '\n') {
            ++begin;
        }
        const std::size_t end = data.find("endstream", begin);
        if (end == std::string_view::npos) {
            break;
        }
        const std::size_t dictionary = data.rfind("<<", at);
        const std::string_view header = dictionary == std::string_view::npos
                                            ? std::string_view()
                                            : data.substr(dictionary, at - dictionary);
        std::string_view body = data.substr(begin, end - begin);
        std::optional<std::string> inflated;
        if (header.find("/FlateDecode") != std::string_view::npos) {
            inflated = Inflate(body);
            body = inflated ? std::string_view(*inflated) : std::string_view();
        }
        const std::string shown = ShownText(body);
        if (!shown.empty()) {
            if (!text.empty()) {
                text += "\r\n";
            }
            text += shown;
        }
        at = end + 9;
    }
    return text;
}

} // namespace folivex::standin
