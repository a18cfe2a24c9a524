#pragma once
// The picker window's mouse: a click on an item selects it (Ctrl toggles, Shift extends from the
// last click), a press on nothing starts a rubber band that selects (Ctrl: toggles) the items
// whose cells it meets, and a press on an item that moves far enough starts dragging the
// selection out. Entries 0 .. linkCount - 1 are folder links; the window follows those itself.

#include <optional>
#include <vector>

#include "gfx/Rect.h"
#include "view/ViewLayout.h"

namespace celvane {

class PickerGrid;
class PickerItems;

class PickerMouse {
public:
    struct Press {
        enum What { Nothing, Link, Item } what = Nothing;
        int index = -1; // the link or the item
        bool closesPicker = false;
    };
    enum class Moved { Nothing, Band, StartDrag };

    PickerMouse(const PickerGrid& grid, PickerItems& items, int dragMinDistance)
        : grid_(grid), items_(items), dragMinDistance_(dragMinDistance)
    {
    }

    Press press(Point at, bool shift, bool ctrl, bool doubleClick, int linkCount);
    Moved move(Point at);
    void release();
    // The rubber band being dragged, in client coordinates.
    std::optional<Rect> band() const;

private:
    void updateBand(Point to);
    std::vector<int> itemsIn(Point from, Point to) const;

    const PickerGrid& grid_;
    PickerItems& items_;
    int dragMinDistance_;
    int linkCount_ = 0;
    Point anchor_{kNoValue, kNoValue};
    int pressedItem_ = -1;
    Point pressedAt_;
    bool banding_ = false;
    bool toggling_ = false;
    Point bandEnd_;
    std::vector<bool> inBand_;
};

} // namespace celvane
