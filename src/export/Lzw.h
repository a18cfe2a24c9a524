#pragma once
// The variable-length-code LZW of GIF files. Two stream forms: the GIF form (a minimum-code-size
// byte, then the codes in sub-blocks of at most 255 bytes, then a zero-length block) and the raw
// form (the code bytes alone), which the animation store packs its frames with.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "base/ByteIO.h"

namespace celvane {

// The one scratch area both directions work in, shared by every user and kept while anyone
// holds a lease, so that coding many frames in a row allocates once. User-interface thread
// only: one lease's pointer is valid until another lease grows the area.
class LzwScratch {
public:
    LzwScratch();
    ~LzwScratch();
    LzwScratch(const LzwScratch&) = delete;
    LzwScratch& operator=(const LzwScratch&) = delete;

    // At least `bytes` bytes, grown (never shrunk) as needed; std::bad_alloc when it cannot be.
    uint8_t* reserve(size_t bytes);

    // Bytes held now (0 when nobody holds a lease).
    static size_t capacity();
};

// The raw form the animation store uses: initial code width 9 (clear 256, end 257).
constexpr int kLzwRawWidth = 9;

// Gives the next run of input bytes; an empty run ends the input.
using LzwInput = std::function<ByteSpan()>;

enum class LzwForm { Gif, Raw };

// Codes the input with initial code width `width` (2 ... 12) onto the end of `out`, in either
// form. Returns the bytes appended. Out of memory: MemoryError "Out of memory (lzwe)".
size_t lzwEncode(LzwForm form, int width, Bytes& out, const LzwInput& input);
size_t lzwEncode(LzwForm form, int width, Bytes& out, ByteSpan input);

// How a stream of codes ended: at its end code, where the codes ran out, or where the output
// was full.
enum class LzwEnd { EndCode, CodesRanOut, OutputFull };

struct LzwDecoded {
    size_t length = 0;
    LzwEnd end = LzwEnd::EndCode;
};

// Decodes raw-form codes of initial code width `width` (2 ... 12) into `out` (or, with no
// output, only counts): the length produced, at most `capacity`, and how the stream ended. A
// stream that stops without its end code, or that holds more than fits, keeps what it has;
// the caller decides whether that matters. Damaged codes: ArchiveError "Bad compressed data";
// out of memory: MemoryError "Out of memory (lzwd)".
LzwDecoded lzwDecode(ByteSpan in, uint8_t* out, size_t capacity, int width);

} // namespace celvane
