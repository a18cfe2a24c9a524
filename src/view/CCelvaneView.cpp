#include "view/CCelvaneView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "film/GraphicList.h"
#include "film/Merge.h"
#include "gfx/Sprite.h"
#include "platform/FrameClipboard.h"
#include "platform/Settings.h"
#include "platform/SpriteImage.h"
#include "base/CommandIds.h"

namespace celvane {

namespace {
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
Rect toRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QColor colourOfWord(uint32_t word) { return QColor(int((word >> 8) & 0xFF), int((word >> 16) & 0xFF), int(word >> 24)); }
} // namespace

CCelvaneView::CCelvaneView(CCelvaneDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    const Settings& settings = Settings::instance();
    grid_ = GridSettings::load(settings);
    layout_.setScale(ViewLayout::clampScale(settings.getInt("Default", "Scale", 100)));
    syncFrameSize();
    document_.addView(this);
    document_.updateAllViews(this, Hint::NewView);
}

CCelvaneView::~CCelvaneView() { document_.removeView(this); }

void CCelvaneView::syncFrameSize()
{
    if (Film* f = film()) {
        ImageInfo info;
        f->getFrameDescription(-1, info);
        layout_.setFrameSize(info.width, info.height, info.deviceWidth, info.deviceHeight);
        currentFrame_ = std::clamp(currentFrame_, 0, f->frameCount() - 1);
    }
    syncScrollBars();
}

void CCelvaneView::syncScrollBars()
{
    syncingScroll_ = true;
    layout_.setClientSize(viewport()->width(), viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, layout_.scaledWidth() - layout_.clientWidth()));
    verticalScrollBar()->setRange(0, std::max(0, layout_.scaledHeight() - layout_.clientHeight()));
    horizontalScrollBar()->setPageStep(layout_.clientWidth());
    verticalScrollBar()->setPageStep(layout_.clientHeight());
    horizontalScrollBar()->setValue(layout_.scrollX());
    verticalScrollBar()->setValue(layout_.scrollY());
    syncingScroll_ = false;
}

void CCelvaneView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    syncScrollBars();
}

void CCelvaneView::scrollContentsBy(int, int)
{
    if (syncingScroll_)
        return;
    layout_.setScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->update();
}

void CCelvaneView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    emit activated(this);
}

QSize CCelvaneView::neededClientSize() const { return QSize(layout_.neededWidth(), layout_.neededHeight()); }

void CCelvaneView::setScale(int scale, std::optional<Point> centre)
{
    if (!layout_.setScale(scale, centre))
        return;
    syncScrollBars();
    viewport()->update();
    emit scaleChanged(layout_.scale());
}

std::optional<Point> CCelvaneView::zoomCentre() const
{
    const QPoint mouse = viewport()->mapFromGlobal(QCursor::pos());
    if (!viewport()->rect().contains(mouse))
        return std::nullopt;
    return layout_.clientToFrame({mouse.x(), mouse.y()}, true);
}

void CCelvaneView::zoomIn()
{
    const auto centre = zoomCentre();
    setScale(ViewLayout::zoomIn(layout_.scale()), centre);
}

void CCelvaneView::zoomOut()
{
    const auto centre = zoomCentre();
    setScale(ViewLayout::zoomOut(layout_.scale()), centre);
}

void CCelvaneView::setDrawingTool(bool on)
{
    if (on == drawingTool_)
        return;
    drawingTool_ = on;
    viewport()->update();
}

void CCelvaneView::goToFrame(int frame)
{
    Film* f = film();
    if (!f)
        return;
    frame = std::clamp(frame, 0, f->frameCount() - 1);
    try {
        f->makeCurrent(frame);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
    currentFrame_ = frame;
    viewport()->update();
    document_.updateAllViews(this, Hint::FrameChanged);
}

void CCelvaneView::repaintFrameRect(const Rect& frame)
{
    const Rect client = layout_.frameToClient(frame);
    viewport()->update(toQRect({client.left - 4, client.top - 4, client.right + 4, client.bottom + 4}));
}

void CCelvaneView::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord* change)
{
    if (hint & (Hint::RepaintAll | Hint::CurrentFrame | Hint::FrameRect)) {
        if (hint == Hint::FramesReplaced || (hint & Hint::RepaintAll))
            syncFrameSize();
        viewport()->update();
    } else if ((hint & (Hint::PaletteRepaint | Hint::PaperColour)) && !drawingTool_) {
        viewport()->update();
    }
    if ((hint & Hint::RepaintRect) && change)
        repaintFrameRect(change->rect);
    if (hint & Hint::SettingsChanged)
        viewport()->update();
}

void CCelvaneView::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const Rect frame = layout_.frameRect();
    const QRect frameQ = toQRect(frame);
    Film* f = film();

    // The surround: button face with an outline and a drop shadow while drawing; the paper
    // colour otherwise, so the frame has no visible edge.
    const QColor surround = drawingTool_ ? palette().color(QPalette::Button) : (f ? colourOfWord(f->paper()) : Qt::white);
    QRegion outside(viewport()->rect());
    outside -= frameQ;
    for (const QRect& r : outside)
        p.fillRect(r, surround);
    if (drawingTool_) {
        const QColor edge = palette().color(QPalette::ButtonText);
        p.setPen(edge);
        p.drawRect(frameQ.adjusted(-1, -1, 0, 0));
        p.fillRect(QRect(frameQ.left() + 4, frameQ.bottom() + 2, frameQ.width(), 4), edge);
        p.fillRect(QRect(frameQ.right() + 2, frameQ.top() + 4, 4, frameQ.height() - 2), edge);
    }
    if (!f)
        return;

    // Only the frame pixels under the repainted area are converted and stretched.
    const Rect dirty = toRect(event->rect()).intersected(frame);
    if (!dirty.isEmpty()) {
        try {
            const Sprite* image = f->workingImage(currentFrame_);
            const Point a = layout_.clientToFrame({dirty.left, dirty.top}, false);
            const Point b = layout_.clientToFrame({dirty.right - 1, dirty.bottom - 1}, false);
            const Rect pixels{std::max(a.x, 0), std::max(a.y, 0), std::min(b.x + 1, image->width()),
                              std::min(b.y + 1, image->height())};
            const QImage part = spriteToImage(*image, pixels);
            if (!part.isNull()) {
                const Rect target = layout_.frameToClient(pixels);
                const Point end = layout_.frameToClient({pixels.right, pixels.bottom}, false);
                p.drawImage(QRect(target.left, target.top, end.x - target.left, end.y - target.top), part);
            }
        } catch (const std::exception& e) {
            p.fillRect(frameQ, Qt::white);
            Reporter::reportException(e, true);
        }
    }

    // The grid and the rubber band invert what is under them.
    if (drawingTool_ && grid_.show) {
        QImage marks(event->rect().size(), QImage::Format_ARGB32_Premultiplied);
        marks.fill(Qt::transparent);
        const QPoint origin = event->rect().topLeft();
        const uint32_t white = 0xFFFFFFFFu;
        grid_.forEachMark(frame, f->width(), f->height(), toRect(event->rect()),
                          [&](int x, int y) {
                              auto* px = reinterpret_cast<uint32_t*>(marks.scanLine(y - origin.y())) + (x - origin.x());
                              *px ^= white; // an even number of visits leaves nothing
                          });
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(origin, marks);
    }
}

void CCelvaneView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        document_.updateAllViews(nullptr, Hint::MousePressed);
    QAbstractScrollArea::keyPressEvent(event);
}

void CCelvaneView::changeFrames(uint32_t hint, const std::function<int()>& change)
{
    int frame = currentFrame_;
    try {
        frame = change();
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
    currentFrame_ = -1; // whatever was current may have moved
    document_.updateAllViews(this, hint);
    goToFrame(frame);
}

void CCelvaneView::copyFrames()
{
    Film& f = *film();
    const Bytes stamps = FrameEditing::copyAsStamps(*document_.graphics(), currentFrame_);
    FrameClipboard::put(stamps, *f.workingImage(document_.graphics()->firstSelectedOrZero()));
    document_.updateAllViews(nullptr, Hint::FrameMarks);
}

void CCelvaneView::pasteFrames()
{
    const auto contents = FrameClipboard::take();
    if (!contents)
        return;
    changeFrames(Hint::FramesReplaced, [&] {
        GraphicList pasted;
        pasted.load(contents->fileType, contents->data);
        return mergeFrames(*document_.graphics(), currentFrame_, pasted, ImageInfo{});
    });
}

bool CCelvaneView::frameCommand(int id)
{
    Film* f = film();
    if (!f)
        return false;
    const int k = currentFrame_;
    switch (id) {
    case ID_FRAME_NEW:
    case ID_FRAME_DUPLICATE:
        changeFrames(Hint::FramesReplaced, [&] { return FrameEditing::insertAfter(*f, k, id == ID_FRAME_DUPLICATE); });
        return true;
    case ID_FRAME_DELETE: {
        const int question = FrameEditing::anyMarked(*f) ? IDS_DELETE_SELECTED_FRAMES : IDS_DELETE_CURRENT_FRAME;
        if (Reporter::message(question, MessageButtons::OkCancel, MessageIcon::Warning) == MessageAnswer::Ok)
            changeFrames(Hint::FramesReplaced, [&] { return FrameEditing::deleteSelection(*f, k); });
        return true;
    }
    case ID_EDIT_COPY:
        copyFrames();
        return true;
    case ID_EDIT_CUT:
        copyFrames();
        changeFrames(Hint::FramesReplaced, [&] { return FrameEditing::deleteSelection(*f, k); });
        return true;
    case ID_EDIT_PASTE: pasteFrames(); return true;
    case ID_FRAME_MARK: FrameEditing::mark(*f, k); break;
    case ID_SELECT_ALL: FrameEditing::selectAll(*f); break;
    case ID_CLEAR_SELECTION: FrameEditing::clearSelection(*f); break;
    default: return false;
    }
    document_.updateAllViews(nullptr, Hint::FrameMarks);
    return true;
}

bool CCelvaneView::frameCommandState(int id, CommandState& state)
{
    Film* f = film();
    switch (id) {
    case ID_FRAME_NEW:
    case ID_FRAME_DUPLICATE:
    case ID_FRAME_DELETE:
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
    case ID_FRAME_MARK: state.enabled = f != nullptr; return true;
    case ID_EDIT_PASTE: state.enabled = f && FrameClipboard::canPaste(); return true;
    case ID_SELECT_ALL: state.enabled = f && !FrameEditing::allMarked(*f); return true;
    case ID_CLEAR_SELECTION: state.enabled = f && FrameEditing::anyMarked(*f); return true;
    }
    return false;
}

bool CCelvaneView::onCommand(int id)
{
    if (frameCommand(id))
        return true;
    switch (id) {
    case ID_ZOOM_IN: zoomIn(); return true;
    case ID_ZOOM_OUT: zoomOut(); return true;
    case ID_VIEW_FIT_WINDOW: emit fitWindowRequested(); return true;
    }
    return false;
}

bool CCelvaneView::onUpdate(int id, CommandState& state)
{
    if (frameCommandState(id, state))
        return true;
    switch (id) {
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
    case ID_VIEW_FIT_WINDOW: state.enabled = true; return true;
    }
    return false;
}

} // namespace celvane
