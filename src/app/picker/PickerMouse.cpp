#include "app/picker/PickerMouse.h"

#include <algorithm>
#include <cstdlib>

#include "app/picker/PickerGrid.h"
#include "app/picker/PickerItems.h"

namespace celvane {

namespace {
Rect spanning(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}
} // namespace

PickerMouse::Press PickerMouse::press(Point at, bool shift, bool ctrl, bool doubleClick, int linkCount)
{
    linkCount_ = linkCount;
    pressedItem_ = -1;
    const int k = grid_.hit(at.x, at.y);
    if (k < 0) {
        if (!shift && !ctrl)
            items_.select(PickerSelect::None, -1);
        banding_ = true;
        toggling_ = ctrl;
        inBand_.assign(size_t(items_.itemCount()), false);
        anchor_ = bandEnd_ = at;
        updateBand(at);
        return {};
    }
    if (k < linkCount)
        return {Press::Link, k, false};
    const int item = k - linkCount;
    if (shift && anchor_.x != kNoValue) {
        for (int i : itemsIn(anchor_, at))
            items_.select(PickerSelect::Select, i);
    } else {
        if (!ctrl && !items_.describe(item).selected)
            items_.select(PickerSelect::None, -1);
        items_.select(ctrl ? PickerSelect::Toggle : PickerSelect::Select, item);
        anchor_ = at;
    }
    items_.selectionEnded();
    pressedItem_ = item;
    pressedAt_ = at;
    return {Press::Item, item, items_.picked(item, doubleClick)};
}

PickerMouse::Moved PickerMouse::move(Point at)
{
    if (banding_) {
        updateBand(at);
        return Moved::Band;
    }
    if (pressedItem_ < 0 || std::abs(at.x - pressedAt_.x) + std::abs(at.y - pressedAt_.y) <= dragMinDistance_)
        return Moved::Nothing;
    items_.select(PickerSelect::Select, pressedItem_);
    pressedItem_ = -1;
    return Moved::StartDrag;
}

void PickerMouse::release()
{
    if (banding_)
        items_.selectionEnded();
    banding_ = false;
    pressedItem_ = -1;
}

std::optional<Rect> PickerMouse::band() const
{
    if (!banding_)
        return std::nullopt;
    return spanning(anchor_, bandEnd_);
}

void PickerMouse::updateBand(Point to)
{
    bandEnd_ = to;
    std::vector<bool> now(inBand_.size(), false);
    for (int i : itemsIn(anchor_, to))
        if (i < int(now.size()))
            now[size_t(i)] = true;
    for (size_t i = 0; i < now.size(); ++i) {
        if (now[i] == inBand_[i])
            continue;
        const PickerSelect op = toggling_ ? PickerSelect::Toggle : now[i] ? PickerSelect::Select : PickerSelect::Deselect;
        items_.select(op, int(i));
    }
    inBand_ = std::move(now);
}

std::vector<int> PickerMouse::itemsIn(Point from, Point to) const
{
    std::vector<int> items;
    for (int k : grid_.entriesMeeting(spanning(from, to)))
        if (k >= linkCount_)
            items.push_back(k - linkCount_);
    return items;
}

} // namespace celvane
