#include "registry/cls_registry.h"

#include "common/automation_text.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace folivex {
namespace {

// Closes an opened key however the scan ends; a failed close is of no interest.
class OpenedKey {
public:
    OpenedKey(RegistryAccess& registry, RegistryHandle key) : registry_(registry), key_(key) {}
    ~OpenedKey() { registry_.CloseKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    RegistryHandle Get() const { return key_; }

private:
    RegistryAccess& registry_;
    RegistryHandle key_;
};

// Subkey names come back in the ANSI code page. Every character a number can be spelt with is
// ASCII there, so widening byte by byte is enough for the conversion.
std::wstring Widen(std::span<const char> name) {
    std::wstring wide;
    wide.reserve(name.size());
    for (char c : name) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

} // namespace

std::int16_t clsRegistry::GetReaderVersion(RegistryRoot RtHKey, std::wstring SbDr) const {
    RegistryHandle handle = 0;
    if (registry_.OpenKey(RtHKey, SbDr, 0, kRegistryReadAccess, view_, handle) !=
        kRegistrySuccess) {
        return 0;
    }
    const OpenedKey key(registry_, handle);

    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLength = 0;
    // A failed query leaves the count at 0, so the key reads as one without subkeys.
    registry_.QueryInfoKey(key.Get(), subKeys, maxSubKeyLength);

    std::int16_t best = 1;
    std::vector<char> buffer;
    for (std::uint32_t index = 0; index < subKeys; ++index) {
        const std::uint32_t size = maxSubKeyLength + 1;
        buffer.assign(size, '\0');
        std::uint32_t length = size;
        if (registry_.EnumKey(key.Get(), index, buffer, length) != kRegistrySuccess) {
            // Whatever the buffer holds now is no name; skip it and go on with the scan.
            continue;
        }
        length = std::min(length, size);
        const std::optional<std::int16_t> value =
            TextToInt16(Widen(std::span<const char>(buffer.data(), length)));
        if (value && *value > best) {
            best = *value;
        }
    }
    return best;
}

std::int16_t DetectReaderVersion(RegistryAccess& registry) {
    try {
        std::int16_t version = 0;
        for (RegistryView view :
             {RegistryView::Native, RegistryView::Registry32, RegistryView::Registry64}) {
            const clsRegistry reader(registry, view);
            version = std::max(version, reader.GetReaderVersion(kHKeyLocalMachine, kReaderKeyPath));
        }
        return version;
    } catch (const std::exception&) {
        // The detection never stops a control from being created; its failure reads as "a key
        // without version subkeys".
        return 1;
    }
}

} // namespace folivex
