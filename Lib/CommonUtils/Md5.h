#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cmn {

// MD5 message digest (RFC 1321), fed in pieces.
class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t size);
    void Update(std::string_view text) { Update(text.data(), text.size()); }
    std::array<std::uint8_t, 16> Final();

private:
    void Transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> state_;
    std::uint64_t length_ = 0;  // bytes seen
    std::array<std::uint8_t, 64> buffer_{};
};

// The digest as 32 upper-case hexadecimal digits.
std::string Md5Hex(std::string_view data);

// The digest of a whole file, or an empty text when it cannot be read.
std::string Md5FileHex(const std::string& path);

std::string HexUpper(const std::uint8_t* data, std::size_t size);

}  // namespace cmn
