#include "app/picker/PickerGrid.h"

#include <algorithm>

namespace celvane {

namespace {
// The client area inset by 4 on the left and top, cells start 4 further in.
constexpr int kInset = 4;

int itemWidth(const PickerEntrySize& e)
{
    return e.large ? std::max(e.iconWidth, e.nameWidth) : e.iconWidth + 2 + e.nameWidth;
}

int itemHeight(const PickerEntrySize& e)
{
    return e.large ? e.nameHeight + e.iconHeight + 2 : std::max(e.iconHeight, e.nameHeight);
}
} // namespace

void PickerGrid::layout(const std::vector<PickerEntrySize>& entries, int clientWidth, int clientHeight)
{
    entries_ = entries;
    cellWidth_ = cellHeight_ = 0;
    for (const auto& e : entries_) {
        cellWidth_ = std::max(cellWidth_, itemWidth(e));
        cellHeight_ = std::max(cellHeight_, itemHeight(e));
    }
    const int n = entryCount();
    columns_ = std::clamp(clientWidth / (cellWidth_ + kGap), 1, std::max(n, 1));
    rows_ = (n + columns_ - 1) / columns_;
    clientHeight_ = clientHeight;
    scroll_ = std::clamp(scroll_, 0, scrollMax());
}

int PickerGrid::scrollMax() const { return std::max(0, contentHeight() - clientHeight_); }

int PickerGrid::scrollTo(int position)
{
    const int before = scroll_;
    scroll_ = std::clamp(position, 0, scrollMax());
    return scroll_ - before;
}

Rect PickerGrid::cell(int k) const
{
    const int left = 2 * kInset + (k % columns_) * (cellWidth_ + kGap);
    const int top = 2 * kInset + (k / columns_) * (cellHeight_ + kGap) - scroll_;
    return {left, top, left + cellWidth_, top + cellHeight_};
}

PickerEntryRects PickerGrid::rects(int k) const
{
    const PickerEntrySize& e = entries_[size_t(k)];
    const Rect c = cell(k);
    PickerEntryRects r;
    if (e.large) {
        const int d = itemWidth(e);
        const int left = c.left + (cellWidth_ - d) / 2;
        const int nameLeft = left + (d - e.nameWidth) / 2;
        r.name = {nameLeft, c.bottom - e.nameHeight, nameLeft + e.nameWidth, c.bottom};
        const int iconLeft = left + (d - e.iconWidth) / 2;
        r.icon = {iconLeft, r.name.top - 2 - e.iconHeight, iconLeft + e.iconWidth, r.name.top - 2};
    } else {
        const int d = itemHeight(e);
        const int iconTop = c.top + (d - e.iconHeight) / 2;
        r.icon = {c.left, iconTop, c.left + e.iconWidth, iconTop + e.iconHeight};
        const int nameTop = c.top + (d - e.nameHeight) / 2;
        r.name = {r.icon.right + 2, nameTop, r.icon.right + 2 + e.nameWidth, nameTop + e.nameHeight};
    }
    return r;
}

int PickerGrid::hit(int x, int y) const
{
    const int px = x - 2 * kInset;
    const int py = y - 2 * kInset + scroll_;
    if (px < 0 || py < 0)
        return -1;
    const int column = px / (cellWidth_ + kGap);
    const int k = (py / (cellHeight_ + kGap)) * columns_ + column;
    if (column >= columns_ || k >= entryCount())
        return -1;
    const auto inside = [x, y](const Rect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
    const PickerEntryRects r = rects(k);
    return inside(r.icon) || inside(r.name) ? k : -1;
}

std::vector<int> PickerGrid::entriesMeeting(const Rect& band) const
{
    std::vector<int> met;
    for (int k = 0; k < entryCount(); ++k)
        if (!cell(k).intersected(band).isEmpty())
            met.push_back(k);
    return met;
}

} // namespace celvane
