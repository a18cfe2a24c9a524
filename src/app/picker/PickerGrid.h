#pragma once
// Where a picker's entries (its folder links, then its items) sit: the cell every entry gets,
// the columns that fit the window, the scroll range, the icon and name of each entry within its
// cell, and which entry a point hits. Plain arithmetic on sizes the window measures.

#include <vector>

#include "gfx/Rect.h"

namespace celvane {

struct PickerEntrySize {
    int iconWidth = 0;
    int iconHeight = 0;
    int nameWidth = 0;
    int nameHeight = 0;
    // Icon above the name; otherwise the icon left of the name.
    bool large = true;
};

struct PickerEntryRects {
    Rect icon;
    Rect name;
};

class PickerGrid {
public:
    static constexpr int kGap = 8;
    static constexpr int kLineStep = 16;

    // Lays the entries out for a client area of this size; keeps the scroll position in range.
    void layout(const std::vector<PickerEntrySize>& entries, int clientWidth, int clientHeight);

    int entryCount() const { return int(entries_.size()); }
    int cellWidth() const { return cellWidth_; }
    int cellHeight() const { return cellHeight_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int contentHeight() const { return rows_ * (cellHeight_ + kGap); }
    int scrollMax() const;
    int scroll() const { return scroll_; }
    // Clamped to the range; returns how far the content moved.
    int scrollTo(int position);

    // The cell of entry k in client coordinates (scrolled).
    Rect cell(int k) const;
    PickerEntryRects rects(int k) const;
    // The entry whose icon or name holds the point, or -1.
    int hit(int x, int y) const;
    // The entries whose cells meet the rectangle.
    std::vector<int> entriesMeeting(const Rect& band) const;

private:
    std::vector<PickerEntrySize> entries_;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int columns_ = 1;
    int rows_ = 0;
    int clientHeight_ = 0;
    int scroll_ = 0;
};

} // namespace celvane
