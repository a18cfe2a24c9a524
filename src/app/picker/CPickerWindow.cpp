#include "app/picker/CPickerWindow.h"

#include <QAbstractScrollArea>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QUrl>

#include "app/ScreenRoom.h"
#include "app/picker/FittedStamp.h"
#include "app/picker/PickerItems.h"
#include "base/Settings.h"
#include "gfx/PlotRequest.h"

namespace celvane {

namespace {
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
Point toPoint(QPoint p) { return {p.x(), p.y()}; }

QFont pickerFont()
{
    const Settings& s = Settings::instance();
    QFont font(QString::fromStdString(s.getString("Settings", "PickerFontName", "Arial")));
    font.setPointSize(s.getInt("Settings", "PickerFontHeight", 10, 4, 72));
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

// The scrolling area that shows the entries and hands its events to the window.
class PickerCanvas : public QAbstractScrollArea {
public:
    explicit PickerCanvas(CPickerWindow& window) : QAbstractScrollArea(&window), window_(window)
    {
        setObjectName("pickerEntries");
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        viewport()->setAcceptDrops(true);
        viewport()->setBackgroundRole(QPalette::Base);
        viewport()->setAutoFillBackground(true);
        verticalScrollBar()->setSingleStep(PickerGrid::kLineStep);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
            window_.grid_.scrollTo(value);
            viewport()->update();
        });
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(viewport());
        window_.paintEntries(painter, event->rect());
    }
    void resizeEvent(QResizeEvent*) override { window_.layoutEntries(viewport()->size()); }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            window_.pressed(e->position().toPoint(), e->modifiers(), false);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            window_.pressed(e->position().toPoint(), e->modifiers(), true);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (e->buttons() & Qt::LeftButton)
            window_.moved(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            window_.released();
    }
    void dragEnterEvent(QDragEnterEvent* e) override
    {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override
    {
        if (e->mimeData()->hasUrls())
            e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override
    {
        std::vector<std::string> paths;
        for (const QUrl& url : e->mimeData()->urls())
            if (url.isLocalFile())
                paths.push_back(url.toLocalFile().toStdString());
        e->acceptProposedAction();
        if (!paths.empty()) {
            window_.items_.dropFiles(paths);
            window_.refresh();
        }
    }

private:
    CPickerWindow& window_;
};

CPickerWindow::CPickerWindow(PickerItems& items, const QString& title, QSize firstSize, QWidget* parent)
    : QMainWindow(parent, Qt::Tool), items_(items), folders_(items),
      mouse_(grid_, items, Settings::instance().dragMinDistance()), canvas_(new PickerCanvas(*this)),
      firstSize_(firstSize), placing_(new WindowPlacing(*this))
{
    setWindowTitle(title);
    setFont(pickerFont());
    setCentralWidget(canvas_);
    describeEntries(*canvas_->viewport(), title, *this);
}

CPickerWindow::~CPickerWindow() = default;

QWidget* CPickerWindow::entriesWidget() const { return canvas_->viewport(); }

bool CPickerWindow::start(const std::string& folder)
{
    const bool opened = folders_.start(folder);
    refresh();
    return opened;
}

void CPickerWindow::setLarge(bool large)
{
    large_ = large;
    refresh();
}

void CPickerWindow::refresh()
{
    layoutEntries(canvas_->viewport()->size());
    canvas_->viewport()->update();
}

void CPickerWindow::showPicker()
{
    if (!isVisible()) {
        if (!shown_) {
            shown_ = true;
            resize(firstSize_);
            // A window is laid out only when shown: unseen first, to learn what its bars take
            // and whether its entries, laid out again at the new height, still need the scroll bar.
            setAttribute(Qt::WA_DontShowOnScreen);
            show();
            for (int round = 0; round < 3; ++round) {
                // As tall as what it holds, but never past the bottom of the screen.
                const int more = std::min(grid_.contentHeight() - canvas_->viewport()->height(), roomBelow(*this));
                const int height = std::max(this->height() + more, minimumSizeHint().height());
                if (height == this->height())
                    break;
                resize(width(), height);
            }
            hide();
            setAttribute(Qt::WA_DontShowOnScreen, false);
        }
        placing_->show(placed(*this, [](const WindowPlace& place, QSize frame) { return place.picker(frame); }));
    }
    raise();
}

void CPickerWindow::layoutEntries(QSize room)
{
    const QFontMetrics metrics(font());
    const int linkIcon = large_ ? 32 : 16;
    std::vector<PickerEntrySize> sizes;
    for (const PickerLink& link : folders_.links())
        sizes.push_back({linkIcon, linkIcon, metrics.horizontalAdvance(QString::fromStdString(link.name)),
                         metrics.height(), large_});
    for (int i = 0; i < items_.itemCount(); ++i) {
        const PickerLook look = items_.describe(i);
        sizes.push_back({look.iconWidth, look.iconHeight,
                         metrics.horizontalAdvance(QString::fromStdString(look.name)), metrics.height(),
                         look.large});
    }
    const int columns = grid_.columns();
    grid_.layout(sizes, room.width(), room.height());
    QScrollBar* bar = canvas_->verticalScrollBar();
    bar->setRange(0, grid_.scrollMax());
    bar->setPageStep(room.height());
    bar->setValue(grid_.scroll());
    if (columns != grid_.columns())
        canvas_->viewport()->update();
}

void CPickerWindow::paintEntries(QPainter& painter, const QRect& exposed)
{
    const QPalette& colours = canvas_->viewport()->palette();
    const int links = int(folders_.links().size());
    for (int k = 0; k < grid_.entryCount(); ++k) {
        if (!toQRect(grid_.cell(k)).intersects(exposed))
            continue;
        const PickerEntryRects r = grid_.rects(k);
        const QRect icon = toQRect(r.icon);
        painter.fillRect(icon, colours.base());
        std::string name;
        bool selected = false;
        if (k < links) {
            paintLinkIcon(painter, folders_.links()[size_t(k)], icon);
            name = folders_.links()[size_t(k)].name;
        } else {
            const PickerLook look = items_.describe(k - links);
            painter.save();
            painter.setClipRect(icon);
            items_.paintIcon(k - links, painter, icon);
            painter.restore();
            name = look.name;
            selected = look.selected;
        }
        const QRect nameRect = toQRect(r.name);
        painter.fillRect(nameRect, selected ? colours.text() : colours.base());
        painter.setPen(selected ? colours.base().color() : colours.text().color());
        painter.drawText(nameRect, Qt::AlignCenter, QString::fromStdString(name));
    }
    if (const auto band = mouse_.band()) {
        QStyleOptionFocusRect option;
        option.initFrom(canvas_->viewport());
        option.rect = toQRect(*band);
        canvas_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, canvas_->viewport());
    }
}

void CPickerWindow::paintLinkIcon(QPainter& painter, const PickerLink& link, const QRect& icon) const
{
    if (link.icon >= 0 && folders_.icons()) {
        paintFittedStamp(*folders_.icons(), link.icon, kPlotMasked, painter, icon);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(icon).adjusted(1, 1, -1, -1);
    const double w = r.width(), h = r.height();
    // A folder: a tab and a body, in the yellow of a paper folder.
    QPainterPath folder;
    folder.moveTo(r.left(), r.top() + h * 0.2);
    folder.lineTo(r.left() + w * 0.4, r.top() + h * 0.2);
    folder.lineTo(r.left() + w * 0.5, r.top() + h * 0.32);
    folder.lineTo(r.right(), r.top() + h * 0.32);
    folder.lineTo(r.right(), r.bottom() - h * 0.08);
    folder.lineTo(r.left(), r.bottom() - h * 0.08);
    folder.closeSubpath();
    painter.setPen(QPen(QColor(150, 110, 20), 1));
    painter.setBrush(QColor(245, 200, 80));
    painter.drawPath(folder);
    if (link.kind == PickerLink::Back) {
        // An arrow pointing back, out of the folder.
        QPainterPath arrow;
        const double y = r.top() + h * 0.62;
        arrow.moveTo(r.left() + w * 0.15, y);
        arrow.lineTo(r.left() + w * 0.45, y - h * 0.25);
        arrow.lineTo(r.left() + w * 0.45, y - h * 0.1);
        arrow.lineTo(r.left() + w * 0.85, y - h * 0.1);
        arrow.lineTo(r.left() + w * 0.85, y + h * 0.1);
        arrow.lineTo(r.left() + w * 0.45, y + h * 0.1);
        arrow.lineTo(r.left() + w * 0.45, y + h * 0.25);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 110, 200));
        painter.drawPath(arrow);
    }
    painter.restore();
}

int CPickerWindow::accessibleCount() const { return grid_.entryCount(); }

AccessibleEntries::Entry CPickerWindow::accessibleEntry(int entry) const
{
    const PickerEntryRects r = grid_.rects(entry);
    const int links = int(folders_.links().size());
    const QRect place = toQRect(r.icon).united(toQRect(r.name));
    if (entry < links)
        return {QString::fromStdString(folders_.links()[size_t(entry)].name), place};
    const PickerLook look = items_.describe(entry - links);
    return {QString::fromStdString(look.name), place, QAccessible::ListItem, look.selected};
}

void CPickerWindow::doAccessibleAction(int entry, const QString&)
{
    pressed(toQRect(grid_.rects(entry).icon).center(), Qt::NoModifier, false);
    released();
}

void CPickerWindow::pressed(QPoint at, Qt::KeyboardModifiers keys, bool doubleClick)
{
    const auto press = mouse_.press(toPoint(at), keys & Qt::ShiftModifier, keys & Qt::ControlModifier, doubleClick,
                                    int(folders_.links().size()));
    if (press.what == PickerMouse::Press::Link) {
        folders_.follow(press.index);
        grid_.scrollTo(0);
    }
    closeOnRelease_ = press.closesPicker;
    refresh();
}

void CPickerWindow::moved(QPoint at)
{
    const auto moved = mouse_.move(toPoint(at));
    if (moved == PickerMouse::Moved::Band) {
        canvas_->viewport()->update();
    } else if (moved == PickerMouse::Moved::StartDrag) {
        refresh();
        if (QMimeData* data = items_.dragData()) {
            auto* drag = new QDrag(canvas_);
            drag->setMimeData(data);
            if (const QPixmap picture = items_.dragPicture(); !picture.isNull()) {
                drag->setPixmap(picture);
                drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
            }
            drag->exec(Qt::CopyAction);
        }
        released();
    }
}

void CPickerWindow::released()
{
    mouse_.release();
    canvas_->viewport()->update();
    if (closeOnRelease_ && isVisible()) {
        closeOnRelease_ = false;
        hide();
        if (parentWidget())
            parentWidget()->activateWindow();
    }
    closeOnRelease_ = false;
}

} // namespace celvane
