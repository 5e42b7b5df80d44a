#pragma once
// The page count of a PDF file as the stand-in viewer shows it: the /Count of the page tree's
// root, reached from the trailer's /Root through the catalog's /Pages. Portable.

#include <optional>
#include <string_view>

namespace folivex::standin {

// The root /Pages object's /Count, or nothing when the data is not a PDF (no "%PDF-" header)
// or the chain trailer -> catalog -> page tree cannot be followed in plain objects.
std::optional<int> PdfPageCount(std::string_view data);

} // namespace folivex::standin
