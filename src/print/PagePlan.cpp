#include "print/PagePlan.h"

#include <algorithm>

namespace celvane {

namespace {

// Crop marks stand this far off the edge they mark, outwards.
constexpr int kMarkGap = 5;
constexpr int kMarkEnd = 25;
// A binding strip narrower than this (10 mm) is too narrow to bind.
constexpr int kMinStrip = 100;
// The page number stands this far above the paper's foot, clear of the crop marks.
constexpr int kPageNumberFoot = 70;

struct Grid {
    Rect box;
    int rows, columns;

    Rect cell(int row, int column) const
    {
        return {box.left + column * box.width() / columns, box.top + row * box.height() / rows,
                box.left + (column + 1) * box.width() / columns, box.top + (row + 1) * box.height() / rows};
    }
};

// The picture's place in its cell: a flick book leaves a binding strip on the left; crop marks
// alone need no gap; otherwise a tenth of the cell is left between neighbours, where the frame
// numbers go.
Rect pictureIn(const PrintLayout& layout, const Grid& grid, const Rect& cell)
{
    const int w10 = grid.box.width() / (grid.columns * 10), h20 = grid.box.height() / (grid.rows * 20);
    if (layout.has(PrintLayout::FlickBook)) {
        // A strip too narrow to bind is widened and the picture made smaller, keeping its shape;
        // half the cell stays for the picture however small the frames are.
        const int strip = std::min(std::max(w10, kMinStrip), cell.width() / 2);
        if (strip <= w10)
            return {cell.left + w10, cell.top, cell.right, cell.bottom};
        const int width = cell.width() - strip;
        const int height = cell.height() * width / std::max(1, cell.width() - w10);
        const int top = cell.top + (cell.height() - height) / 2;
        return {cell.left + strip, top, cell.right, top + height};
    }
    if (layout.has(PrintLayout::CropMarks) && !layout.has(PrintLayout::FrameNumbers))
        return cell;
    return {cell.left + w10 / 2, cell.top + h20, cell.right - w10 / 2, cell.bottom - h20};
}

void addCross(std::vector<PageLine>& lines, int x, int y, int half)
{
    lines.push_back({x - half, y, x + half, y});
    lines.push_back({x, y - half, x, y + half});
}

// Marks only around the cells that hold a frame: `filled` of them, row by row.
void addCropMarks(const PrintLayout& layout, const Grid& grid, int filled, std::vector<PageLine>& lines)
{
    const int rows = (filled + grid.columns - 1) / grid.columns;
    for (int row = 0; row < rows; ++row) {
        const int lastColumn = std::min(grid.columns, filled - row * grid.columns) - 1;
        const Rect first = grid.cell(row, 0), last = grid.cell(row, lastColumn);
        for (const int y : {first.top, first.bottom}) {
            lines.push_back({first.left - kMarkGap, y, first.left - kMarkEnd, y});
            lines.push_back({last.right + kMarkGap, y, last.right + kMarkEnd, y});
        }
    }
    for (int column = 0; column < std::min(grid.columns, filled); ++column) {
        const Rect top = grid.cell(0, column), bottom = grid.cell((filled - 1 - column) / grid.columns, column);
        std::vector<int> edges{top.left, top.right};
        // A binding strip has its own edge to cut along.
        if (layout.has(PrintLayout::FlickBook))
            edges.push_back(pictureIn(layout, grid, top).left);
        for (const int x : edges) {
            lines.push_back({x, top.top - kMarkGap, x, top.top - kMarkEnd});
            lines.push_back({x, bottom.bottom + kMarkGap, x, bottom.bottom + kMarkEnd});
        }
    }
}

} // namespace

PagePlan planPage(const PrintLayout& layout, int page, const std::vector<int>& frames)
{
    PagePlan plan;
    if (layout.rows() < 1 || layout.columns() < 1 || page < 1)
        return plan;
    const Grid grid{{layout.left(), layout.top(), layout.pageWidth() - layout.right(),
                     layout.pageHeight() - layout.bottom()},
                    layout.rows(), layout.columns()};
    const size_t perPage = size_t(grid.rows * grid.columns), first = size_t(page - 1) * perPage;
    if (first >= frames.size())
        return plan;
    const int filled = int(std::min(frames.size() - first, perPage));
    const bool crop = layout.has(PrintLayout::CropMarks);

    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const size_t printed = first + size_t(row * grid.columns + column);
            if (printed >= frames.size())
                break;
            const Rect cell = grid.cell(row, column);
            const Rect picture = pictureIn(layout, grid, cell);
            plan.pictures.push_back({frames[printed], picture});
            const std::string number = std::to_string(frames[printed] + 1);
            if (layout.has(PrintLayout::FlickBook)) {
                const int x = (cell.left + picture.left) / 2, half = (picture.left - cell.left) / 8;
                const int lowerCross = (picture.top + 2 * picture.bottom) / 3;
                addCross(plan.lines, x, (2 * picture.top + picture.bottom) / 3, half);
                addCross(plan.lines, x, lowerCross, half);
                if (!crop)
                    plan.borders.push_back({cell.left, picture.top, picture.right, picture.bottom});
                if (layout.has(PrintLayout::FrameNumbers))
                    plan.texts.push_back({{cell.left, lowerCross + half, picture.left, picture.bottom}, number});
            } else if (layout.has(PrintLayout::FrameNumbers)) {
                // Under the picture, in the gap between its row and the next.
                const int gap = 2 * (cell.bottom - picture.bottom);
                plan.texts.push_back({{picture.left, picture.bottom, picture.right, picture.bottom + gap}, number});
            }
            if (!crop)
                plan.borders.push_back(picture);
        }
    }
    if (crop)
        addCropMarks(layout, grid, filled, plan.lines);
    const size_t pages = (frames.size() + perPage - 1) / perPage;
    plan.texts.push_back({{0, layout.pageHeight() - kPageNumberFoot - kPageTextHeight, layout.pageWidth(),
                           layout.pageHeight() - kPageNumberFoot},
                          "Page " + std::to_string(page) + " of " + std::to_string(pages)});
    return plan;
}

} // namespace celvane
