#pragma once
// Writes a film as a small animated GIF: one global colour table (the film's colours, or a
// palette chosen for the whole film when it is deeper), each frame after the first storing
// only the rectangle that changed, with unchanged pixels made transparent when that codes
// smaller; delays from the frame period and pauses, and the loop extension from the motion
// (a yo-yo film is written forwards and back, looping).

#include <functional>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class Film;

struct GifExportOptions {
    // The frames to write, in order; none means every frame.
    std::vector<int> frames;
    // Told (frames done, frames in all) after each frame; returning false cancels the export
    // with UserCancel.
    std::function<bool(int, int)> progress;
};

// The GIF file. Frames outside the film are refused ("There were no frames to export to the
// GIF file, so it wasn't saved.").
Bytes writeGif(const Film& film, const GifExportOptions& options = {});

} // namespace celvane
