#pragma once
// Reading a fuzzer's input as the values a target needs. Text is mostly ASCII so that seeds can
// be written by hand: each byte is one character, except that 0xFF takes the next two bytes as
// one UTF-16 code unit (little-endian), which reaches NULs, surrogates and any other character.

#include <cstddef>
#include <cstdint>
#include <string>

namespace folivex::fuzzing {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::size_t Remaining() const { return size_ - at_; }

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }

    wchar_t Character() {
        const std::uint8_t byte = Byte();
        return byte == 0xFF ? static_cast<wchar_t>(Word()) : static_cast<wchar_t>(byte);
    }

    // The rest of the input as text.
    std::wstring RestAsText() {
        std::wstring text;
        while (!Empty()) {
            text.push_back(Character());
        }
        return text;
    }

    // Text up to the next byte `end` (not included) or the end of the input.
    std::wstring TextUntil(std::uint8_t end) {
        std::wstring text;
        while (!Empty() && data_[at_] != end) {
            text.push_back(Character());
        }
        Byte();
        return text;
    }

    // Bytes up to the next byte `end` (not included) or the end of the input.
    std::string BytesUntil(std::uint8_t end) {
        std::string bytes;
        while (!Empty() && data_[at_] != end) {
            bytes.push_back(static_cast<char>(Byte()));
        }
        Byte();
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace folivex::fuzzing
