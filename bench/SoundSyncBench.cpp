// Sound in step with the picture, on the machine's sound output (run `source
// scripts/test-audio.sh` first for the null sink the tests use):
//  - SoundStart/frameChange: from a change of frame (the film playing the frame's sounds, as
//    playback does) to the first sample of the sound taken by the device. Goal: under 30 ms.
//  - SoundSync/drift30s: a 30-second film at 25 frames a second with a sound every 5 frames,
//    played in real time; the time reported is how far the sounds' starts stray, from the
//    earliest to the latest lag behind their frames. Goal: under one frame period (40 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>

#include "BenchSupport.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "platform/QtSoundPlayer.h"
#include "sound/SoundPool.h"

namespace {

using namespace celvane;

constexpr int kPeriodMs = 40;

Sound* pooledTone(double seconds)
{
    constexpr int kRate = 22050;
    Bytes data;
    ByteWriter w(&data);
    const int samples = int(kRate * seconds);
    for (int i = 0; i < samples; ++i)
        w.u16(uint16_t(int16_t(std::lround(12000 * std::sin(2 * M_PI * 660 * i / kRate)))));
    auto s = Sound::create(Sound::Pcm16Mono);
    s->setData(Sound::Pcm16Mono, kRate, data, samples);
    s->checkPlayability();
    return SoundPool::shared().add(std::move(s));
}

// A film of `frames` frames with the tone on every `every`th.
std::unique_ptr<CCelvaneDoc> filmWithSounds(int frames, int every)
{
    auto doc = std::make_unique<CCelvaneDoc>();
    doc->newDocument(ImageInfo::forFilm(320, 240, 8));
    Film& film = *doc->film();
    for (int k = 1; k < frames; ++k)
        film.insertFrame(k, false);
    Sound* tone = pooledTone(0.15);
    for (int k = 0; k < frames; k += every)
        film.addFrameSound(k, tone, "tone");
    return doc;
}

// Milliseconds from now until the device takes the first sample, or a negative time.
double untilFirstSample(const QtSoundPlayer& player, const QElapsedTimer& since, int limitMs)
{
    while (player.framesSent() == 0) {
        if (since.elapsed() > limitMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return double(since.nsecsElapsed()) / 1e6;
}

bool haveSoundOutput(benchmark::State& state)
{
    bench::application();
    if (!QMediaDevices::defaultAudioOutput().isNull())
        return true;
    state.SkipWithError("no sound output: source scripts/test-audio.sh first");
    return false;
}

void SoundStart_frameChange(benchmark::State& state)
{
    if (!haveSoundOutput(state))
        return;
    QtSoundPlayer player;
    SoundPlayer::setCurrent(&player);
    auto doc = filmWithSounds(2, 1);
    Film& film = *doc->film();
    // The first sound opens the device; the program keeps it open from then on.
    film.playSounds(0);
    QElapsedTimer warm;
    warm.start();
    untilFirstSample(player, warm, 2000);
    double worst = 0;
    for (auto _ : state) {
        player.stop(true);
        QElapsedTimer since;
        since.start();
        film.playSounds(int(state.iterations() % 2));
        const double ms = untilFirstSample(player, since, 1000);
        if (ms < 0) {
            state.SkipWithError("the device took no samples");
            break;
        }
        worst = std::max(worst, ms);
        state.SetIterationTime(ms / 1000);
    }
    state.counters["worst_ms"] = worst;
    player.closeDevice();
    SoundPlayer::setCurrent(nullptr);
}
BENCHMARK(SoundStart_frameChange)->Name("SoundStart/frameChange")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void SoundSync_drift30s(benchmark::State& state)
{
    if (!haveSoundOutput(state))
        return;
    QtSoundPlayer player;
    SoundPlayer::setCurrent(&player);
    constexpr int kFrames = 30 * 1000 / kPeriodMs, kEvery = 5;
    auto doc = filmWithSounds(kFrames, kEvery);
    Film& film = *doc->film();
    for (auto _ : state) {
        std::vector<double> lags;
        QElapsedTimer clock;
        clock.start();
        for (int f = 0; f < kFrames; ++f) {
            // The picture's clock: frame f is due at f periods; playback changes frame then.
            while (clock.elapsed() < qint64(f) * kPeriodMs)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            const double shown = double(clock.nsecsElapsed()) / 1e6;
            film.playSounds(f);
            if (f % kEvery == 0) {
                const double heard = untilFirstSample(player, clock, (f + 1) * kPeriodMs);
                lags.push_back(heard < 0 ? kPeriodMs : heard - shown);
            }
        }
        const auto [least, most] = std::minmax_element(lags.begin(), lags.end());
        state.SetIterationTime((*most - *least) / 1000);
        state.counters["worst_lag_ms"] = *most;
        state.counters["sounds"] = double(lags.size());
    }
    player.closeDevice();
    SoundPlayer::setCurrent(nullptr);
}
BENCHMARK(SoundSync_drift30s)->Name("SoundSync/drift30s")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
