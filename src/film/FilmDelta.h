#pragma once
// A film file kept as the bytes where it differs from another film file, its base: the frame
// records and chunks the base holds too are named by their place in it and taken from it when
// the file is made again. A step that changes a film's frames keeps the film's other state so,
// and costs only the frames and chunks the change touched.

#include <cstddef>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class FilmDelta {
public:
    FilmDelta() = default;
    // `file` told against `base`; both are whole film files.
    FilmDelta(ByteSpan file, ByteSpan base);

    // The file again, from its base: a film file cut into as many parts, each part named of the
    // length it had. NotSupportedError for any other.
    Bytes rebuild(ByteSpan base) const;
    // The memory held.
    size_t bytes() const;
    // The bytes held that the base did not have.
    size_t ownBytes() const { return own_.size(); }

private:
    struct Piece {
        size_t length = 0;
        size_t at = 0; // where it starts in own_, or which part of the base it is
        bool own = false;
    };
    void keep(ByteSpan part);

    std::vector<Piece> pieces_;
    Bytes own_;
    size_t baseParts_ = 0;
};

} // namespace celvane
