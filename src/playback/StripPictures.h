#pragma once
// The pictures of the play tool bar's film strip: the strip drawn as a piece of film, with
// sprocket holes that slide with it and a window for each frame, and the gate over the frame
// under the marker, with a picture of its own while the film plays.

class QPainter;
class QPalette;
class QRect;

namespace celvane::StripPictures {

// The film behind the cells: `offset` slides the sprocket holes with the cells.
void paintFilm(QPainter& p, const QRect& area, int offset, const QPalette& colours);
// One frame's window, on which its number is written.
void paintFrameWindow(QPainter& p, const QRect& cell);
// The gate around the frame under the marker.
void paintGate(QPainter& p, const QRect& gate, bool playing, const QPalette& colours);

} // namespace celvane::StripPictures
