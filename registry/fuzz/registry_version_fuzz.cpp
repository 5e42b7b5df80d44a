// The Reader version scan over generated subkey lists: any names (numbers, fractions, signs,
// blanks, non-ASCII bytes), failing queries and enumerations, a longest-name length that lies.
// The scan answers the highest name that converts (at least 1 once the key opens, 0 when it
// does not) and leaves no key open.

#include "common/automation_text.h"
#include "common/fuzz/fuzz_input.h"
#include "registry/cls_registry.h"
#include "registry/testing/memory_registry.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace folivex;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    std::vector<std::string> names;
    while (!input.Empty() && names.size() < 5000) {
        names.push_back(input.BytesUntil(0));
    }

    testing::MemoryRegistry registry(RegistryView::Registry64);
    testing::MemoryRegistry::Key& key =
        registry.AddKey(RegistryView::Registry64, kHKeyLocalMachine, kReaderKeyPath, names);
    key.denyOpen = (flags & 0x01) != 0;
    key.failQuery = (flags & 0x02) != 0;
    if (flags & 0x04) {
        key.failEnum.insert(flags >> 5);
    }
    if (flags & 0x08) {
        key.reportedMaxName = (flags & 0x10) ? 0xFFFFFFFFu : static_cast<std::uint32_t>(flags >> 5);
    }

    const clsRegistry reader(registry);
    const std::int16_t version = reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath);
    Check(registry.OpenHandles() == 0);
    if (key.denyOpen) {
        Check(version == 0);
    } else {
        Check(version >= 1);
    }
    // Never a version that no readable name spells.
    if (version > 1) {
        const bool named = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            std::wstring wide(name.begin(), name.end());
            for (wchar_t& c : wide) {
                c = static_cast<wchar_t>(static_cast<unsigned char>(c));
            }
            return TextToInt16(wide) == version;
        });
        Check(named);
    }

    const std::int16_t detected = DetectReaderVersion(registry);
    Check(registry.OpenHandles() == 0);
    Check(detected >= 0);
    return 0;
}
