#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <map>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "playback/CPlayTool.h"
#include "playback/FilmSpeed.h"
#include "playback/CFullScreenWindow.h"
#include "playback/PlaybackController.h"
#include "playback/CFadeOptionsDialog.h"
#include "playback/CFilmSpeedDialog.h"
#include "playback/CGoToFrameDialog.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"
#include "view/PreviewCommands.h"

using namespace celvane;

namespace {

// A film window on a 40 x 30 film of three frames, shown offscreen at 100% with no border: frame
// 0 paper, frame 1 black, frame 2 paper with a black square.
struct Window {
    test::TempDir dir;
    test::RecordingSink sink;
    CCelvaneDoc doc;
    std::unique_ptr<CCelvaneView> view;
    PlaybackController* playback = nullptr;
    PreviewCommands* preview = nullptr;

    Window()
    {
        test::ensureApplication();
        Settings::useFile(dir.path() / "celvane.ini");
        Settings::instance().writeInt("Preview", "Ghosting", 0);
        doc.newDocument(ImageInfo::forFilm(40, 30, 8));
        Film& f = *doc.film();
        f.insertFrame(1, false);
        f.insertFrame(2, false);
        f.workingImage(1)->fillPixel(0);
        f.markCurrentModified();
        Sprite& two = *f.workingImage(2);
        for (int y = 5; y < 10; ++y)
            for (int x = 5; x < 10; ++x)
                two.setPixelAt(x, y, 0);
        f.markCurrentModified();
        f.makeCurrent(0);
        view = std::make_unique<CCelvaneView>(doc);
        playback = new PlaybackController(*view);
        preview = new PreviewCommands(*view);
        view->setDrawingTool(false);
        view->resize(40, 30);
        view->show();
        QApplication::processEvents();
    }
    Film& film() { return *doc.film(); }
    QImage grab() { return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    bool command(int id) { return view->onCommand(id); }
    CommandState state(int id)
    {
        CommandState s;
        view->onUpdate(id, s);
        return s;
    }
};

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

} // namespace

TEST(PlaybackWindow, PlaysStepsAndTakesTheMotionCommands)
{
    Window w;
    EXPECT_TRUE(w.state(ID_PLAY_STOP).checked);
    EXPECT_TRUE(w.command(ID_PLAY_FORWARDS));
    EXPECT_TRUE(w.state(ID_PLAY_FORWARDS).checked);
    EXPECT_EQ(w.playback->playback().timerId(), Playback::kStepTimer);
    w.playback->playback().onTimer(Playback::kStepTimer);
    EXPECT_EQ(w.view->currentFrame(), 1);
    EXPECT_EQ(w.grab().pixel(20, 15), kBlack);
    // Space in the window stops; keypad speeds and the motion commands reach the film.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(w.view.get(), &space);
    EXPECT_FALSE(w.playback->playback().playing());
    w.command(ID_DELAY_5);
    EXPECT_EQ(w.film().period(), 200);
    w.command(ID_TOGGLE_YOYO);
    EXPECT_EQ(w.film().motion(), Film::YoYo);
    w.command(ID_TOGGLE_YOYO);
    EXPECT_EQ(w.film().motion(), Film::ToEnd);
    w.command(ID_MOTION_CYCLE);
    EXPECT_TRUE(w.state(ID_MOTION_LOOP).checked);
    w.command(ID_PLAY_REWIND);
    EXPECT_EQ(w.view->currentFrame(), 0);
    EXPECT_EQ(w.grab().pixel(20, 15), kWhite);
}

TEST(PlaybackWindow, FadesDrawOnlyTheirStep)
{
    Window w;
    w.film().setFade(1, {FrameFade::Wipe, FrameFade::FromLeft, 0}, FrameFade::AllFields);
    w.playback->playback().goToFrame(1, true);
    // Step 0 of a 32-step wipe over 40 pixels: a strip of 2 pixels on the left, and nothing
    // else of the new frame.
    QImage shown = w.grab();
    EXPECT_EQ(shown.pixel(0, 15), kBlack);
    EXPECT_EQ(shown.pixel(1, 15), kBlack);
    EXPECT_NE(shown.pixel(2, 15), kBlack);
    for (int i = 0; i < 32; ++i)
        w.playback->playback().onTimer(Playback::kFadeTimer);
    EXPECT_FALSE(w.playback->playback().fade().running());
    EXPECT_EQ(w.grab().pixel(39, 29), kBlack);
}

TEST(PlaybackWindow, GhostingShowsTheNeighbourBehindAndStopsFades)
{
    Window w;
    w.playback->playback().goToFrame(2, false);
    ASSERT_EQ(w.grab().pixel(20, 15), kWhite);
    EXPECT_TRUE(w.command(ID_GHOSTING));
    EXPECT_TRUE(w.state(ID_GHOSTING).checked);
    // Frame 1 (black) shows faintly behind the paper; the square stays black.
    const QImage shown = w.grab();
    EXPECT_EQ(shown.pixel(7, 7), kBlack);
    for (int x = 15; x < 35; ++x) {
        EXPECT_NE(shown.pixel(x, 20), kWhite);
        EXPECT_GT(qGray(shown.pixel(x, 20)), 64);
    }
    w.film().setFade(1, {FrameFade::Slide, FrameFade::FromTop, 0}, FrameFade::AllFields);
    w.playback->playback().goToFrame(1, true);
    EXPECT_FALSE(w.playback->playback().fade().running());
    w.command(ID_GHOSTING);
    EXPECT_FALSE(w.view->preview().on());
}

TEST(PlaybackWindow, DialogsRefuseValuesOutOfRange)
{
    Window w;
    CFilmSpeedDialog speed(80);
    auto* fps = speed.findChild<QLineEdit*>("fps");
    EXPECT_EQ(fps->text(), "12.5");
    fps->setText("0.5");
    speed.accept();
    EXPECT_EQ(speed.result(), QDialog::Rejected);
    EXPECT_EQ(w.sink.shown.back(), "Please enter a number between 1 and 100.");
    fps->setText("3");
    speed.accept();
    EXPECT_EQ(speed.delay(), 333);

    CGoToFrameDialog go(0, 3);
    auto* frame = go.findChild<QLineEdit*>("frame");
    EXPECT_EQ(frame->text(), "1");
    frame->setText("4");
    go.accept();
    EXPECT_EQ(w.sink.shown.back(), "Please enter an integer between 1 and 3.");
    frame->setText("3");
    go.accept();
    EXPECT_EQ(go.frame(), 2);

    CFadeOptionsDialog fade({}, false);
    auto* kind = fade.findChild<QComboBox*>("kind");
    auto* direction = fade.findChild<QComboBox*>("direction");
    EXPECT_FALSE(direction->isEnabled());
    kind->setCurrentIndex(FrameFade::Slats);
    EXPECT_EQ(direction->currentText(), "from left");
    fade.findChild<QRadioButton*>("then1")->click();
    EXPECT_EQ(fade.findChild<QLineEdit*>("seconds")->text(), "0.50");
    fade.accept();
    EXPECT_EQ(fade.fade(), (FrameFade{FrameFade::Slats, FrameFade::FromLeft, 50}));
}

TEST(FullScreen, PlacementAndTheWindow)
{
    EXPECT_EQ(FullScreen::placement(FullScreen::ActualSize, 40, 30, 800, 600), (Rect{380, 285, 420, 315}));
    EXPECT_EQ(FullScreen::placement(FullScreen::LargeSize, 40, 30, 800, 700), (Rect{0, 50, 800, 650}));
    EXPECT_EQ(FullScreen::placement(FullScreen::FullSize, 40, 30, 800, 600), (Rect{0, 0, 800, 600}));

    Window w;
    std::vector<std::string> sounds;
    static std::vector<std::string>* heard = &sounds;
    ActionSounds::setPlayer([](const char* name, bool, const char*) { heard->push_back(name); });
    w.command(ID_FULL_SCREEN);
    CFullScreenWindow* screen = w.playback->fullScreenWindow();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(sounds, (std::vector<std::string>{"Fullscreen"}));
    EXPECT_TRUE(w.state(ID_FULL_SCREEN).checked);
    // Steps are not checked for lateness on the full screen.
    EXPECT_FALSE(w.playback->checkOverRuns());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(screen, &escape);
    QApplication::processEvents();
    ActionSounds::setPlayer(nullptr);
    EXPECT_EQ(w.playback->fullScreenWindow(), nullptr);
    EXPECT_EQ(sounds, (std::vector<std::string>{"Fullscreen", "Fullscreen off"}));
}

TEST(PlayTool, StripSliderAndMotionButtonFollowTheWindow)
{
    Window w;
    std::map<int, QAction*> actions;
    QObject owner;
    for (int id : {ID_MOTION_LOOP, ID_MOTION_YOYO, ID_MOTION_TO_END, ID_MOTION_CYCLE}) {
        QPixmap picture(8, 8);
        picture.fill(QColor::fromRgb(uint(id) * 7919u));
        actions[id] = new QAction(QIcon(picture), "", &owner);
    }
    QObject::connect(actions[ID_MOTION_CYCLE], &QAction::triggered, [&] { w.command(ID_MOTION_CYCLE); });
    CPlayTool bar([&](int id) { return actions.count(id) ? actions[id] : nullptr; });
    bar.setActiveView(w.view.get());
    auto* motion = bar.findChild<QToolButton*>("motion");
    EXPECT_EQ(motion->icon().cacheKey(), actions[ID_MOTION_LOOP]->icon().cacheKey());
    motion->click();
    EXPECT_EQ(w.film().motion(), Film::YoYo);
    EXPECT_EQ(motion->icon().cacheKey(), actions[ID_MOTION_YOYO]->icon().cacheKey());

    // Dragging the strip a cell to the left shows the next frame, and a click stops playing.
    QWidget* strip = bar.stripWidget();
    const auto mouse = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(40, 10), QPointF(x, 300), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(strip, &event);
    };
    w.command(ID_PLAY_FORWARDS);
    mouse(QEvent::MouseButtonPress, 400, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(w.playback->playback().playing());
    mouse(QEvent::MouseMove, 386, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w.view->currentFrame(), 0);
    mouse(QEvent::MouseMove, 385, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w.view->currentFrame(), 1);
    mouse(QEvent::MouseButtonRelease, 385, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(bar.strip().offset(), -30);
    // The right button marks what it passes over.
    mouse(QEvent::MouseButtonPress, 400, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseMove, 370, Qt::NoButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, 370, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(w.view->currentFrame(), 2);
    EXPECT_TRUE(w.film().isFrameSelected(1) && w.film().isFrameSelected(2) && !w.film().isFrameSelected(0));

    // The slider is logarithmic: position 25 is a delay of 316 ms, and a new speed moves it.
    bar.slider()->setSliderPosition(25);
    bar.slider()->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(w.film().period(), 316);
    w.command(ID_DELAY_1);
    EXPECT_EQ(bar.slider()->value(), FilmSpeed::sliderPositionOfDelay(40));
}
