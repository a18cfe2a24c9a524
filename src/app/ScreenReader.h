#pragma once
// What a screen reader is told where Qt cannot tell it by itself: the entries of the widgets we
// paint ourselves (picker entries, palette cells, the film's frame) as elements with names and
// places, most of which can be pressed, and the menu items of commands with several keys, whose
// text carries the keys after a tab.

#include <QAccessible>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace celvane {

class CCelvaneView;

// A menu text as spoken: no mnemonic '&', no keys after a tab.
QString spokenText(const QString& menuText);

// The entries a painted widget shows, as its own code knows them.
class AccessibleEntries {
public:
    struct Entry {
        QString name;
        QRect rect; // in the widget's coordinates
        QAccessible::Role role = QAccessible::ListItem;
        bool selected = false;
    };

    // Screen readers are told no more about the entries once their source is gone.
    virtual ~AccessibleEntries();
    virtual int accessibleCount() const = 0;
    virtual Entry accessibleEntry(int index) const = 0;
    // The first action is what a press does.
    virtual QStringList accessibleActions(int) const { return {QAccessibleActionInterface::pressAction()}; }
    virtual void doAccessibleAction(int index, const QString& action) = 0;
};

// Shows `widget` to screen readers as a list (or another role) called `name` whose children are
// `entries`; call before anything asks about the widget.
void describeEntries(QWidget& widget, const QString& name, AccessibleEntries& entries,
                     QAccessible::Role role = QAccessible::List);

// Shows the film window's drawing area with the frame in it, named as the frame it shows
// ("Frame 3 of 8") and placed where it is drawn.
void describeFilm(CCelvaneView& view);

// Names the button by which each tool bar in `window` offers the tools it has no room for.
void nameToolBarOverflows(QWidget& window);

// From now on, menu items of actions with several keys are named by their text up to the tab.
void nameMenuItemsWithoutKeys();

} // namespace celvane
