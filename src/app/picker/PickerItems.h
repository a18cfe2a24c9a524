#pragma once
// What a particular picker (stamps, sounds) gives the shared picker window: its items, how each
// looks, its selection, what picking and dragging an item does, files dropped on it, and the
// loading of a folder's items. The window owns the grid, the links, scrolling and the mouse.

#include <QPixmap>
#include <string>
#include <vector>

class QMimeData;
class QPainter;
class QRect;

namespace celvane {

struct PickerLook {
    int iconWidth = 0;
    int iconHeight = 0;
    std::string name;
    bool selected = false;
    // Icon above the name; otherwise the icon left of it.
    bool large = true;
};

enum class PickerSelect { Select, Deselect, Toggle, All, None };

// Carries out a selection operation through a picker's own setters: `set(on)` for the item, which
// is selected now or not, and `setAll(on)` for every item.
template <typename Set, typename SetAll>
void applySelect(PickerSelect op, bool selectedNow, Set set, SetAll setAll)
{
    if (op == PickerSelect::All || op == PickerSelect::None)
        setAll(op == PickerSelect::All);
    else
        set(op == PickerSelect::Select || (op == PickerSelect::Toggle && !selectedNow));
}

class PickerItems {
public:
    virtual ~PickerItems() = default;

    virtual int itemCount() const = 0;
    virtual PickerLook describe(int item) const = 0;
    // Draws the item's icon into `icon`, which is already filled with the window's background.
    virtual void paintIcon(int item, QPainter& painter, const QRect& icon) = 0;
    // `item` is used by Select, Deselect and Toggle only. Called many times during one gesture;
    // the picker tells the rest of the program in selectionEnded.
    virtual void select(PickerSelect op, int item) = 0;
    virtual void selectionEnded() {}
    // A press picked the item (it is selected by then). True when the picker window should go.
    virtual bool picked(int item, bool doubleClick) = 0;
    // The selected items for dragging out of the window; null when nothing can be dragged.
    virtual QMimeData* dragData() = 0;
    // What the pointer carries while they are dragged; null for the platform's drag cursor.
    virtual QPixmap dragPicture() { return {}; }
    virtual void dropFiles(const std::vector<std::string>& paths) = 0;
    // Replaces the items with a folder's; false (the user told) when the folder has none, and
    // the items stay.
    virtual bool openFolder(const std::string& folder) = 0;
};

} // namespace celvane
