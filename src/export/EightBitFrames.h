#pragma once
// A film's frames as 8-bit pictures of the film's size, for writers that take nothing else
// (FLIC, AVI). An 8-bit film's frames are used as they are; others are plotted into a work
// picture: with the film's own colours first for 1- and 4-bit films (nothing is lost), with
// the 8-bit default palette for deeper ones.

#include "gfx/Sprite.h"

namespace celvane {

class Film;

class EightBitFrames {
public:
    explicit EightBitFrames(const Film& film);
    // The picture of a frame; valid until the next call.
    const Sprite& frame(int index);

private:
    const Film& film_;
    Sprite picture_;
    Sprite work_;
};

} // namespace celvane
