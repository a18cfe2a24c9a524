#pragma once
// A film file kept as the bytes where it differs from another film file: the frame records and
// chunks the other holds too are named by their length and hash, and taken from it when the
// file is made again. A step that changes a film's frames keeps the film's other state so, and
// costs only the frames and chunks the change touched.

#include <cstdint>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class FilmDelta {
public:
    FilmDelta() = default;
    // `file` told against `base`; both are whole film files.
    FilmDelta(ByteSpan file, ByteSpan base);

    // The file again, from a base holding every part it names (not necessarily where it held
    // them); NotSupportedError when one is missing.
    Bytes rebuild(ByteSpan base) const;
    // The memory held.
    size_t bytes() const;
    // The bytes held that the base did not have.
    size_t ownBytes() const { return own_.size(); }

private:
    static constexpr size_t kInBase = SIZE_MAX;
    struct Piece {
        uint64_t hash = 0;
        size_t length = 0;
        size_t own = kInBase; // where it starts in own_, or kInBase when the base holds it
    };
    std::vector<Piece> pieces_;
    Bytes own_;
};

} // namespace celvane
