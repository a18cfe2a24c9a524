// The player heard through the tests' own sound server: what reaches the output is recorded from
// the input that listens to it. Skipped where no sound server runs.

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QTest>
#include <QTimer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <cmath>

#include "QtTestSupport.h"
#include "app/DrawingProgram.h"
#include "app/sound/CRecordDialog.h"
#include "app/sound/CSoundTools.h"
#include "app/sound/WaveformView.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "platform/QtSoundPlayer.h"
#include "sound/PlayPlan.h"
#include "sound/SoundPool.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {

constexpr int kRate = 44100;

// A sine tone, 16-bit mono.
std::unique_ptr<Sound> tone(double hertz, int rate, double seconds)
{
    Bytes data;
    ByteWriter w(&data);
    const int samples = int(rate * seconds);
    for (int i = 0; i < samples; ++i)
        w.u16(uint16_t(int16_t(std::lround(20000 * std::sin(2 * M_PI * hertz * i / rate)))));
    auto s = Sound::create(Sound::Pcm16Mono);
    s->setData(Sound::Pcm16Mono, rate, data, samples);
    s->checkPlayability();
    return s;
}

struct Heard {
    std::vector<int16_t> left, right;
    // Zero crossings a second of sound on the louder side.
    double frequency() const
    {
        const auto& side = level(left) >= level(right) ? left : right;
        int crossings = 0;
        size_t sounding = 0;
        for (size_t i = 1; i < side.size(); ++i) {
            const bool loud = std::abs(side[i]) > 300 || std::abs(side[i - 1]) > 300;
            crossings += loud && (side[i - 1] < 0) != (side[i] < 0);
            sounding += loud;
        }
        return sounding ? crossings / 2.0 / (double(sounding) / kRate) : 0;
    }
    static double level(const std::vector<int16_t>& side)
    {
        double sum = 0;
        for (int16_t v : side)
            sum += double(v) * v;
        return side.empty() ? 0 : std::sqrt(sum / double(side.size()));
    }
    // Samples that carry sound.
    size_t loudSamples() const
    {
        size_t n = 0;
        for (size_t i = 0; i < left.size(); ++i)
            n += std::abs(left[i]) > 300 || std::abs(right[i]) > 300;
        return n;
    }
};

// Runs `play` and records what the output sends for `ms` milliseconds.
template <typename Play>
Heard listen(int ms, Play play)
{
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    QAudioSource source(QMediaDevices::defaultAudioInput(), format);
    QIODevice* in = source.start();
    Heard heard;
    QElapsedTimer clock;
    clock.start();
    bool started = false;
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!started && clock.elapsed() > 150) {
            play();
            started = true;
        }
        const QByteArray bytes = in ? in->readAll() : QByteArray();
        for (qsizetype i = 0; i + 3 < bytes.size(); i += 4) {
            heard.left.push_back(int16_t(loadLE16(reinterpret_cast<const uint8_t*>(bytes.data() + i))));
            heard.right.push_back(int16_t(loadLE16(reinterpret_cast<const uint8_t*>(bytes.data() + i + 2))));
        }
    }
    source.stop();
    return heard;
}

// Where the test script started a sound server for the tests that listen, they use it, so that
// what other tests play beside them is not heard. Chosen before anything opens a sound device.
void listenAlone()
{
    const QByteArray own = qgetenv("CELVANE_LISTENING_SERVER");
    if (!own.isEmpty())
        qputenv("PULSE_SERVER", own);
}

#define REQUIRE_SOUND_SERVER()                                                                     \
    if (QMediaDevices::defaultAudioOutput().isNull() || QMediaDevices::defaultAudioInput().isNull()) \
    GTEST_SKIP() << "no sound server"

} // namespace

TEST(SoundPlayer, PitchPanDurationAndLoopsReachTheOutput)
{
    listenAlone();
    test::ensureApplication();
    REQUIRE_SOUND_SERVER();
    QtSoundPlayer player;
    auto a = tone(440, 22050, 0.4);

    // Panned hard left, whole: 440 Hz on the left only, about 0.4 s of it.
    Heard left = listen(1200, [&] { player.play(*a, -127, 127, 0, PlayPlan::kWhole, nullptr); });
    EXPECT_NEAR(left.frequency(), 440, 25);
    EXPECT_GT(Heard::level(left.left), 10 * Heard::level(left.right) + 1);
    EXPECT_NEAR(double(left.loudSamples()) / kRate, 0.4, 0.1);

    // An octave up, for one second (twenty twentieths): 880 Hz, looping the sound to fill it.
    Heard up = listen(1800, [&] { player.play(*a, 0, 127, 12, 20, nullptr); });
    EXPECT_NEAR(up.frequency(), 880, 40);
    EXPECT_NEAR(double(up.loudSamples()) / kRate, 1.0, 0.15);
    EXPECT_NEAR(Heard::level(up.left), Heard::level(up.right), 500);

    // A stop silences it at once.
    Heard stopped = listen(1200, [&] {
        player.play(*a, 0, 127, 0, 100, nullptr);
        player.stop(true);
    });
    EXPECT_LT(double(stopped.loudSamples()) / kRate, 0.15);
    EXPECT_FALSE(player.poll());
}

// Frame after frame cuts a sound short and starts the next: every start must reach the output,
// however many came before (each new stream once asked for less buffer than the last, until none
// could be sent at all).
TEST(SoundPlayer, EveryStartReachesTheOutputAfterManyStops)
{
    listenAlone();
    test::ensureApplication();
    REQUIRE_SOUND_SERVER();
    QtSoundPlayer player;
    auto a = tone(440, 22050, 0.2);
    for (int i = 0; i < 40; ++i) {
        player.stop(true);
        player.play(*a, 0, 127, 0, PlayPlan::kWhole, nullptr);
        QElapsedTimer since;
        since.start();
        while (player.framesSent() == 0 && since.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        ASSERT_GT(player.framesSent(), 0u) << "start " << i << " never reached the output";
    }
    player.closeDevice();
}

// A frame's sound is heard while film sounds are on; replacing its film while it plays lets the
// sound go without the player reading what it held.
TEST(SoundPlayer, FilmSoundsPlayWhileTheSwitchIsOnAndOutliveTheirFilm)
{
    listenAlone();
    test::StartedProgram program;
    REQUIRE_SOUND_SERVER();
    Sound* beep = nullptr;
    const auto putSound = [&] {
        Film& film = *program.view().film();
        beep = SoundPool::shared().add(tone(660, 22050, 0.6));
        film.soundLibrary().add(beep, "beep");
        FrameSoundEntry entry;
        entry.words[1] = 256 + 127;
        entry.words[3] = 255;
        film.setSoundEntry(0, 0, entry);
    };
    putSound();
    Heard on = listen(1500, [&] { program.view().film()->playSounds(0); });
    EXPECT_NEAR(on.frequency(), 660, 30);
    EXPECT_GT(on.loudSamples(), size_t(kRate / 2));

    Heard replaced = listen(1500, [&] {
        program.view().film()->playSounds(0);
        program.sink.answers.push_back(MessageAnswer::No);
        program.frame().runCommand(ID_FILE_NEW);
    });
    EXPECT_NEAR(replaced.frequency(), 660, 30);
    EXPECT_FALSE(SoundPool::shared().contains(beep)); // gone while it played

    putSound();
    program.frame().runCommand(ID_FILM_SOUNDS);
    EXPECT_FALSE(program.frame().commandState(ID_FILM_SOUNDS).checked);
    Heard off = listen(800, [&] { program.view().film()->playSounds(0); });
    EXPECT_LT(off.loudSamples(), size_t(kRate / 50));
    program.frame().runCommand(ID_FILM_SOUNDS);
    EXPECT_TRUE(program.frame().commandState(ID_FILM_SOUNDS).checked);
}

// The shipped action sounds are heard when a person zooms in and end by themselves, a pencil
// stroke's repeating sound ends with the stroke, and none is heard once sound effects are off.
TEST(SoundPlayer, ActionSoundsEndByThemselvesUntilSoundEffectsAreTurnedOff)
{
    listenAlone();
    test::DrawingProgram program;
    REQUIRE_SOUND_SERVER();
    auto& player = dynamic_cast<QtSoundPlayer&>(*SoundPlayer::current());
    EXPECT_TRUE(program.sink.shown.empty()); // the action sounds were found
    // The sink has stopped reading the sound's stream by the time the stream goes.
    bool sinkStoppedFirst = false;
    Heard zoom = listen(1200, [&] {
        program.frame().runCommand(ID_ZOOM_IN);
        auto* sink = player.findChild<QAudioSink*>();
        auto* stream = player.findChild<QIODevice*>();
        ASSERT_TRUE(sink && stream);
        QObject::connect(stream, &QObject::destroyed,
                         [&, sink] { sinkStoppedFirst = sink->state() == QAudio::StoppedState; });
    });
    EXPECT_GT(zoom.loudSamples(), size_t(kRate / 20));
    EXPECT_TRUE(test::waitUntil([&] { return !player.deviceOpen(); }, 2000));
    EXPECT_TRUE(sinkStoppedFirst);

    // Freehand: the stroke's sound repeats while the button is down and stops when it is let go.
    program.app.toolBox().select(ToolBox::Pencil, true);
    program.app.toolBox().pencil().setPen({1, false, 2, 2});
    program.mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    for (int x = 12; x < 60; x += 2)
        program.mouse(QEvent::MouseMove, {x, 10}, Qt::NoButton, Qt::LeftButton);
    test::waitUntil([] { return false; }, 1000);
    EXPECT_NE(player.playing(), nullptr);
    program.mouse(QEvent::MouseButtonRelease, {60, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(test::waitUntil([&] { return !player.deviceOpen(); }, 2000));

    program.frame().runCommand(ID_ACTION_SOUNDS);
    EXPECT_FALSE(program.frame().commandState(ID_ACTION_SOUNDS).checked);
    Heard quiet = listen(1000, [&] { program.frame().runCommand(ID_ZOOM_IN); });
    EXPECT_LT(quiet.loudSamples(), size_t(kRate / 100));
}

TEST(SoundPlayer, WhatIsRecordedForAFrameIsWhatWasPlaying)
{
    listenAlone();
    test::StartedProgram program;
    REQUIRE_SOUND_SERVER();
    program.frame().runCommand(ID_TOOL_SOUND);
    const std::unique_ptr<Sound> a = tone(880, kRate, 1.5);
    int trimmed = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CRecordDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QDoubleSpinBox*>()->setValue(1);
        // Record stops whatever plays; the tone starts once it listens.
        ASSERT_TRUE(dialog->record());
        SoundPlayer::current()->play(*a, 0, 127, 0, PlayPlan::kWhole);
        EXPECT_TRUE(test::waitUntil([&] { return !dialog->recording(); }, 4000));
        // Choosing part of the waveform keeps only that part; letting go of nothing takes it all.
        auto* wave = dialog->findChild<WaveformView*>();
        ASSERT_NE(wave, nullptr);
        const int inner = wave->width() - 6, y = wave->height() / 2;
        QTest::mousePress(wave, Qt::LeftButton, {}, QPoint(3 + inner / 4, y));
        QTest::mouseMove(wave, QPoint(3 + inner * 3 / 4, y));
        QTest::mouseRelease(wave, Qt::LeftButton, {}, QPoint(3 + inner * 3 / 4, y));
        trimmed = dialog->recorded()->sampleCount();
        QTest::mouseClick(wave, Qt::LeftButton, {}, QPoint(3 + inner / 2, y));
        dialog->accept();
    });
    program.frame().soundTools()->record();
    const Film& film = *program.view().film();
    ASSERT_EQ(film.playedSounds(0).size(), 1u);
    EXPECT_EQ(film.soundName(0, 0).rfind("Sound", 0), 0u);
    // The first quality offered: 11.025 kHz, 8 bit, mono, for the second asked.
    const Sound& recorded = *film.playedSounds(0)[0].sound;
    EXPECT_EQ(recorded.rate(), 11025);
    EXPECT_EQ(recorded.sampleCount(), 11025);
    EXPECT_NEAR(trimmed, 11025 / 2, 11025 / 50);
    int crossings = 0;
    const Bytes& data = recorded.playData();
    for (size_t i = 1; i < data.size(); ++i)
        crossings += (data[i - 1] < 128) != (data[i] < 128) && std::abs(data[i] - 128) + std::abs(data[i - 1] - 128) > 4;
    EXPECT_NEAR(crossings / 2.0, 880, 880 * 0.2); // most of the second carries the tone
}
