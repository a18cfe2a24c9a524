#pragma once
// Codes of varying width packed least significant bit first, as both LZW coders store them (the
// frame codec and GIF's), staged in little-endian 32-bit words so that the output grows in
// large steps.

#include <array>
#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

class CodePacker {
public:
    explicit CodePacker(ByteWriter& out) : out_(out) {}
    CodePacker(const CodePacker&) = delete;
    CodePacker& operator=(const CodePacker&) = delete;

    // `width` is at most 32.
    void put(uint32_t code, int width)
    {
        bits_ |= uint64_t(code) << used_;
        used_ += width;
        if (used_ >= 32) {
            word(uint32_t(bits_));
            bits_ >>= 32;
            used_ -= 32;
        }
    }

    // How the last codes end: at the last byte they use, or padded with zero bits to a word.
    enum class End { Byte, Word };
    // Ends the codes and hands over what is staged.
    void finish(End end);

private:
    void word(uint32_t w)
    {
        storeLE32(stage_.data() + fill_, w);
        fill_ += 4;
        if (fill_ == stage_.size())
            flush();
    }
    void flush();

    ByteWriter& out_;
    uint64_t bits_ = 0;
    int used_ = 0;
    std::array<uint8_t, 4096> stage_;
    size_t fill_ = 0;
};

} // namespace celvane
