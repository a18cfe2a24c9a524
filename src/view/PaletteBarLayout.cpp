#include "view/PaletteBarLayout.h"

#include <algorithm>

#include "gfx/Colour.h"
#include "gfx/Palette.h"

namespace celvane {

namespace {
// Along the bar: margin, well, gap, cells, margin (8 + 34 + 16 + 192 + 8 = 258 at the
// smallest). Across: the cells leave 4 each side; 48 and 192 divide evenly by every column and
// row count.
constexpr int kWellStart = 8;
constexpr int kCellsStart = 58;
constexpr int kEndMargin = 8;
constexpr int kCellsAcrossMargin = 4;
constexpr int kSmallestCellsAlong = PaletteBarLayout::kAlong - kCellsStart - kEndMargin;
constexpr int kSmallestCellsAcross = PaletteBarLayout::kAcross - 2 * kCellsAcrossMargin;
// A square cell of 256 never grows past this: the bar would take too much of the film's room.
constexpr int kLargestCellSide = 12;
// Each well square is this much smaller than the well; the paper square sits that far in.
constexpr int kSquareOffset = 10;

bool isPaletteDepth(int bits) { return bits <= 8; }

// Where part k starts when `length` is cut into `count` parts the way indexAt cuts it: the
// smallest p with p * count / length == k, so cell rectangles and clicks always agree.
int partStart(int k, int count, int length) { return (k * length + count - 1) / count; }
} // namespace

void PaletteBarLayout::setDepth(int bitsPerPixel, int room)
{
    cellsAlong_ = kSmallestCellsAlong;
    cellsAcross_ = kSmallestCellsAcross;
    if (bitsPerPixel <= 1) {
        across_ = 1;
        along_ = 2;
    } else if (bitsPerPixel <= 4) {
        across_ = 2;
        along_ = 8;
    } else {
        across_ = 8;
        along_ = 32;
        const int side = std::clamp((room - kCellsStart - kEndMargin) / along_, kSmallestCellsAlong / along_,
                                    kLargestCellSide);
        cellsAlong_ = side * along_;
        cellsAcross_ = side * across_;
    }
}

int PaletteBarLayout::across() const { return cellsAcross_ + 2 * kCellsAcrossMargin; }

int PaletteBarLayout::along() const { return kCellsStart + cellsAlong_ + kEndMargin; }

Rect PaletteBarLayout::place(int alongStart, int acrossStart, int alongLength, int acrossLength) const
{
    if (alternate_)
        return {alongStart, acrossStart, alongStart + alongLength, acrossStart + acrossLength};
    return {acrossStart, alongStart, acrossStart + acrossLength, alongStart + alongLength};
}

Rect PaletteBarLayout::wellRect() const
{
    return place(kWellStart, (across() - kWellSide) / 2, kWellSide, kWellSide);
}

Rect PaletteBarLayout::paintingSquare() const
{
    const Rect well = wellRect();
    const int side = kWellSide - kSquareOffset;
    return {well.left, well.top, well.left + side, well.top + side};
}

Rect PaletteBarLayout::paperSquare() const
{
    return paintingSquare().translated(kSquareOffset, kSquareOffset);
}

PaletteBarLayout::WellSquare PaletteBarLayout::wellSquareAt(int x, int y) const
{
    const auto inside = [x, y](const Rect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
    if (inside(paintingSquare()))
        return WellSquare::Painting;
    if (inside(paperSquare()))
        return WellSquare::Paper;
    return WellSquare::None;
}

Rect PaletteBarLayout::cellArea() const
{
    return place(kCellsStart, kCellsAcrossMargin, cellsAlong_, cellsAcross_);
}

int PaletteBarLayout::indexAt(int x, int y) const
{
    const Rect area = cellArea();
    if (x < area.left || x >= area.right || y < area.top || y >= area.bottom)
        return -1;
    const int column = (x - area.left) * columns() / area.width();
    const int row = (y - area.top) * rows() / area.height();
    return alternate_ ? row * columns() + column : column * rows() + row;
}

Rect PaletteBarLayout::cellRect(int index) const
{
    if (index < 0 || index >= cellCount())
        return {};
    const int column = alternate_ ? index % columns() : index / rows();
    const int row = alternate_ ? index / columns() : index % rows();
    const Rect area = cellArea();
    return {area.left + partStart(column, columns(), area.width()), area.top + partStart(row, rows(), area.height()),
            area.left + partStart(column + 1, columns(), area.width()),
            area.top + partStart(row + 1, rows(), area.height())};
}

std::optional<uint32_t> colourWordOfCell(const Palette& palette, int index, int bitsPerPixel)
{
    if (index < 0 || index >= palette.count())
        return std::nullopt;
    const uint32_t colour = palette.colourOfIndex(index) & 0xFFFFFF;
    return rgbToColourWord(colour, isPaletteDepth(bitsPerPixel) ? index : 0);
}

int cellOfColourWord(const Palette& palette, uint32_t colourWord, int bitsPerPixel)
{
    if (isPaletteDepth(bitsPerPixel)) {
        const int index = indexOfWord(colourWord);
        return index < palette.count() ? index : -1;
    }
    const int stored = palette.nearestIndex(rgbOfWord(colourWord));
    if (stored < 0 || rgbOfWord(palette.entry(stored)) != rgbOfWord(colourWord))
        return -1;
    return palette.logicalIndex(stored);
}

uint32_t rgbOfColourWord(const Palette& palette, uint32_t colourWord, int bitsPerPixel)
{
    if (isPaletteDepth(bitsPerPixel) && indexOfWord(colourWord) < palette.count())
        return palette.colourOfIndex(indexOfWord(colourWord)) & 0xFFFFFF;
    return rgbOfWord(colourWord);
}

} // namespace celvane
