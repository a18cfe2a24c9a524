#include "app/ScreenReader.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <map>
#include <vector>

#include "view/CCelvaneView.h"

namespace celvane {

namespace {

struct Described {
    AccessibleEntries* entries;
    QAccessible::Role role;
};

// Which painted widget shows which entries; a source leaves as it goes, before its widgets do.
std::map<const QObject*, Described>& sources()
{
    static std::map<const QObject*, Described> map;
    return map;
}

AccessibleEntries* sourceOf(const QObject* widget)
{
    const auto it = sources().find(widget);
    return it == sources().end() ? nullptr : it->second.entries;
}

// An element without children of its own, which can be pressed.
class PressableLeaf : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

class EntryInterface : public PressableLeaf {
public:
    EntryInterface(QWidget* widget, int index) : widget_(widget), index_(index) {}

    bool isValid() const override { return source(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_); }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? entry().name : QString(); }
    QRect rect() const override
    {
        const QRect r = entry().rect;
        return widget_ && r.isValid() ? QRect(widget_->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override { return isValid() ? entry().role : QAccessible::NoRole; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const AccessibleEntries::Entry e = entry();
        s.invisible = !widget_ || !widget_->isVisible();
        s.offscreen = s.invisible || !widget_->rect().intersects(e.rect);
        s.disabled = !widget_ || !widget_->isEnabled();
        if (e.role == QAccessible::ListItem) {
            s.selectable = true;
            s.selected = e.selected;
        }
        return s;
    }

    QStringList actionNames() const override { return source() ? source()->accessibleActions(index_) : QStringList(); }
    void doAction(const QString& action) override
    {
        if (actionNames().contains(action))
            source()->doAccessibleAction(index_, action);
    }

private:
    // Null once the entry or its widget is gone.
    AccessibleEntries* source() const
    {
        AccessibleEntries* entries = sourceOf(widget_);
        return entries && index_ < entries->accessibleCount() ? entries : nullptr;
    }
    AccessibleEntries::Entry entry() const { return source() ? source()->accessibleEntry(index_) : AccessibleEntries::Entry{}; }

    QPointer<QWidget> widget_;
    int index_;
};

// The painted widget: a list whose children are its entries, made as they are asked for and
// kept while the widget lives.
class EntriesInterface : public QAccessibleWidget {
public:
    EntriesInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    ~EntriesInterface() override
    {
        for (QAccessible::Id id : ids_)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        const AccessibleEntries* source = sourceOf(widget());
        return source ? source->accessibleCount() : 0;
    }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (size_t(index) >= ids_.size())
            ids_.resize(size_t(index) + 1, 0);
        if (!ids_[size_t(index)])
            ids_[size_t(index)] = QAccessible::registerAccessibleInterface(new EntryInterface(widget(), index));
        return QAccessible::accessibleInterface(ids_[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto it = std::find(ids_.begin(), ids_.end(), child ? QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) : 0);
        return child && it != ids_.end() ? int(it - ids_.begin()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i); c->rect().contains(x, y))
                return c;
        return nullptr;
    }

private:
    mutable std::vector<QAccessible::Id> ids_;
};

// A menu item whose action's text ends in a tab and its keys, as the menu shows them: named by
// the words before the tab, as every other menu item is.
class KeyedMenuItem : public PressableLeaf {
public:
    explicit KeyedMenuItem(QAction* action) : action_(action) {}

    bool isValid() const override { return owner(); }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return owner() ? owner()->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner()); }
    QString text(QAccessible::Text t) const override
    {
        if (!action_)
            return {};
        switch (t) {
        case QAccessible::Name: return spokenText(action_->text());
        case QAccessible::Description: return action_->statusTip();
        case QAccessible::Accelerator: return action_->text().section('\t', 1); // every key, as shown
        default: return {};
        }
    }
    QRect rect() const override
    {
        QMenu* menu = owner();
        if (!menu)
            return {};
        const QRect r = menu->actionGeometry(action_);
        return QRect(menu->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        QMenu* menu = owner();
        s.invisible = !menu || !menu->isVisible() || !action_->isVisible();
        s.disabled = !menu || !action_->isEnabled();
        s.checkable = menu && action_->isCheckable();
        s.checked = menu && action_->isChecked();
        s.focused = menu && menu->activeAction() == action_;
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && action_ && action_->isEnabled())
            action_->trigger();
    }

private:
    // The menu showing the action; null once the action is gone.
    QMenu* owner() const
    {
        if (action_)
            for (QObject* o : action_->associatedObjects())
                if (auto* menu = qobject_cast<QMenu*>(o))
                    return menu;
        return nullptr;
    }

    QPointer<QAction> action_;
};

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (const auto it = sources().find(object); it != sources().end())
        return new EntriesInterface(static_cast<QWidget*>(object), it->second.role);
    if (auto* action = qobject_cast<QAction*>(object); action && action->shortcuts().size() > 1)
        return new KeyedMenuItem(action);
    return nullptr;
}

void installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

} // namespace

QString spokenText(const QString& menuText)
{
    QString text = menuText.section('\t', 0, 0);
    for (int i = 0; i < text.size(); ++i)
        if (text[i] == '&')
            text.remove(i, 1); // "&&" leaves one '&', which the next step passes over
    return text;
}

AccessibleEntries::~AccessibleEntries()
{
    for (auto it = sources().begin(); it != sources().end();)
        it = it->second.entries == this ? sources().erase(it) : std::next(it);
}

void describeEntries(QWidget& widget, const QString& name, AccessibleEntries& entries, QAccessible::Role role)
{
    installFactory();
    sources()[&widget] = {&entries, role};
    QObject::connect(&widget, &QObject::destroyed, [&widget] { sources().erase(&widget); });
    widget.setAccessibleName(name);
}

namespace {
// The one entry of a film window: the frame, where it is drawn; it lives with the window.
class FilmFrame : public QObject, public AccessibleEntries {
public:
    explicit FilmFrame(CCelvaneView& view) : QObject(&view), view_(view) {}
    int accessibleCount() const override { return view_.film() ? 1 : 0; }
    Entry accessibleEntry(int) const override
    {
        const Rect r = view_.layout().frameRect();
        return {view_.frameText(), QRect(r.left, r.top, r.width(), r.height()).intersected(view_.viewport()->rect()),
                QAccessible::Graphic};
    }
    QStringList accessibleActions(int) const override { return {}; }
    void doAccessibleAction(int, const QString&) override {}

private:
    CCelvaneView& view_;
};
} // namespace

void describeFilm(CCelvaneView& view)
{
    describeEntries(*view.viewport(), view.accessibleName(), *new FilmFrame(view), QAccessible::Canvas);
}

void nameToolBarOverflows(QWidget& window)
{
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        if (auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button", Qt::FindDirectChildrenOnly))
            more->setAccessibleName("More tools");
}

void nameMenuItemsWithoutKeys() { installFactory(); }

} // namespace celvane
