#include "app/CColourPalette.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "view/tools/ViewTools.h"
#include "platform/ContrastMark.h"
#include "view/CCelvaneView.h"

namespace celvane {

namespace {
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
QColor qColourOf(uint32_t rgbValue) { return QColor(redOf(rgbValue), greenOf(rgbValue), blueOf(rgbValue)); }
constexpr int kWellSquares = 2;
const QString kPaperAction = "Choose as paper colour";
} // namespace

// Paints what the bar says and hands it the clicks.
class CColourPalette::Surface : public QWidget {
public:
    explicit Surface(CColourPalette& bar) : QWidget(&bar), bar_(bar)
    {
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    }
    QSize sizeHint() const override { return QSize(bar_.layout_.width(), bar_.layout_.height()); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        bar_.paint(p);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        bar_.press(at.x(), at.y(), event->button());
    }

private:
    CColourPalette& bar_;
};

CColourPalette::CColourPalette(QWidget* parent) : QToolBar("Palette", parent), surface_(new Surface(*this))
{
    setObjectName("Palette");
    describeEntries(*surface_, windowTitle(), *this);
    addWidget(surface_);
    // The cells grow with the window the bar lies along.
    if (parent)
        parent->installEventFilter(this);
    const auto relayout = [this] {
        syncLayout();
        surface_->update();
    };
    connect(this, &QToolBar::orientationChanged, this, relayout);
    connect(this, &QToolBar::topLevelChanged, this, relayout);
    syncLayout();
}

CColourPalette::~CColourPalette() = default;

QWidget* CColourPalette::surface() const { return surface_; }

Film* CColourPalette::film() const
{
    Film* f = document() ? document()->film() : nullptr;
    return f && f->palette() ? f : nullptr;
}

void CColourPalette::setActiveView(CCelvaneView* view)
{
    follower_.follow(view, [this] { setActiveView(nullptr); });
    if (editor_)
        editor_->setDocument(document());
    syncLayout();
    surface_->update();
}

int CColourPalette::accessibleCount() const
{
    const Film* f = film();
    return f ? kWellSquares + std::min(layout_.cellCount(), f->palette()->count()) : 0;
}

AccessibleEntries::Entry CColourPalette::accessibleEntry(int entry) const
{
    if (entry == 0)
        return {"Pencil colour", toQRect(layout_.paintingSquare()), QAccessible::PushButton};
    if (entry == 1)
        return {"Paper colour", toQRect(layout_.paperSquare()), QAccessible::PushButton};
    const int cell = entry - kWellSquares;
    const Film* f = film();
    return {QString("Colour %1").arg(cell), toQRect(layout_.cellRect(cell)), QAccessible::ListItem,
            f && cellOfColourWord(*f->palette(), f->ink(), f->bitsPerPixel()) == cell};
}

QStringList CColourPalette::accessibleActions(int entry) const
{
    QStringList actions = AccessibleEntries::accessibleActions(entry);
    if (entry >= kWellSquares)
        actions << kPaperAction;
    return actions;
}

void CColourPalette::doAccessibleAction(int entry, const QString& action)
{
    if (entry < kWellSquares)
        openEditor(entry == 0 ? PaintingColour::Pencil : PaintingColour::Paper);
    else
        chooseCell(entry - kWellSquares, action == kPaperAction ? PaintingColour::Paper : PaintingColour::Pencil);
}

void CColourPalette::syncLayout()
{
    layout_.setAlternate(orientation() == Qt::Horizontal);
    if (const Film* f = film())
        layout_.setDepth(f->bitsPerPixel(), roomAlong());
    // Never wider than the window allows, and never holding the window open when it shrinks:
    // the bar gives way down to its smallest size until the cells catch up.
    const bool alternate = layout_.alternate();
    surface_->setMinimumSize(alternate ? PaletteBarLayout::kAlong : PaletteBarLayout::kAcross,
                             alternate ? PaletteBarLayout::kAcross : PaletteBarLayout::kAlong);
    surface_->updateGeometry();
}

int CColourPalette::roomAlong() const
{
    // The bar's handle and borders take this much of the window's edge.
    constexpr int kBarFrame = 24;
    const auto* window = qobject_cast<const QMainWindow*>(parentWidget());
    if (!window || isFloating())
        return PaletteBarLayout::kAlong;
    if (orientation() == Qt::Horizontal)
        return window->width() - kBarFrame;
    const QWidget* middle = window->centralWidget();
    return (middle ? middle->height() : window->height()) - kBarFrame;
}

bool CColourPalette::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        const QSize before(layout_.width(), layout_.height());
        syncLayout();
        if (before != QSize(layout_.width(), layout_.height()))
            surface_->update();
    }
    return QToolBar::eventFilter(watched, event);
}

bool CColourPalette::chooseCell(int index, PaintingColour which)
{
    Film* f = film();
    if (!f)
        return false;
    const std::optional<uint32_t> word = colourWordOfCell(*f->palette(), index, f->bitsPerPixel());
    if (!word)
        return false;
    GraphicSummary summary;
    f->getSummary(summary);
    uint32_t& target = which == PaintingColour::Pencil ? summary.ink : summary.paper;
    if (target == *word)
        return false;
    target = *word;
    ViewTools::changeSettings(*document(), "Colour", [&] { f->setSummary(summary); });
    document()->updateAllViews(this, which == PaintingColour::Pencil ? Hint::SetPaintingColour1
                                                                   : Hint::SetPaintingColour0);
    surface_->update();
    if (editor_)
        editor_->refresh();
    return true;
}

void CColourPalette::openEditor(PaintingColour which)
{
    if (!editor_) {
        editor_ = new ColourEditor(this, this);
        connect(editor_, &ColourEditor::edited, surface_, qOverload<>(&QWidget::update));
    }
    editor_->setDocument(document());
    editor_->setEditing(which);
    editor_->show();
    editor_->raise();
}

void CColourPalette::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*)
{
    if (!(hint & (Hint::RepaintAll | Hint::PaletteRepaint | Hint::PaintingColour | Hint::PaperColour)))
        return;
    // A repaint of everything may come with a film of another depth.
    if (hint & Hint::RepaintAll)
        syncLayout();
    surface_->update();
    if (editor_)
        editor_->refresh();
}

void CColourPalette::press(int x, int y, Qt::MouseButton button)
{
    switch (layout_.wellSquareAt(x, y)) {
    case PaletteBarLayout::WellSquare::Painting: openEditor(PaintingColour::Pencil); return;
    case PaletteBarLayout::WellSquare::Paper: openEditor(PaintingColour::Paper); return;
    case PaletteBarLayout::WellSquare::None: break;
    }
    const int index = layout_.indexAt(x, y);
    if (index < 0)
        return;
    if (button == Qt::LeftButton)
        chooseCell(index, PaintingColour::Pencil);
    else if (button == Qt::RightButton)
        chooseCell(index, PaintingColour::Paper);
}

void CColourPalette::paint(QPainter& p)
{
    p.fillRect(surface_->rect(), surface_->palette().color(QPalette::Button));
    const Film* f = film();
    if (!f)
        return;
    paintCells(p, *f);
    paintMarks(p, *f);
    paintWell(p, *f);
}

void CColourPalette::paintCells(QPainter& p, const Film& film)
{
    const Palette& palette = *film.palette();
    const Rect area = layout_.cellArea();
    if (picture_.image.isNull() || picture_.stamp != palette.changeStamp() || picture_.cells != layout_.cellCount()
        || picture_.alternate != layout_.alternate() || picture_.image.size() != QSize(area.width(), area.height())) {
        picture_.image = QImage(area.width(), area.height(), QImage::Format_RGB32);
        // Black between the cells: each cell leaves its top and left line to the one before.
        picture_.image.fill(Qt::black);
        QPainter cells(&picture_.image);
        const QColor empty = surface_->palette().color(QPalette::Button);
        for (int i = 0; i < layout_.cellCount(); ++i) {
            const QRect r = toQRect(layout_.cellRect(i).translated(-area.left, -area.top)).adjusted(1, 1, 0, 0);
            cells.fillRect(r, i < palette.count() ? qColourOf(palette.colourOfIndex(i) & 0xFFFFFF) : empty);
        }
        picture_.stamp = palette.changeStamp();
        picture_.cells = layout_.cellCount();
        picture_.alternate = layout_.alternate();
    }
    p.drawImage(area.left, area.top, picture_.image);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(toQRect(area)); // the last column and row get their far edge
}

void CColourPalette::paintMarks(QPainter& p, const Film& film)
{
    const Palette& palette = *film.palette();
    const auto markColour = [&](int index) { return qColourOf(contrastForBackground(palette.colourOfIndex(index) & 0xFFFFFF)); };
    // The pencil's cell gets a dot, the paper's an inner frame, so one cell can show both.
    if (const int ink = cellOfColourWord(palette, film.ink(), film.bitsPerPixel()); ink >= 0) {
        const QRect cell = toQRect(layout_.cellRect(ink)).adjusted(1, 1, 0, 0);
        const int side = std::max(2, std::min(cell.width(), cell.height()) / 3);
        p.fillRect(QRect(cell.center().x() - side / 2 + 1, cell.center().y() - side / 2 + 1, side, side), markColour(ink));
    }
    if (const int paper = cellOfColourWord(palette, film.paper(), film.bitsPerPixel()); paper >= 0) {
        const QRect cell = toQRect(layout_.cellRect(paper)).adjusted(1, 1, 0, 0);
        p.setPen(markColour(paper));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell.adjusted(1, 1, -2, -2));
    }
}

void CColourPalette::paintWell(QPainter& p, const Film& film)
{
    const Palette& palette = *film.palette();
    p.setPen(Qt::black);
    const auto square = [&](const Rect& r, uint32_t word) {
        p.setBrush(qColourOf(rgbOfColourWord(palette, word, film.bitsPerPixel())));
        p.drawRect(toQRect(r).adjusted(0, 0, -1, -1));
    };
    square(layout_.paperSquare(), film.paper());
    square(layout_.paintingSquare(), film.ink());
}

} // namespace celvane
