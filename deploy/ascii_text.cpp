#include "deploy/ascii_text.h"

#include <stdexcept>

namespace folivex::deploy {

std::string Ascii(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0x20 || c > 0x7E) {
            throw std::invalid_argument("not printable ASCII: " + out + "...");
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string TableField(const std::wstring& text) {
    return Ascii(text);
}

std::string XmlText(const std::wstring& text) {
    std::string out;
    for (char c : Ascii(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace folivex::deploy
