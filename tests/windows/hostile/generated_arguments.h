#pragma once
// Arguments for generated automation calls: every VARTYPE a caller can pass (empty, null,
// missing, the integer and floating types, currency, dates, strings of every awkward kind,
// Booleans, objects null and real, safe arrays) by value and by reference. Deterministic from
// the generator's seed. The arguments own what they hold and free it, including whatever a
// callee put into a by-reference argument.

#include "tests/windows/hostile/probe_object.h"

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace folivex::testing {

// Strings that reach the control's paths and addresses; nothing in them leaves the machine.
struct ArgumentStrings {
    std::wstring document;    // a PDF that exists
    std::wstring notPdf;      // a file that is no PDF
    std::wstring scratch;     // a writable folder, ending in a backslash
    std::wstring refusedHttp; // an address whose server refuses the connection
};

class GeneratedArguments {
public:
    GeneratedArguments() = default;
    ~GeneratedArguments();
    GeneratedArguments(const GeneratedArguments&) = delete;
    GeneratedArguments& operator=(const GeneratedArguments&) = delete;

    // In the order DISPPARAMS wants them: the last argument first.
    std::vector<VARIANTARG> values;
    // What the by-reference arguments point at.
    std::vector<std::unique_ptr<VARIANT>> referenced;
};

class ArgumentGenerator {
public:
    ArgumentGenerator(std::uint32_t seed, ArgumentStrings strings, ProbeObject& probe);

    // `count` arguments of generated types.
    void Fill(GeneratedArguments& arguments, unsigned count);
    // One value of a generated type, by value (no VT_BYREF).
    void FillValue(VARIANT& value);
    // A string for a BSTR argument; sometimes null.
    BSTR String();

    std::mt19937& Random() { return random_; }
    unsigned Below(unsigned bound) { return bound ? random_() % bound : 0; }

private:
    std::wstring Text();
    SAFEARRAY* Array();

    std::mt19937 random_;
    ArgumentStrings strings_;
    ProbeObject& probe_;
    std::wstring megabyte_;
};

} // namespace folivex::testing
