// The Sound Effect dialog's arithmetic: what the edits show, what typing does to the duration,
// and how the waveform repeats the sound.

#include <gtest/gtest.h>

#include "film/SoundEffectEdit.h"

using namespace celvane;
using Mode = SoundEffectEdit::Mode;
using Typed = SoundEffectEdit::Typed;

namespace {
// A one-second sound at 11025 Hz on a film of 80 ms frames.
SoundEffectEdit editOf(int duration, bool inFrames = false, int pitch = 0)
{
    FrameSound s;
    s.duration = duration;
    s.inFrames = inFrames;
    s.pitch = pitch;
    return SoundEffectEdit(s, 11025, 11025, 80);
}
} // namespace

TEST(SoundEffectEdit, OpensInTheModeItsDurationSays)
{
    SoundEffectEdit once = editOf(FrameSound::kWhole);
    EXPECT_EQ(once.mode(), Mode::Once);
    EXPECT_EQ(once.secondsText(), "1.00");
    EXPECT_EQ(once.framesText(), "13"); // 1 s of 80 ms frames, rounded
    EXPECT_EQ(once.durationText(), "1.00");
    EXPECT_EQ(editOf(0).mode(), Mode::Once);

    SoundEffectEdit frames = editOf(60, true);
    EXPECT_EQ(frames.mode(), Mode::Frames);
    EXPECT_EQ(frames.secondsText(), "3.00");
    EXPECT_EQ(frames.framesText(), "37"); // 3000 ms / 80, cut
    EXPECT_EQ(editOf(60, false).mode(), Mode::Seconds);
}

TEST(SoundEffectEdit, TypedFramesAndSecondsSetTheDurationWithinTheirLimits)
{
    SoundEffectEdit e = editOf(60, true);
    EXPECT_EQ(e.typeFrames("1500"), Typed::Capped);
    EXPECT_EQ(e.framesText(), "1000");
    EXPECT_EQ(e.settings().duration, 60); // kept
    EXPECT_EQ(e.typeFrames("0"), Typed::Ignored);
    EXPECT_EQ(e.typeFrames("ten"), Typed::Ignored);
    EXPECT_EQ(e.typeFrames("10"), Typed::Applied);
    EXPECT_EQ(e.settings().duration, 16); // 10 x 80 ms = 0.8 s
    EXPECT_EQ(e.secondsText(), "0.80");

    EXPECT_EQ(e.typeSeconds("0.01"), Typed::Ignored);
    EXPECT_EQ(e.typeSeconds("2000"), Typed::Capped);
    EXPECT_EQ(e.secondsText(), "1000");
    EXPECT_EQ(e.typeSeconds("1.15"), Typed::Applied); // not 22 through binary rounding
    EXPECT_EQ(e.settings().duration, 23);
    EXPECT_EQ(e.mode(), Mode::Seconds);
    EXPECT_EQ(e.framesText(), "14");
    EXPECT_TRUE(e.settings().inFrames); // the mode chosen does not change how the file marks it

    // 12.75 s and a frame shorter than a twentieth would be stored as "once": they stay times.
    EXPECT_EQ(e.typeSeconds("12.75"), Typed::Applied);
    EXPECT_EQ(e.settings().duration, 256);
    SoundEffectEdit fast(FrameSound{}, 11025, 11025, 10);
    fast.typeFrames("1");
    EXPECT_EQ(fast.settings().duration, 1);
}

TEST(SoundEffectEdit, PitchAndDurationShapeTheWaveform)
{
    SoundEffectEdit e = editOf(FrameSound::kWhole);
    e.setPitch(12); // twice the rate: half the time
    EXPECT_EQ(e.pitchedRate(), 22050);
    EXPECT_EQ(e.durationText(), "0.50");
    EXPECT_EQ(e.secondsText(), "0.50");
    EXPECT_EQ(e.framesText(), "6");
    EXPECT_EQ(e.repeat(), 1.0);

    e.typeSeconds("2"); // four half-second passes
    EXPECT_DOUBLE_EQ(e.repeat(), 4.0);
    EXPECT_EQ(e.playedFraction(), 1.0);
    e.typeSeconds("0.25"); // cut short half way
    EXPECT_EQ(e.repeat(), 1.0);
    EXPECT_DOUBLE_EQ(e.playedFraction(), 0.5);

    e.setVolume(300);
    e.setPan(-200);
    EXPECT_EQ(e.settings().volume, 127);
    EXPECT_EQ(e.settings().pan, -127);
    e.defaults();
    EXPECT_EQ(e.mode(), Mode::Once);
    EXPECT_EQ(e.settings().duration, FrameSound::kWhole);
    EXPECT_EQ(e.settings().pitch, 0);
    EXPECT_EQ(e.settings().pan, 0);

    // Choosing a timed mode takes the time its edit shows.
    e.choose(Mode::Seconds);
    EXPECT_EQ(e.settings().duration, 20);
    // An empty sound draws and divides nothing.
    SoundEffectEdit empty(FrameSound{}, 11025, 0, 80);
    empty.typeSeconds("1");
    EXPECT_GT(empty.repeat(), 10.0);
    EXPECT_EQ(empty.playedFraction(), 1.0);
}

TEST(SoundEffectEdit, OnlyWholeNumbersInRangeMoveASlider)
{
    int v = 0;
    EXPECT_TRUE(typedInteger(" 12 ", -36, 36, v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(typedInteger("12.5", -36, 36, v));
    EXPECT_FALSE(typedInteger("37", -36, 36, v));
    EXPECT_FALSE(typedInteger("", -36, 36, v));
}
