#pragma once
// A rectangle as left, top, right, bottom (right and bottom exclusive). A plot may be given a
// rectangle whose right lies left of its left, or whose bottom lies above its top: that is a
// mirrored rectangle, drawn flipped.

#include <algorithm>
#include <cstddef>

namespace celvane {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    size_t area() const { return isEmpty() ? 0 : size_t(width()) * size_t(height()); }
    bool operator==(const Rect&) const = default;

    Rect intersected(const Rect& o) const
    {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect united(const Rect& o) const
    {
        if (isEmpty())
            return o;
        if (o.isEmpty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

} // namespace celvane
