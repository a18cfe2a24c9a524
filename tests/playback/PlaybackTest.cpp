#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "film/FileType.h"
#include "film/Film.h"
#include "film/UpdateHint.h"
#include "playback/FilmSpeed.h"
#include "playback/Playback.h"

using namespace celvane;

namespace {

// A window on a film of `frames` frames, with a clock the test moves and a log of what the
// playback asked for.
struct FakeWindow : PlaybackHost {
    std::unique_ptr<Film> f = std::make_unique<Film>();
    int current = 0;
    int64_t clock = 1000;
    int timer = 0, timerInterval = 0;
    bool preview = false;
    bool overRuns = true;
    std::vector<int> shown, sounds;
    std::vector<uint32_t> hints;
    std::vector<std::string> actionSounds;
    int fadeDraws = 0;
    Playback playback{*this};

    explicit FakeWindow(int frames, int motion = Film::Loop, int delay = 100)
    {
        const ImageInfo info = ImageInfo::forFilm(8, 8, 8);
        f->load(0, &info, nullptr, FileType::Film);
        for (int i = 1; i < frames; ++i)
            f->insertFrame(i, false);
        FilmSpeed::setDelay(*f, delay);
        FilmSpeed::setMotion(*f, motion);
    }

    Film* film() override { return f.get(); }
    int currentFrame() const override { return current; }
    int64_t now() const override { return clock; }
    void setTimer(int id, int interval) override { timer = id, timerInterval = interval; }
    void killTimer() override { timer = 0, timerInterval = 0; }
    void showFrame(int frame) override { current = frame, shown.push_back(frame); }
    void drawFadeStep() override { ++fadeDraws; }
    void playSounds(int frame) override { sounds.push_back(frame); }
    void notify(uint32_t hint) override { hints.push_back(hint); }
    void actionSound(const char* name, bool) override { actionSounds.push_back(name); }
    bool previewOn() const override { return preview; }
    bool checkOverRuns() const override { return overRuns; }

    // Lets the timer fire once, on time.
    void tick()
    {
        clock += timerInterval;
        playback.onTimer(timer);
    }
    std::vector<int> ticks(int n)
    {
        std::vector<int> frames;
        for (int i = 0; i < n; ++i) {
            tick();
            frames.push_back(current);
        }
        return frames;
    }
    std::vector<bool> marks() const
    {
        std::vector<bool> m;
        for (int i = 0; i < f->frameCount(); ++i)
            m.push_back(f->isFrameSelected(i));
        return m;
    }
    void mark(std::initializer_list<int> frames)
    {
        for (int i : frames)
            f->setFrameSelected(i, true);
    }
};

} // namespace

TEST(Playback, MotionsAtBothEnds)
{
    FakeWindow loop(3);
    loop.playback.start(1);
    EXPECT_EQ(loop.timer, Playback::kStepTimer);
    EXPECT_EQ(loop.timerInterval, 100);
    EXPECT_EQ(loop.ticks(4), (std::vector<int>{1, 2, 0, 1}));
    loop.playback.start(-1);
    EXPECT_EQ(loop.ticks(3), (std::vector<int>{0, 2, 1}));

    FakeWindow yoyo2(2, Film::YoYo);
    yoyo2.playback.start(1);
    EXPECT_EQ(yoyo2.ticks(5), (std::vector<int>{1, 0, 1, 0, 1}));

    // Forwards from the last frame turns round at once.
    FakeWindow yoyo(4, Film::YoYo);
    yoyo.current = 3;
    yoyo.playback.start(1);
    EXPECT_EQ(yoyo.ticks(5), (std::vector<int>{2, 1, 0, 1, 2}));

    FakeWindow toEnd(3, Film::ToEnd);
    toEnd.playback.start(1);
    EXPECT_EQ(toEnd.ticks(2), (std::vector<int>{1, 2}));
    toEnd.tick();
    EXPECT_EQ(toEnd.current, 2);
    EXPECT_FALSE(toEnd.playback.playing());
    EXPECT_EQ(toEnd.timer, 0);
    toEnd.playback.start(-1);
    toEnd.ticks(2);
    toEnd.tick();
    EXPECT_EQ(toEnd.current, 0);
    EXPECT_FALSE(toEnd.playback.playing());
    EXPECT_EQ(toEnd.hints, (std::vector<uint32_t>{Hint::PlayState, Hint::PlayState, Hint::PlayState, Hint::PlayState}));
}

TEST(Playback, StartAndStop)
{
    FakeWindow one(1);
    one.playback.start(1);
    EXPECT_FALSE(one.playback.playing());
    EXPECT_TRUE(one.hints.empty());

    FakeWindow w(3);
    w.current = 1;
    w.playback.start(1);
    w.playback.start(1); // already so: nothing more
    EXPECT_EQ(w.hints.size(), 1u);
    EXPECT_EQ(w.sounds, (std::vector<int>{1}));
    w.playback.stop();
    EXPECT_EQ(w.timer, 0);
    EXPECT_EQ(w.hints.size(), 2u);
    w.playback.stop();
    EXPECT_EQ(w.hints.size(), 2u);
    // A step already queued when the film stopped does nothing.
    w.playback.onTimer(Playback::kStepTimer);
    EXPECT_EQ(w.current, 1);
}

TEST(Playback, PausesAndStopFrames)
{
    FakeWindow w(4);
    w.f->setFade(1, {FrameFade::Immediate, FrameFade::None, 50}, FrameFade::AllFields);
    w.f->setFade(3, {FrameFade::Immediate, FrameFade::None, FrameFade::Stop}, FrameFade::AllFields);
    w.playback.start(1);
    w.tick();
    EXPECT_EQ(w.timerInterval, 600); // delay + half a second
    w.tick();
    EXPECT_EQ(w.timerInterval, 100);
    w.tick();
    EXPECT_EQ(w.current, 3);
    EXPECT_FALSE(w.playback.playing());
    EXPECT_EQ(w.timer, 0);
    // Playing on from the frame that stopped it.
    w.playback.start(1);
    EXPECT_EQ(w.ticks(2), (std::vector<int>{0, 1}));
    // Stepping onto a stop frame while stopped does nothing more; without effects there is no
    // pause at all.
    w.playback.stop();
    w.playback.goToFrame(3, true);
    EXPECT_FALSE(w.playback.playing());
    EXPECT_EQ(w.timer, 0);
    w.playback.start(-1);
    w.playback.goToFrame(1, false);
    EXPECT_EQ(w.timerInterval, 100);
    // A new speed reaches a running step timer.
    FilmSpeed::setDelay(*w.f, 40);
    w.playback.speedChanged();
    EXPECT_EQ(w.timerInterval, 40);
}

TEST(Playback, FadesRunStepByStep)
{
    FakeWindow w(3);
    w.f->setFade(1, {FrameFade::Slats, FrameFade::FromTop, 0}, FrameFade::AllFields);
    w.f->setFade(2, {FrameFade::Wipe, FrameFade::FromLeft, 10}, FrameFade::AllFields);
    w.playback.start(1);
    w.tick();
    EXPECT_EQ(w.current, 1);
    EXPECT_EQ(w.timer, Playback::kFadeTimer);
    EXPECT_EQ(w.timerInterval, 40);
    EXPECT_EQ(w.playback.fade().step(), 0);
    w.ticks(15);
    EXPECT_EQ(w.playback.fade().step(), 15);
    EXPECT_EQ(w.fadeDraws, 15);
    w.tick(); // past the last step: the whole frame, and the step timer again
    EXPECT_FALSE(w.playback.fade().running());
    EXPECT_EQ(w.fadeDraws, 16);
    EXPECT_EQ(w.timer, Playback::kStepTimer);
    EXPECT_EQ(w.timerInterval, 100);
    w.tick();
    EXPECT_EQ(w.playback.fade().steps, 32);
    EXPECT_EQ(w.timerInterval, 20);
    w.ticks(32);
    EXPECT_EQ(w.timerInterval, 200); // then its pause
    // A fade runs when stopped too, and a stale step tick during it changes nothing.
    w.playback.stop();
    w.playback.goToFrame(1, true);
    EXPECT_EQ(w.timer, Playback::kFadeTimer);
    w.playback.onTimer(Playback::kStepTimer);
    EXPECT_EQ(w.playback.fade().step(), 0);
    w.ticks(16);
    EXPECT_EQ(w.timer, 0);
    // No fades while ghosting or without effects.
    w.preview = true;
    w.playback.goToFrame(2, true);
    EXPECT_FALSE(w.playback.fade().running());
    w.preview = false;
    w.playback.goToFrame(1, false);
    EXPECT_FALSE(w.playback.fade().running());
}

TEST(Playback, OverRunsAreMarkedAfterAnExtraInterval)
{
    FakeWindow w(5, Film::Loop, 400);
    w.playback.start(1);
    w.tick();
    EXPECT_EQ(w.playback.overRunFrame(), -1);
    w.clock += 400 + 250 + 1; // later than one more interval and the allowance
    w.tick();
    EXPECT_EQ(w.playback.overRunFrame(), 2);
    w.tick(); // the due time starts again from the late step
    EXPECT_EQ(w.playback.overRunFrame(), -1);
    w.clock += 250; // late, but within the allowance
    w.tick();
    EXPECT_EQ(w.playback.overRunFrame(), -1);
    w.overRuns = false; // full screen
    w.clock += 5000;
    w.tick();
    EXPECT_EQ(w.playback.overRunFrame(), -1);
}

TEST(Playback, SteppingAndNavigation)
{
    FakeWindow w(4, Film::ToEnd);
    w.current = 3;
    w.playback.stepForward();
    EXPECT_EQ(w.current, 3);
    w.playback.stepBack();
    EXPECT_EQ(w.current, 2);
    w.current = 0;
    w.playback.stepBack();
    EXPECT_EQ(w.current, 0);
    FilmSpeed::setMotion(*w.f, Film::Loop);
    w.playback.stepBack();
    EXPECT_EQ(w.current, 3);
    w.playback.stepForward();
    EXPECT_EQ(w.current, 0);

    w.playback.start(1);
    w.playback.lastFrame();
    EXPECT_FALSE(w.playback.playing());
    EXPECT_EQ(w.current, 3);
    w.playback.lastFrame(); // already there: no sound
    w.playback.rewind();
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.actionSounds, (std::vector<std::string>{"To end", "To end"}));

    // Home and End follow the first marked run, else act as Rewind and Last frame.
    w.current = 2;
    w.playback.home();
    EXPECT_EQ(w.current, 0);
    w.playback.end();
    EXPECT_EQ(w.current, 3);
    w.mark({1, 2});
    w.playback.home();
    EXPECT_EQ(w.current, 1);
    w.playback.end();
    EXPECT_EQ(w.current, 2);
    w.playback.home();
    EXPECT_EQ(w.current, 1);
    w.playback.home(); // on the first marked frame: rewind
    EXPECT_EQ(w.current, 0);
}

TEST(Playback, MarkingKeys)
{
    FakeWindow w(6);
    w.current = 2;
    w.playback.markStepForward();
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 0, 1, 0, 0}));
    w.playback.markStepForward();
    w.playback.markStepForward();
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 0, 1, 1, 1}));
    // A step back undoes a step forward, even onto the run's middle...
    w.playback.markStepBack();
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 0, 1, 1, 0}));
    // ...and before the middle the start moves.
    w.current = 2;
    w.playback.markStepForward();
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 0, 1, 1, 0}));
    w.playback.markStepBack();
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 1, 1, 1, 0}));
    EXPECT_EQ(w.hints.back(), Hint::FrameMarks);

    w.playback.markToEnd();
    EXPECT_EQ(w.current, 5);
    EXPECT_EQ(w.marks(), (std::vector<bool>{0, 0, 1, 1, 1, 1}));
    w.playback.markToEnd(); // at the last frame: every mark goes
    EXPECT_EQ(w.marks(), (std::vector<bool>(6, false)));
    w.current = 3;
    w.playback.markToStart();
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.marks(), (std::vector<bool>{1, 1, 1, 1, 0, 0}));
}

TEST(FilmSpeed, DialogAndSliderArithmetic)
{
    EXPECT_DOUBLE_EQ(FilmSpeed::framesPerSecond(80), 12.5);
    EXPECT_DOUBLE_EQ(FilmSpeed::framesPerSecond(333), 3.0);
    EXPECT_EQ(FilmSpeed::delayForFramesPerSecond(3), 333);
    EXPECT_EQ(FilmSpeed::delayForFramesPerSecond(25), 40);
    EXPECT_EQ(FilmSpeed::delayForFramesPerSecond(7), 143) << "rounded, not cut";
    EXPECT_EQ(FilmSpeed::delayForFramesPerSecond(12.5), 80);
    EXPECT_EQ(FilmSpeed::delayAtSliderPosition(0), 1000);
    EXPECT_EQ(FilmSpeed::delayAtSliderPosition(25), 316);
    EXPECT_EQ(FilmSpeed::delayAtSliderPosition(50), 100);
    EXPECT_EQ(FilmSpeed::delayAtSliderPosition(100), 10);
    EXPECT_EQ(FilmSpeed::sliderPositionOfDelay(100), 50);
    EXPECT_EQ(FilmSpeed::sliderPositionOfDelay(1000), 0);
    EXPECT_EQ(FilmSpeed::sliderPositionOfDelay(10), 100);
    EXPECT_EQ(FilmSpeed::sliderPositionOfDelay(5000), 0);
    EXPECT_EQ(FilmSpeed::sliderPositionOfDelay(1), 100);
}
