#include "print/PagePlan.h"

namespace celvane {

namespace {

// Crop marks stand this far off the edge they mark, outwards.
constexpr int kMarkGap = 5;
constexpr int kMarkEnd = 25;

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
// alone need no gap; otherwise a tenth of the cell is left between neighbours.
Rect pictureIn(const PrintLayout& layout, const Grid& grid, const Rect& cell)
{
    const int w10 = grid.box.width() / (grid.columns * 10), h20 = grid.box.height() / (grid.rows * 20);
    if (layout.has(PrintLayout::FlickBook))
        return {cell.left + w10, cell.top, cell.right, cell.bottom};
    if (layout.has(PrintLayout::CropMarks))
        return cell;
    return {cell.left + w10 / 2, cell.top + h20, cell.right - w10 / 2, cell.bottom - h20};
}

void addCross(std::vector<PageLine>& lines, int x, int y, int half)
{
    lines.push_back({x - half, y, x + half, y});
    lines.push_back({x, y - half, x, y + half});
}

void addCropMarks(const PrintLayout& layout, const Grid& grid, std::vector<PageLine>& lines)
{
    for (int row = 0; row < grid.rows; ++row) {
        const Rect first = grid.cell(row, 0), last = grid.cell(row, grid.columns - 1);
        for (const int y : {first.top, first.bottom}) {
            lines.push_back({first.left - kMarkGap, y, first.left - kMarkEnd, y});
            lines.push_back({last.right + kMarkGap, y, last.right + kMarkEnd, y});
        }
    }
    for (int column = 0; column < grid.columns; ++column) {
        const Rect top = grid.cell(0, column), bottom = grid.cell(grid.rows - 1, column);
        std::vector<int> edges{top.left, top.right};
        // A binding strip has its own edge to cut along.
        if (const int pictureLeft = pictureIn(layout, grid, top).left; pictureLeft != top.left)
            edges.push_back(pictureLeft);
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
    const size_t first = size_t(page - 1) * size_t(grid.rows * grid.columns);
    const bool crop = layout.has(PrintLayout::CropMarks);

    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const size_t printed = first + size_t(row * grid.columns + column);
            if (printed >= frames.size())
                break;
            const Rect cell = grid.cell(row, column);
            const Rect picture = pictureIn(layout, grid, cell);
            plan.pictures.push_back({frames[printed], picture});
            if (layout.has(PrintLayout::FlickBook)) {
                const int x = (cell.left + picture.left) / 2, half = (picture.left - cell.left) / 8;
                addCross(plan.lines, x, (2 * picture.top + picture.bottom) / 3, half);
                addCross(plan.lines, x, (picture.top + 2 * picture.bottom) / 3, half);
                if (!crop)
                    plan.borders.push_back({cell.left, picture.top, picture.right, picture.bottom});
            }
            if (!crop)
                plan.borders.push_back(picture);
        }
    }
    if (crop)
        addCropMarks(layout, grid, plan.lines);
    return plan;
}

} // namespace celvane
