#pragma once
// The changes to a film's list of frames that the frame commands make: adding, duplicating and
// deleting frames, and marking them. Each takes the view's current frame and returns the frame
// that should be current afterwards; messages, clipboard and hints are the caller's.

#include <functional>

#include "base/ByteIO.h"

namespace celvane {

class Film;
class GraphicList;
class Sprite;

namespace FrameEditing {

// Inserts a blank frame (or a copy of the current one) after the current frame, with what
// `draw` draws on it.
int insertAfter(Film& film, int current, bool duplicate, const std::function<void(Sprite&)>& draw = {});
// Deletes the marked frames, or the current frame when none is marked.
int deleteSelection(Film& film, int current);

// Mark: grows or trims the first run of marked frames towards the current frame.
void mark(Film& film, int current);
void selectAll(Film& film);
void clearSelection(Film& film);
// Marks the frames from the current frame to `target` (nothing when they are the same).
void selectRange(Film& film, int current, int target);
bool anyMarked(const Film& film);
bool allMarked(const Film& film);

// The marked frames (the current frame is marked first when none is) as the contents of the
// "Celvane Stamps" clipboard format: the names, the frames as a film, and a word -1.
Bytes copyAsStamps(GraphicList& list, int current);

} // namespace FrameEditing
} // namespace celvane
