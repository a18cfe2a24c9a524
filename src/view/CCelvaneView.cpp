#include "view/CCelvaneView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimer>
#include <climits>

#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "film/GraphicList.h"
#include "gfx/Sprite.h"
#include "platform/FrameClipboard.h"
#include "base/Settings.h"
#include "view/ActionSoundHook.h"
#include "view/CGridDialog.h"
#include "view/CZoomDialog.h"
#include "view/FrameSurround.h"
#include "view/tools/ViewTools.h"

namespace celvane {

namespace {
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
Rect toRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
QColor colourOfWord(uint32_t word) { return QColor(int((word >> 8) & 0xFF), int((word >> 16) & 0xFF), int(word >> 24)); }
Rect enlarged(const Rect& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

unsigned keysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    unsigned keys = 0;
    if (buttons & Qt::LeftButton)
        keys |= MouseKeys::LeftButton;
    if (buttons & Qt::RightButton)
        keys |= MouseKeys::RightButton;
    if (buttons & Qt::MiddleButton)
        keys |= MouseKeys::MiddleButton;
    if (modifiers & Qt::ShiftModifier)
        keys |= MouseKeys::Shift;
    if (modifiers & Qt::ControlModifier)
        keys |= MouseKeys::Control;
    return keys;
}

// Commands that change the frames or their marks under a running film.
bool isFrameCommand(int id)
{
    switch (id) {
    case ID_FRAME_NEW:
    case ID_FRAME_DUPLICATE:
    case ID_FRAME_DELETE:
    case ID_FRAME_BLANK:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_FRAME_MARK:
    case ID_SELECT_ALL:
    case ID_CLEAR_SELECTION: return true;
    }
    return false;
}
} // namespace

CCelvaneView::CCelvaneView(CCelvaneDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document),
      zoomToggle_(defaultScale())
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAcceptDrops(true); // files dropped here join this film
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    const Settings& settings = Settings::instance();
    canvas_.grid() = GridSettings::load(settings);
    showOverRuns_ = settings.getFlag("Settings", "ShowOverRun", true);
    layout_.setScale(zoomToggle_.defaultScale());
    syncFrameSize();
    setAccessibleName("Film");
    setAccessibleDescription(frameText());
    refreshSound();
    addFrameCommands();
    addViewCommands();
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
    // A film that fits the whole client area needs no scroll bars, even while the ones shown
    // before still take room.
    const QSize room = maximumViewportSize();
    const bool fits = layout_.scaledWidth() <= room.width() && layout_.scaledHeight() <= room.height();
    const QSize client = fits ? room : viewport()->size();
    layout_.setClientSize(client.width(), client.height());
    horizontalScrollBar()->setRange(0, std::max(0, layout_.scaledWidth() - layout_.clientWidth()));
    verticalScrollBar()->setRange(0, std::max(0, layout_.scaledHeight() - layout_.clientHeight()));
    // An arrow moves a tenth of the view and a page the whole view, at any scale.
    horizontalScrollBar()->setSingleStep(std::max(1, layout_.clientWidth() / 10));
    verticalScrollBar()->setSingleStep(std::max(1, layout_.clientHeight() / 10));
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

bool CCelvaneView::viewportEvent(QEvent* event)
{
    // Scroll bars coming or going resize the client area without resizing the window.
    if (event->type() == QEvent::Resize && !syncingScroll_)
        syncScrollBars();
    return QAbstractScrollArea::viewportEvent(event);
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
    refreshToolState();
    document_.updateAllViews(nullptr, Hint::ActiveViewChanged);
}

int CCelvaneView::defaultScale()
{
    // A number out of range is brought into it rather than ignored: the nearest scale there is.
    return ViewLayout::clampScale(Settings::instance().getInt("Default", "Scale", 100, INT_MIN, INT_MAX));
}

QSize CCelvaneView::neededClientSize() const { return QSize(layout_.neededWidth(), layout_.neededHeight()); }

Point CCelvaneView::clientToFrame(Point client, bool roundAndClamp, bool snap) const
{
    return layout_.clientToFrame(client, roundAndClamp, snap && drawingTool_ ? &canvas_.grid() : nullptr);
}

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

Point CCelvaneView::frameMiddle() const
{
    const Film* f = film();
    return f ? Point{f->width() / 2, f->height() / 2} : Point{};
}

void CCelvaneView::zoomIn()
{
    setScale(ViewLayout::zoomIn(layout_.scale()), zoomCentre());
    ActionSounds::play("Zoom in");
}

void CCelvaneView::zoomOut()
{
    setScale(ViewLayout::zoomOut(layout_.scale()), zoomCentre());
    ActionSounds::play("Zoom out");
}

void CCelvaneView::zoomTo(int scale, std::optional<Point> centre)
{
    const int before = layout_.scale();
    setScale(scale, centre);
    if (layout_.scale() > before)
        ActionSounds::play("Zoom in");
    else if (layout_.scale() < before)
        ActionSounds::play("Zoom out");
}

void CCelvaneView::toggleZoom()
{
    const Point middle = layout_.clientToFrame({layout_.clientWidth() / 2, layout_.clientHeight() / 2}, true);
    if (const auto target = zoomToggle_.toggle(layout_.scale(), middle))
        zoomTo(target->scale, target->centre ? target->centre : frameMiddle());
}

void CCelvaneView::zoomToRect(const Rect& frameRect)
{
    const Point middle{(frameRect.left + frameRect.right) / 2, (frameRect.top + frameRect.bottom) / 2};
    zoomTo(layout_.scaleForRect(layout_.frameToClient(frameRect)), middle);
}

void CCelvaneView::setDrawingTool(bool on)
{
    if (on == drawingTool_)
        return;
    drawingTool_ = on;
    viewport()->update();
}

void CCelvaneView::setToolSink(ToolSink* sink)
{
    toolSink_ = sink;
    refreshToolState();
}

void CCelvaneView::refreshToolState()
{
    if (toolSink_)
        setDrawingTool(toolSink_->drawsOnFrame());
}

QString CCelvaneView::frameText() const
{
    const Film* f = film();
    return f ? QString("Frame %1 of %2").arg(std::max(currentFrame_, 0) + 1).arg(f->frameCount()) : QString();
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
    // This window is told too: its blend and composite follow the frame.
    document_.updateAllViews(nullptr, Hint::FrameChanged);
}

void CCelvaneView::refreshSound()
{
    FrameSoundEntry entry;
    const Film* f = film();
    hasSound_ = f && f->soundEntry(currentFrame_, 0, entry);
}

void CCelvaneView::refreshRect(const Rect& frameRect, bool immediate)
{
    canvas_.addChanged(frameRect);
    const ChangeRecord change{frameRect, immediate};
    document_.updateAllViews(nullptr, Hint::ToolRedrew, &change);
}

void CCelvaneView::repaintFrameRect(const Rect& frame, bool immediate)
{
    const QRect client = toQRect(enlarged(layout_.frameToClient(frame), 4));
    if (immediate)
        viewport()->repaint(client);
    else
        viewport()->update(client);
}

void CCelvaneView::repaintBand()
{
    if (const auto& band = canvas_.rubberBand())
        for (const Rect& edge : FrameCanvas::bandEdges(layout_.frameToClient(*band)))
            viewport()->update(toQRect(edge));
}

void CCelvaneView::drawRubberBand(const Rect& band)
{
    repaintBand();
    canvas_.setRubberBand(band);
    repaintBand();
}

void CCelvaneView::eraseRubberBand() { drawRubberBand({kNoValue, kNoValue, kNoValue, kNoValue}); }

void CCelvaneView::showProvisional(const Sprite* image)
{
    if (image == provisional_)
        return;
    provisional_ = image;
    viewport()->update();
}

void CCelvaneView::movePointer(Point frame)
{
    const Point to = layout_.frameToClient(frame, true);
    const QPoint from = viewport()->mapFromGlobal(QCursor::pos());
    QCursor::setPos(viewport()->mapToGlobal(QPoint(to.x, to.y)));
    pointerWarp_.moved({from.x(), from.y()}, to);
}

void CCelvaneView::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord* change)
{
    preview_.onHint(hint, change);
    const bool immediate = change && change->immediate;
    if (hint & Hint::RepaintAll)
        syncFrameSize();
    if ((hint & (Hint::RepaintAll | Hint::CurrentFrame | Hint::FrameRect))
        || ((hint & (Hint::PaletteRepaint | Hint::PaperColour)) && !drawingTool_))
        viewport()->update();
    if (hint & (Hint::ActiveViewChanged | Hint::CurrentFrame))
        refreshSound();
    if (hint & (Hint::RepaintAll | Hint::CurrentFrame))
        setAccessibleDescription(frameText());
    if ((hint & Hint::RepaintRect) && change)
        repaintFrameRect(change->rect, immediate);
    if ((hint & (Hint::CurrentFrame | Hint::FrameRect)) && immediate)
        viewport()->repaint();
    if (hint & Hint::ToolChanged)
        refreshToolState();
    if (hint & Hint::SettingsChanged) {
        showOverRuns_ = Settings::instance().getFlag("Settings", "ShowOverRun", true);
        viewport()->update();
    }
    if (hint & Hint::FilmSpeed)
        emit filmSpeedChanged();
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
    QRegion outside(event->region());
    outside -= frameQ;
    for (const QRect& r : outside)
        p.fillRect(r, surround);
    if (drawingTool_) {
        const QColor edge = palette().color(QPalette::ButtonText);
        const FrameSurround s = FrameSurround::around(frame);
        const QRect o = toQRect(s.outline);
        p.fillRect(QRect(o.left(), o.top(), o.width(), 1), edge);
        p.fillRect(QRect(o.left(), o.bottom(), o.width(), 1), edge);
        p.fillRect(QRect(o.left(), o.top(), 1, o.height()), edge);
        p.fillRect(QRect(o.right(), o.top(), 1, o.height()), edge);
        p.fillRect(toQRect(s.shadowRight), edge);
        p.fillRect(toQRect(s.shadowBottom), edge);
    }
    if (!f)
        return;
    paintFrame(p, event->region());
    paintInversions(p, event->rect());
}

void CCelvaneView::paintFrame(QPainter& p, const QRegion& region)
{
    const Rect frame = layout_.frameRect();
    try {
        const Sprite& image = provisional_ ? *provisional_ : *film()->workingImage(currentFrame_);
        const Sprite& shown = preview_.on() ? preview_.image(*film(), currentFrame_, image) : image;
        if (!paintFadeStep(p, shown, region))
            for (const QRect& r : region)
                painter_.paint(p, shown, frame, toRect(r));
        paintFailureShown_ = false;
    } catch (const std::exception&) {
        p.fillRect(toQRect(frame), Qt::white);
        // Told once, not at every repaint, and not from inside the paint: closing the message
        // would repaint and fail again.
        if (paintFailureShown_)
            return;
        paintFailureShown_ = true;
        QTimer::singleShot(0, this, [error = std::current_exception()] {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                Reporter::reportException(e, true);
            }
        });
    }
}

bool CCelvaneView::paintFadeStep(QPainter& p, const Sprite& image, const QRegion& region)
{
    if (!fadeStep_)
        return false;
    for (const QRect& r : region)
        celvane::paintFadeStep(painter_, p, image, layout_.frameRect(), *fadeStep_, toRect(r));
    return true;
}

void CCelvaneView::paintInversions(QPainter& p, const QRect& area)
{
    const bool grid = drawingTool_ && canvas_.grid().show;
    const auto& band = canvas_.rubberBand();
    if (!grid && !band)
        return;
    // Marks are collected as an image to exclusive-or onto the window, so that a pixel visited
    // twice ends up unchanged.
    QImage marks(area.size(), QImage::Format_ARGB32_Premultiplied);
    marks.fill(Qt::transparent);
    const auto invert = [&](int x, int y) {
        x -= area.left();
        y -= area.top();
        // The grid visits a little beyond the area, for the arms of crossings just outside it.
        if (x >= 0 && y >= 0 && x < marks.width() && y < marks.height())
            reinterpret_cast<uint32_t*>(marks.scanLine(y))[x] ^= 0xFFFFFFFFu;
    };
    const Film& f = *film();
    if (grid)
        canvas_.grid().forEachMark(layout_.frameRect(), f.width(), f.height(), toRect(area), invert);
    if (band)
        for (const Rect& edge : FrameCanvas::bandEdges(layout_.frameToClient(*band)))
            for (int y = edge.top; y < edge.bottom; ++y)
                for (int x = edge.left; x < edge.right; ++x)
                    invert(x, y);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(area.topLeft(), marks);
}

void CCelvaneView::dispatchMouse(MouseAction action, QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const Point client = pointerWarp_.filter({position.x(), position.y()});
    const bool right = action == MouseAction::Move ? bool(event->buttons() & Qt::RightButton)
                                                   : event->button() == Qt::RightButton;
    if (action != MouseAction::Move && event->button() != Qt::LeftButton && !right)
        return;
    if (action == MouseAction::Press || action == MouseAction::DoubleClick)
        document_.updateAllViews(nullptr, Hint::MousePressed);
    if (toolSink_)
        toolSink_->mouse(action, layout_.clientToFrame(client, true), keysOf(event->buttons(), event->modifiers()),
                         right);
}

void CCelvaneView::mousePressEvent(QMouseEvent* event) { dispatchMouse(MouseAction::Press, event); }
void CCelvaneView::mouseReleaseEvent(QMouseEvent* event) { dispatchMouse(MouseAction::Release, event); }
void CCelvaneView::mouseDoubleClickEvent(QMouseEvent* event) { dispatchMouse(MouseAction::DoubleClick, event); }
void CCelvaneView::mouseMoveEvent(QMouseEvent* event) { dispatchMouse(MouseAction::Move, event); }

namespace {
std::optional<ToolKey> toolKeyOf(const QKeyEvent& event)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Up: return ToolKey::Up;
    case Qt::Key_Down: return ToolKey::Down;
    case Qt::Key_Plus: return keypad ? std::optional(ToolKey::KeypadPlus) : std::nullopt;
    case Qt::Key_Minus: return keypad ? std::optional(ToolKey::KeypadMinus) : std::nullopt;
    }
    return std::nullopt;
}

// What a key types for a tool that takes text, 0 for none: the editing keys by their key (not
// every platform gives them a text), else a printable character typed without Ctrl, Alt or Meta.
char32_t typedCharacter(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Delete: return 0x7F;
    case Qt::Key_Return:
    case Qt::Key_Enter: return U'\r';
    }
    const char32_t c = event.text().toUcs4().value(0);
    return c >= 32 && c != 0x7F ? c : 0;
}
} // namespace

bool CCelvaneView::event(QEvent* event)
{
    // Keys that are shortcuts too (Space stops playing, Delete deletes the frame, full stop sets
    // a stamp's size) are the window's own while a tool takes text, so that the tool gets them as
    // text. Space is always taken: without such a tool it stops playing from here.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space || (toolSink_ && toolSink_->takesText() && typedCharacter(*key))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CCelvaneView::keyPressEvent(QKeyEvent* event)
{
    if (const auto key = toolKeyOf(*event); key && toolSink_ && toolSink_->keyDown(*key))
        return;
    if (const char32_t c = toolSink_ && toolSink_->takesText() ? typedCharacter(*event) : 0) {
        toolSink_->character(c);
        return;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const char32_t c = text.toUcs4().value(0);
    const bool takesText = toolSink_ && toolSink_->takesText();
    if (c == U'\r' && !takesText) {
        emit fullScreenToggleRequested();
    } else if (c == U' ' && !takesText) {
        emit stopPlaybackRequested();
    } else {
        if (c == 0x1B)
            document_.updateAllViews(nullptr, Hint::MousePressed);
        if (toolSink_)
            toolSink_->character(c);
    }
}

void CCelvaneView::changeFrames(const std::string& stepName, const std::function<int()>& change)
{
    ViewTools* tools = ViewTools::of(this);
    int frame = currentFrame_;
    try {
        if (tools)
            tools->undo().beforeFilmChange(stepName);
        frame = change();
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
    // Even a change that failed part way can be taken back.
    if (tools)
        tools->undo().afterFilmChange();
    currentFrame_ = -1; // whatever was current may have moved
    document_.updateAllViews(nullptr, Hint::FramesReplaced);
    goToFrame(frame);
}

void CCelvaneView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasFormat(FrameClipboard::kStampsFormat))
        event->acceptProposedAction();
}

void CCelvaneView::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasFormat(FrameClipboard::kStampsFormat)) {
        event->acceptProposedAction();
        emit stampsDropped(event->mimeData());
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

void CCelvaneView::copyFrames()
{
    const Bytes stamps = FrameEditing::copyAsStamps(*document_.graphics(), currentFrame_);
    Sprite picture;
    film()->decodeFrameInto(document_.graphics()->firstSelectedOrZero(), picture);
    FrameClipboard::put(stamps, picture);
    document_.updateAllViews(nullptr, Hint::FrameMarks);
}

void CCelvaneView::addFrameCommands()
{
    const auto withFilm = [this] { return enabledWhen(film() != nullptr); };
    // Frames added or taken away, then the frame the change leaves current.
    const auto replacing = [this](const char* name, std::function<int(Film&, int)> change) {
        return [this, name, change] { changeFrames(name, [&] { return change(*film(), currentFrame_); }); };
    };
    const auto marking = [this](std::function<void(Film&)> change) {
        return [this, change] {
            change(*film());
            document_.updateAllViews(nullptr, Hint::FrameMarks);
        };
    };
    addCommands({
        {ID_FRAME_NEW, replacing("New Frame", [](Film& f, int k) { return FrameEditing::insertAfter(f, k, false); }), withFilm},
        {ID_FRAME_DUPLICATE, replacing("Duplicate Frame", [](Film& f, int k) { return FrameEditing::insertAfter(f, k, true); }), withFilm},
        {ID_FRAME_DELETE, [this] { deleteFrames(); }, withFilm},
        {ID_EDIT_COPY, [this] { copyFrames(); }, withFilm},
        {ID_EDIT_CUT,
         [this] {
             copyFrames();
             removeSelection("Cut");
         },
         withFilm},
        {ID_FRAME_MARK, marking([this](Film& f) { FrameEditing::mark(f, currentFrame_); }), withFilm},
        {ID_SELECT_ALL, marking(&FrameEditing::selectAll),
         [this] { return enabledWhen(film() && !FrameEditing::allMarked(*film())); }},
        {ID_CLEAR_SELECTION, marking(&FrameEditing::clearSelection),
         [this] { return enabledWhen(film() && FrameEditing::anyMarked(*film())); }},
    });
}

void CCelvaneView::deleteFrames()
{
    const bool marked = FrameEditing::anyMarked(*film());
    // Said only when true: a history of one step does not take frame commands back.
    ViewTools* tools = ViewTools::of(this);
    const int question = tools && tools->undo().keepsHistory()
        ? (marked ? IDS_DELETE_SELECTED_FRAMES_UNDOABLE : IDS_DELETE_CURRENT_FRAME_UNDOABLE)
        : (marked ? IDS_DELETE_SELECTED_FRAMES : IDS_DELETE_CURRENT_FRAME);
    if (Reporter::message(question, MessageButtons::OkCancel, MessageIcon::Warning) == MessageAnswer::Ok)
        removeSelection(marked ? "Delete Frames" : "Delete Frame");
}

void CCelvaneView::removeSelection(const char* stepName)
{
    changeFrames(stepName, [this] { return FrameEditing::deleteSelection(*film(), currentFrame_); });
}

void CCelvaneView::showZoomDialog()
{
    CZoomDialog dialog(layout_.scale(), this);
    if (dialog.exec() == QDialog::Accepted)
        setScale(dialog.scale(), frameMiddle());
}

void CCelvaneView::showGridDialog()
{
    CGridDialog dialog(canvas_.grid(), this);
    if (dialog.exec() == QDialog::Accepted) {
        canvas_.grid() = dialog.grid();
        viewport()->update();
    }
}

void CCelvaneView::addViewCommands()
{
    addCommands({
        {ID_ZOOM_IN, [this] { zoomIn(); }, alwaysEnabled},
        {ID_ZOOM_OUT, [this] { zoomOut(); }, alwaysEnabled},
        {ID_VIEW_ZOOM, [this] { showZoomDialog(); }, alwaysEnabled},
        {ID_VIEW_GRID, [this] { showGridDialog(); }, alwaysEnabled},
        {ID_VIEW_FIT_WINDOW, [this] { emit fitWindowRequested(); }, alwaysEnabled},
    });
}

bool CCelvaneView::onCommand(int id)
{
    // Playback stops first, so that no step moves the frames while the command works on them.
    if (isFrameCommand(id))
        emit stopPlaybackRequested();
    for (CommandTarget* target : companions_)
        if (target->onCommand(id))
            return true;
    return CommandTarget::onCommand(id);
}

bool CCelvaneView::onUpdate(int id, CommandState& state)
{
    for (CommandTarget* target : companions_)
        if (target->onUpdate(id, state))
            return true;
    return CommandTarget::onUpdate(id, state);
}

} // namespace celvane
