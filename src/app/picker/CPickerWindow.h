#pragma once
// The floating picker window that the stamp picker and the sound picker share: a scrolling grid
// of the folder's links and the picker's items, with a name under or beside each icon. Clicks,
// bands and drags go to PickerMouse, links to PickerFolders, everything about the items to the
// particular picker (PickerItems). The particular picker adds its menus to the menu bar.

#include <QMainWindow>
#include <memory>

#include "app/picker/PickerFolders.h"
#include "app/picker/PickerGrid.h"
#include "app/picker/PickerMouse.h"
#include "app/ScreenReader.h"
#include "app/ScreenRoom.h"

namespace celvane {

class PickerCanvas;
class PickerItems;

class CPickerWindow : public QMainWindow, private AccessibleEntries {
    Q_OBJECT
public:
    // `firstSize` is the size the window takes when it is first shown.
    CPickerWindow(PickerItems& items, const QString& title, QSize firstSize, QWidget* parent = nullptr);
    ~CPickerWindow() override;

    PickerFolders& folders() { return folders_; }
    const PickerGrid& grid() const { return grid_; }
    // The widget showing the entries (mouse events, drops).
    QWidget* entriesWidget() const;

    // Opens a folder as the first one; false (the picker stays empty) when it has no items.
    bool start(const std::string& folder);
    // Link icons small (beside their names) or large (above them).
    void setLarge(bool large);
    bool large() const { return large_; }
    // The items, their names or their selection changed: lays the entries out again and
    // repaints them.
    void refresh();
    // Shows the window out of the way, or where the user last put it; the first time at its
    // first size, grown or shrunk to fit its content within the screen.
    void showPicker();

private:
    friend class PickerCanvas;
    // Lays the entries out in `room`, the size of the area that shows them.
    void layoutEntries(QSize room);
    void paintEntries(QPainter& painter, const QRect& exposed);
    void paintLinkIcon(QPainter& painter, const PickerLink& link, const QRect& icon) const;
    // Links and items as a screen reader reads them; pressing one clicks it.
    int accessibleCount() const override;
    Entry accessibleEntry(int entry) const override;
    void doAccessibleAction(int entry, const QString& action) override;
    void pressed(QPoint at, Qt::KeyboardModifiers keys, bool doubleClick);
    void moved(QPoint at);
    void released();

    PickerItems& items_;
    PickerFolders folders_;
    PickerGrid grid_;
    PickerMouse mouse_;
    PickerCanvas* canvas_;
    QSize firstSize_;
    WindowPlacing* placing_;
    bool shown_ = false;
    bool large_ = false;
    // A pick that sends the picker away waits for the button to come up (a drag may follow).
    bool closeOnRelease_ = false;
};

} // namespace celvane
