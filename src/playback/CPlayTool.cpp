#include "playback/CPlayTool.h"

#include <QCursor>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "base/CommandIds.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "base/Settings.h"
#include "playback/FilmSpeed.h"
#include "film/FrameMarks.h"
#include "playback/PlaybackController.h"
#include "playback/StripPictures.h"
#include "view/CCelvaneView.h"
#include "view/tools/ViewTools.h"

namespace celvane {

class CPlayTool::StripWidget : public QWidget {
public:
    // Without a film; with one, the strip is read out as the frame it shows.
    static constexpr const char* kName = "Film strip";

    explicit StripWidget(CPlayTool& bar) : QWidget(&bar), bar_(bar)
    {
        setFixedSize(86, 32);
        setToolTip(kName);
        setStatusTip("Drag to change the current frame, when playing click to stop");
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        PlaybackController* playback = PlaybackController::of(bar_.follower_.view());
        Film* film = bar_.follower_.view() ? bar_.follower_.view()->film() : nullptr;
        StripPictures::paintFilm(p, rect(), bar_.strip_.offset(), palette());
        if (!film)
            return;
        const int count = film->frameCount();
        const int overRun = playback ? playback->playback().overRunFrame() : -1;
        // The marker sits over the middle of the strip; cell i is frame i - 1.
        const int origin = width() / 2 - FilmStrip::kPitch - FilmStrip::kCell / 2;
        for (int i = 0; i <= count + 1; ++i) {
            const QRect cell(origin + bar_.strip_.offset() + 2 + i * FilmStrip::kPitch, 4, FilmStrip::kCell, height() - 8);
            if (cell.right() < 0 || cell.left() > width())
                continue;
            StripPictures::paintFrameWindow(p, cell);
            if (i < 1 || i > count)
                continue;
            const int frame = i - 1;
            p.setPen(frame == overRun ? QColor(255, 255, 0)
                                      : film->isFrameSelected(frame) ? QColor(0, 255, 255)
                                                                     : palette().color(QPalette::Button));
            p.drawText(cell, Qt::AlignCenter, QString::number(i));
        }
        const bool playing = playback && playback->playback().playing();
        StripPictures::paintGate(p, QRect(width() / 2 - FilmStrip::kCell / 2 - 2, 1, FilmStrip::kCell + 4, height() - 2),
                                 playing, palette());
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        CCelvaneView* view = bar_.follower_.view();
        if (!view || !view->film() || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton))
            return;
        view->document().updateAllViews(nullptr, Hint::MousePressed);
        if (PlaybackController* playback = PlaybackController::of(view))
            playback->playback().stop();
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        if (event->button() == Qt::LeftButton && shift) {
            FrameMarks::reachRun(*view->film(), view->currentFrame(), view->currentFrame());
            view->document().updateAllViews(nullptr, Hint::FrameMarks);
        }
        button_ = event->button();
        bar_.strip_.press(event->globalPosition().toPoint().x(), view->currentFrame(),
                          event->button() == Qt::RightButton ? FilmStrip::Marking : FilmStrip::Moving);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        CCelvaneView* view = bar_.follower_.view();
        if (!view || !view->film() || bar_.strip_.mode() == FilmStrip::None)
            return;
        int x = event->globalPosition().toPoint().x();
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->geometry();
            if (const int by = bar_.strip_.warpAtEdge(x, area.left(), area.right() + 1)) {
                x += by;
                QCursor::setPos(x, event->globalPosition().toPoint().y());
            }
        }
        const int minDistance = Settings::instance().dragMinDistance();
        const auto frame = bar_.strip_.move(x, view->film()->frameCount(), minDistance);
        if (!frame)
            return;
        if (PlaybackController* playback = PlaybackController::of(view))
            playback->playback().goToFrame(*frame, false);
        if (bar_.strip_.mode() == FilmStrip::Marking || (event->modifiers() & Qt::ShiftModifier)) {
            FrameEditing::selectRange(*view->film(), bar_.strip_.pressFrame(), *frame);
            view->document().updateAllViews(nullptr, Hint::FrameMarks);
        }
        update();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != button_ || bar_.strip_.mode() == FilmStrip::None)
            return;
        const int undo = bar_.strip_.release(bar_.follower_.view() ? bar_.follower_.view()->currentFrame() : 0);
        if (undo != 0)
            QCursor::setPos(QCursor::pos() + QPoint(undo, 0));
        update();
    }

private:
    CPlayTool& bar_;
    Qt::MouseButton button_ = Qt::NoButton;
};

namespace {
// The speed slider: a double click opens the speed dialog.
class SpeedSlider : public QSlider {
public:
    explicit SpeedSlider(QAction* dialog) : QSlider(Qt::Horizontal), dialog_(dialog) {}

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override
    {
        if (dialog_)
            dialog_->trigger();
    }

private:
    QAction* dialog_;
};
} // namespace

CPlayTool::CPlayTool(const std::function<QAction*(int)>& action, QWidget* parent)
    : QToolBar("Play Tools", parent), motionActions_{action(ID_MOTION_LOOP), action(ID_MOTION_YOYO), action(ID_MOTION_TO_END)}
{
    setObjectName("PlayTools");
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);
    const auto button = [&](int id, int row, int column) {
        auto* b = new QToolButton(panel);
        if (QAction* a = action(id))
            b->setDefaultAction(a);
        grid->addWidget(b, row, column);
    };
    button(ID_PLAY_REWIND, 0, 0);
    button(ID_PLAY_BACKWARDS, 0, 1);
    button(ID_STEP_BACK, 0, 2);
    stripWidget_ = new StripWidget(*this);
    grid->addWidget(stripWidget_, 0, 3);
    button(ID_STEP_FORWARD, 0, 4);
    button(ID_PLAY_FORWARDS, 0, 5);
    button(ID_PLAY_LAST_FRAME, 0, 6);
    button(ID_FRAME_DUPLICATE, 1, 0);
    button(ID_FRAME_NEW, 1, 1);
    button(ID_EDIT_CUT, 1, 2);
    slider_ = new SpeedSlider(action(ID_FILM_SPEED));
    slider_->setRange(0, 100);
    slider_->setFixedWidth(89);
    slider_->setToolTip("Film speed");
    slider_->setAccessibleName(slider_->toolTip());
    slider_->setStatusTip("Change the film speed (double click slider to display dialogue box)");
    grid->addWidget(slider_, 1, 3);
    // Not the action's own button: its picture follows the film's motion, not the action.
    motion_ = new QToolButton(panel);
    motion_->setObjectName("motion");
    motion_->setToolTip("Motion");
    motion_->setAccessibleName(motion_->toolTip());
    grid->addWidget(motion_, 1, 4);
    if (QAction* cycle = action(ID_MOTION_CYCLE)) {
        connect(motion_, &QToolButton::clicked, cycle, &QAction::trigger);
        connect(cycle, &QAction::changed, motion_, [this, cycle] { motion_->setEnabled(cycle->isEnabled()); });
    }
    for (QAction* a : motionActions_)
        if (a)
            connect(a, &QAction::changed, this, &CPlayTool::syncMotion);
    connect(slider_, &QSlider::sliderMoved, this, &CPlayTool::sliderMoved);
    connect(slider_, &QSlider::actionTriggered, this, [this](int) { sliderMoved(slider_->sliderPosition()); });
    addWidget(panel);
    setActiveView(nullptr);
}

CPlayTool::~CPlayTool() = default;

QWidget* CPlayTool::stripWidget() const { return stripWidget_; }

void CPlayTool::setActiveView(CCelvaneView* view)
{
    follower_.follow(view, [this] { setActiveView(nullptr); });
    syncStrip();
    syncSlider();
    syncMotion();
}

void CPlayTool::syncStrip()
{
    const CCelvaneView* view = follower_.view();
    strip_.follow(view ? view->currentFrame() : 0);
    const QString name = view && view->film() ? view->frameText() : QString(StripWidget::kName);
    if (stripWidget_->accessibleName() != name)
        stripWidget_->setAccessibleName(name);
    stripWidget_->update();
}

void CPlayTool::syncMotion()
{
    const Film* film = follower_.view() ? follower_.view()->film() : nullptr;
    const int motion = film ? film->motion() : Film::ToEnd;
    if (QAction* a = motionActions_[std::clamp(motion, 0, 2)])
        motion_->setIcon(a->icon());
}

void CPlayTool::syncSlider()
{
    const Film* film = follower_.view() ? follower_.view()->film() : nullptr;
    slider_->setEnabled(film != nullptr);
    if (film && !slider_->isSliderDown())
        slider_->setValue(FilmSpeed::sliderPositionOfDelay(film->period()));
}

void CPlayTool::sliderMoved(int position)
{
    Film* film = follower_.view() ? follower_.view()->film() : nullptr;
    if (!film)
        return;
    const int delay = FilmSpeed::delayAtSliderPosition(position);
    if (delay == film->period())
        return;
    ViewTools::changeSettings(*follower_.document(), "Speed", [&] { FilmSpeed::setDelay(*film, delay); });
    follower_.document()->updateAllViews(nullptr, Hint::FilmSpeed);
}

void CPlayTool::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*)
{
    if (hint & (Hint::RepaintAll | Hint::ActiveViewChanged | Hint::CurrentFrame | Hint::PlayState | Hint::FrameMarks))
        syncStrip();
    if (hint & (Hint::RepaintAll | Hint::ActiveViewChanged | Hint::FilmSpeed))
        syncSlider();
    if (hint & (Hint::RepaintAll | Hint::ActiveViewChanged | Hint::Motion))
        syncMotion();
}

} // namespace celvane
