// The automation number conversions on any text. They must agree with one another: a text that
// converts to a 16-bit integer converts to the same 32-bit one, and a whole number is never more
// than half away from the number the text spells.

#include "common/automation_text.h"
#include "common/fuzz/fuzz_input.h"

#include <cmath>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace folivex;
    folivex::fuzzing::FuzzInput input(data, size);
    const std::wstring text = input.RestAsText();

    const std::optional<double> number = ParseAutomationNumber(text);
    Check(IsNumericText(text) == number.has_value());
    if (number) {
        Check(!std::isnan(*number));
    }

    const std::optional<std::int16_t> small = TextToInt16(text);
    const std::optional<std::int32_t> large = TextToInt32(text);
    if (small) {
        Check(number.has_value());
        Check(large.has_value() && *large == *small);
    }
    if (large) {
        Check(number.has_value());
        Check(std::fabs(*number - static_cast<double>(*large)) <= 0.5);
    }
    if (number && std::fabs(*number) < 32000.0) {
        Check(small.has_value());
    }

    const std::wstring trimmed = TrimSpaces(text);
    Check(trimmed.size() <= text.size());
    Check(trimmed.empty() || (trimmed.front() != L' ' && trimmed.back() != L' '));
    Check(text.find(trimmed) != std::wstring::npos);
    Check(TextToInt32(trimmed) == large);

    const std::wstring lower = AsciiLower(text);
    Check(lower.size() == text.size());
    Check(AsciiLower(lower) == lower);
    return 0;
}
