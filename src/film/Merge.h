#pragma once
// Bringing pictures of any kind into a film: each source frame becomes a new frame after the
// current one, drawn to the film's size (its sound and fade coming along), or, when the target
// list is empty, the pictures become a new film.

#include "film/ImageInfo.h"

namespace celvane {

class GraphicList;

// Merges every frame of `source` into the film of `target` after frame `frame`. An empty
// target first gets a film described by source frame 0, with what that lacks taken from
// `defaults`. Returns the last frame inserted.
int mergeFrames(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults);

} // namespace celvane
