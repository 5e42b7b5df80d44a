#pragma once
// The text a PDF file's pages show, as the stand-in viewer copies it: the strings of the text
// operators (Tj, ', ", and the strings inside TJ arrays) of every content stream, plain or
// Flate-compressed, in file order, one line per stream; the text objects (BT ... ET) of a stream
// are separated by a blank.

#include <optional>
#include <string>
#include <string_view>

namespace folivex::standin {

// Nothing when the data is not a PDF (no "%PDF-" header). Latin-1 bytes.
std::optional<std::string> PdfText(std::string_view data);

} // namespace folivex::standin
