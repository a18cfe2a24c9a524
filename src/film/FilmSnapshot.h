#pragma once
// A film as it is at one moment, taken on the window's thread at almost no cost and written out
// later on any thread: the coded frames are shared with the film until it changes them, a current
// frame drawn on since it was last coded is a plain copy of its pixels, coded only when written,
// and the rest of the file (rate, palette, sounds, fades) is written out when the snapshot is taken.
// It shares nothing with the film that the film may change.

#include "base/ByteIO.h"
#include "film/FilmBlock.h"

namespace celvane {

class FilmSnapshot {
public:
    // The film file that saving the film at that moment would have written.
    Bytes fileBytes() const;

private:
    friend class Film;

    FilmBlock block_;
    // The drawn-on current frame: its rows bottom-up as in the working image, and where its
    // record goes (inserted as the first frame of a film that had none stored yet).
    Bytes pixels_;
    int frame_ = -1;
    bool firstOfEmptyFilm_ = false;
    size_t stride_ = 0;
    size_t rowBytes_ = 0;
    int rows_ = 0;
    int bitsPerPixel_ = 0;
    // Everything the file holds after the film chunk.
    Bytes rest_;
};

} // namespace celvane
