#pragma once
// Where the palette bar puts its colour well and its palette cells, and which cell or well
// square a click hits. Docked along a vertical edge the bar is tall (standard layout); along a
// horizontal edge it lies on its side (alternate layout), with columns and rows exchanged.
// Cells are numbered by logical palette index, so the colour of a cell goes through the
// palette's index map.

#include <cstdint>
#include <optional>

#include "gfx/Rect.h"

namespace celvane {

class Palette;

class PaletteBarLayout {
public:
    // Across and along the bar at its smallest, whichever way it lies.
    static constexpr int kAcross = 56;
    static constexpr int kAlong = 258;
    static constexpr int kWellSide = 34;

    enum class WellSquare { None, Painting, Paper };

    // 1 bit: 1 x 2 cells; 4 bits: 2 x 8 (index bit 3 picks the column); 8 bits and deeper:
    // 8 x 32 (index bits 5-7 pick the column). Columns x rows of the standard layout. The 256
    // cells grow square, up to a comfortable size, while `room` along the bar allows; fewer
    // cells are large enough at the smallest bar.
    void setDepth(int bitsPerPixel, int room = kAlong);
    void setAlternate(bool alternate) { alternate_ = alternate; }
    bool alternate() const { return alternate_; }

    int columns() const { return alternate_ ? along_ : across_; }
    int rows() const { return alternate_ ? across_ : along_; }
    int cellCount() const { return across_ * along_; }

    // The whole bar, borders aside.
    int width() const { return alternate_ ? along() : across(); }
    int height() const { return alternate_ ? across() : along(); }

    // The well sits at the start of the bar, centred across it; the painting colour's square
    // is in front, the paper colour's behind it, offset towards the far corner.
    Rect wellRect() const;
    Rect paintingSquare() const;
    Rect paperSquare() const;
    // The front square wins where the two overlap.
    WellSquare wellSquareAt(int x, int y) const;

    Rect cellArea() const;
    // The logical index of the cell under (x, y); -1 outside the cell area.
    int indexAt(int x, int y) const;
    // Exactly the points indexAt maps to `index`; empty for an index with no cell.
    Rect cellRect(int index) const;

private:
    // A rectangle given along and across the bar, turned to x and y for the current layout.
    Rect place(int alongStart, int acrossStart, int alongLength, int acrossLength) const;
    int across() const;
    int along() const;

    int across_ = 8;
    int along_ = 32;
    // The cell area's size in pixels, along and across the bar.
    int cellsAlong_ = 192;
    int cellsAcross_ = 48;
    bool alternate_ = false;
};

// The colour word a cell stands for in a film of this depth: its colour with the index in the
// low byte at palette depths, its colour alone deeper (where the low byte is not an index).
// Nothing for an index past the palette's entries.
std::optional<uint32_t> colourWordOfCell(const Palette& palette, int index, int bitsPerPixel);
// The cell that shows a painting colour, -1 for none (a deep film's colour the palette lacks).
int cellOfColourWord(const Palette& palette, uint32_t colourWord, int bitsPerPixel);
// The RGB value a painting colour shows: at palette depths the palette's current colour for
// its index, which may have changed since the word was made.
uint32_t rgbOfColourWord(const Palette& palette, uint32_t colourWord, int bitsPerPixel);

} // namespace celvane
