#pragma once
// Bringing pictures of any kind into a film: each source frame becomes a new frame after the
// current one, drawn to the film's size (its sound and fade coming along), or, when the target
// list is empty, the pictures become a new film.

#include "base/Progress.h"
#include "film/ImageInfo.h"

namespace celvane {

class GraphicList;

// How imported pictures join a film: as new frames, or as the background of existing frames.
struct ImportOptions {
    enum Use : int { UseFirst = 0, CycleAround = 1, StretchToFit = 2 };
    enum Target : int { CurrentFrame = 0, SelectedFrames = 1, EntireFilm = 2 };
    bool asBackground = false;
    int use = UseFirst;
    int applyTo = CurrentFrame;
};

// The source picture the k-th of n background frames takes, from m source pictures.
int backgroundSource(int k, int n, int m, int use, bool sourceTravelsBack);

// Draws the source pictures under the chosen frames of the film in `target` (paper lets the
// picture show through); the frames are marked modified. Returns the frame to show.
int mergeBackground(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults,
                    const ImportOptions& options);

// Merges every frame of `source` into the film of `target` after frame `frame`. An empty
// target first gets a film described by source frame 0, with what that lacks taken from
// `defaults`. Returns the last frame inserted.
int mergeFrames(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults,
                const Progress& progress = {});

} // namespace celvane
