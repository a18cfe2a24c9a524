// Sounds: the two decoders, wave files both ways, the pool's sharing and use counts, and the
// sound chunk set of libraries and films.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/Chunks.h"
#include "base/Errors.h"
#include "film/FrameSound.h"
#include "sound/ActionSoundLibrary.h"
#include "sound/PlayPlan.h"
#include "sound/RecordingFormat.h"
#include "sound/SoundPlayer.h"
#include "sound/SoundClipboard.h"
#include "sound/SoundCodecs.h"
#include "sound/SoundFiles.h"
#include "sound/SoundLibrary.h"
#include "sound/SoundPool.h"
#include "sound/SoundSynth.h"
#include "sound/SoundTrack.h"
#include "sound/WaveFile.h"
#include "sound/Waveform.h"

using namespace celvane;

namespace {

Bytes waveBytes(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t dataBytes, Bytes extra = {})
{
    Bytes fmt;
    ByteWriter f(&fmt);
    const uint16_t align = uint16_t(channels * std::max(1, bits / 8));
    f.u16(tag);
    f.u16(channels);
    f.u32(rate);
    f.u32(rate * align);
    f.u16(align);
    f.u16(bits);
    f.bytes(extra);
    Bytes out;
    ByteWriter w(&out);
    w.u32(makeTag("RIFF"));
    w.u32(uint32_t(4 + 8 + fmt.size() + 8 + dataBytes));
    w.u32(makeTag("WAVE"));
    w.u32(makeTag("fmt "));
    w.u32(uint32_t(fmt.size()));
    w.bytes(fmt);
    w.u32(makeTag("data"));
    w.u32(uint32_t(dataBytes));
    for (size_t i = 0; i < dataBytes; ++i)
        w.u8(uint8_t(i * 7));
    return out;
}

Sound* pooled(int code, int rate, Bytes data, int samples)
{
    auto s = Sound::create(code);
    s->setData(code, rate, data, samples);
    return SoundPool::shared().add(std::move(s));
}

} // namespace

TEST(SoundCodecs, LogarithmicTableAndAdpcm)
{
    const auto& table = logarithmicTable();
    // Values of the positive half at the segment edges, and the exceptions.
    EXPECT_EQ(table[0], 3);
    EXPECT_EQ(table[2 * 15], 123);
    EXPECT_EQ(table[2 * 16], 131);
    EXPECT_EQ(table[2 * 17], 143);
    EXPECT_EQ(table[2 * 48], 887);
    EXPECT_EQ(table[2 * 126], 30087);
    EXPECT_EQ(table[254], 31683);
    EXPECT_EQ(table[1], -1);
    EXPECT_EQ(table[3], 6 - 11);
    EXPECT_EQ(table[255], -31681);

    int16_t out[4];
    const uint8_t two[] = {0x70};
    decodeImaAdpcm(two, out, 2);
    EXPECT_EQ(out[0], 11);
    EXPECT_EQ(out[1], 13);
    // Random bytes, odd lengths and missing bytes, against the decoder written out plainly.
    static const int steps[89] = {7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45, 50, 55, 60, 66, 73, 80, 88, 97, 107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307, 337, 371, 408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552, 1707, 1878, 2066, 2272, 2499, 2749, 3024, 3327, 3660, 4026, 4428, 4871, 5358, 5894, 6484, 7132, 7845, 8630, 9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
    static const int moves[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
    std::vector<uint8_t> random(999);
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = uint8_t((i * 2654435761u) >> 13);
    for (size_t samples : {size_t(0), size_t(1), size_t(1997), size_t(1998), size_t(2100)}) {
        std::vector<int16_t> fast(samples), plain(samples);
        decodeImaAdpcm(random, fast.data(), samples);
        int predictor = 0, index = 0;
        for (size_t i = 0; i < samples; ++i) {
            const int code = i / 2 < random.size() ? (i % 2 ? random[i / 2] & 15 : random[i / 2] >> 4) : 0;
            const int step = steps[index];
            const int d = (step >> 3) + (code & 4 ? step : 0) + (code & 2 ? step >> 1 : 0) + (code & 1 ? step >> 2 : 0);
            predictor = std::clamp(code & 8 ? predictor - d : predictor + d, -32768, 32767);
            index = std::clamp(index + moves[code & 7], 0, 88);
            plain[i] = int16_t(predictor);
        }
        EXPECT_EQ(fast, plain) << samples;
    }

    // Clamped at the top however long it climbs.
    std::vector<uint8_t> up(400, 0x77);
    std::vector<int16_t> many(800);
    decodeImaAdpcm(up, many.data(), many.size());
    EXPECT_EQ(many.back(), 32767);
}

TEST(WaveFile, ReadsPcmAndKeepsOtherEncodingsAsTheyCame)
{
    auto stereo = readWave(waveBytes(1, 2, 22050, 16, 88200));
    EXPECT_EQ(stereo->storedCode(), Sound::Pcm16Stereo);
    EXPECT_EQ(stereo->rate(), 22050);
    EXPECT_EQ(stereo->sampleCount(), 22050);
    EXPECT_EQ(stereo->playData().size(), 88200u);

    // Any other encoding: code 20, and written back with the same fmt chunk but the sound's rate.
    const Bytes original = waveBytes(2, 1, 11025, 4, 500, {32, 0, 0xF4, 1, 7, 0});
    auto other = readWave(original);
    EXPECT_EQ(other->storedCode(), Sound::Described);
    other->setRate(8000);
    Bytes again;
    ByteWriter w(&again);
    const size_t written = other->writeWave(&w);
    EXPECT_EQ(written, again.size());
    ASSERT_EQ(again.size(), original.size());
    Bytes expected = original;
    storeLE32(&expected[24], 8000);
    EXPECT_EQ(again, expected);

    // PCM of 24 bits is kept whole rather than read as 8-bit samples.
    EXPECT_EQ(readWave(waveBytes(1, 1, 8000, 24, 30))->storedCode(), Sound::Described);

    // 16-bit stereo PCM in an extensible description is plain PCM, a sample frame every 4 bytes.
    Bytes extensible{22, 0, 16, 0, 3, 0, 0, 0, 1, 0};
    extensible.insert(extensible.end(), {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    auto wide = readWave(waveBytes(0xFFFE, 2, 44100, 16, 8960, extensible));
    EXPECT_EQ(wide->storedCode(), Sound::Pcm16Stereo);
    EXPECT_EQ(wide->sampleCount(), 2240);
    EXPECT_TRUE(wide->formatBlock().empty());
}

// Wave files in the encodings real files come in are kept as they came, and heard, mixed into
// videos and drawn as the tone they hold; a file that nothing decodes is named once as it loads.
TEST(WaveFile, OtherEncodingsAreHeardMixedAndDrawnAsTheToneTheyHold)
{
    if (test::runCommand("command -v ffmpeg >/dev/null") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    test::TempDir dir;
    constexpr int kToneRate = 22050, kSamples = 11025;
    Bytes pcm;
    ByteWriter tone(&pcm);
    for (int i = 0; i < kSamples; ++i)
        tone.u16(uint16_t(int16_t(std::lround(16000 * std::sin(2 * M_PI * 441 * i / kToneRate)))));
    auto source = Sound::create(Sound::Pcm16Mono);
    source->setData(Sound::Pcm16Mono, kToneRate, pcm, kSamples);
    Bytes wave;
    ByteWriter w(&wave);
    source->writeWave(&w);
    test::writeBytes(dir.file("tone.wav"), wave);
    // Level and pitch of 16-bit samples, left then right.
    const auto measure = [](const std::vector<int16_t>& samples, int channels, int rate) {
        double sum = 0;
        int crossings = 0;
        for (size_t i = size_t(channels); i < samples.size(); i += size_t(channels)) {
            sum += double(samples[i]) * samples[i];
            crossings += (samples[i - size_t(channels)] < 0) != (samples[i] < 0);
        }
        const double frames = double(samples.size() / size_t(channels));
        return std::pair{std::sqrt(sum / frames), crossings / 2.0 / (frames / rate)};
    };
    const auto [level, pitch] = measure(std::vector<int16_t>(reinterpret_cast<const int16_t*>(pcm.data()),
                                                             reinterpret_cast<const int16_t*>(pcm.data() + pcm.size())),
                                        1, kToneRate);

    for (const std::string codec : {"pcm_mulaw", "pcm_alaw", "pcm_s24le", "pcm_s32le", "pcm_f32le", "adpcm_ima_wav",
                                     "adpcm_ms"}) {
        const std::string file = dir.file("coded.wav");
        ASSERT_EQ(test::runCommand("ffmpeg -v error -y -i " + dir.file("tone.wav") + " -c:a " + codec + " " + file), 0) << codec;
        SoundLibrary library;
        test::RecordingSink messages;
        loadSoundFile(library, file);
        EXPECT_TRUE(messages.shown.empty()) << codec;
        ASSERT_EQ(library.count(), 1) << codec;
        const Sound& sound = *library.sound(0);
        EXPECT_EQ(sound.storedCode(), Sound::Described) << codec;
        EXPECT_TRUE(sound.playable()) << codec;
        // ADPCM fills out its last block with silence.
        EXPECT_GE(sound.sampleCount(), kSamples) << codec;
        EXPECT_LE(sound.sampleCount(), kSamples + 2048) << codec;
        // The stored bytes are the file's.
        const auto back = readWaveFile(file);
        EXPECT_EQ(sound.playData(), back->playData()) << codec;

        // Heard as played and as a video mixes it: the tone at its level.
        const PcmSamples samples = sound.pcm();
        const int channels = samples.code == Sound::Pcm16Stereo ? 2 : 1;
        ASSERT_GE(samples.frames(), size_t(kSamples)) << codec;
        const auto* first = reinterpret_cast<const int16_t*>(samples.bytes->data());
        const auto [heardLevel, heardPitch] = measure({first, first + kSamples * channels}, channels, kToneRate);
        EXPECT_NEAR(heardLevel, level, level * 0.05) << codec;
        EXPECT_NEAR(heardPitch, pitch, 5) << codec;
        const std::vector<int16_t> track = renderSoundTrack({{0, &sound, 0, 127, 0, 255}}, 1000 * kSamples / kToneRate, kToneRate);
        const auto [mixedLevel, mixedPitch] = measure(track, 2, kToneRate);
        EXPECT_NEAR(mixedLevel, level / 2, level * 0.05) << codec; // each side at half level, centred
        EXPECT_NEAR(mixedPitch, pitch, 5) << codec;
        // Drawn: the tone's columns reach about as far as its peaks.
        const std::vector<WaveColumn> columns = waveformColumns(sound, 0, 100, 100, 1);
        const auto peaks = std::count_if(columns.begin(), columns.end(),
                                         [](const WaveColumn& c) { return std::abs(c.reach - 100 * 16000 / 65536) <= 1; });
        EXPECT_GE(peaks, 85) << codec;
    }

    // A file in an encoding nothing decodes is loaded, kept and named once; it plays as nothing.
    const std::string unknown = dir.file("unknown.wav");
    test::writeBytes(unknown, waveBytes(0x7A7A, 1, 8000, 4, 400));
    SoundLibrary library;
    test::RecordingSink messages;
    loadSoundFile(library, unknown);
    ASSERT_EQ(library.count(), 1);
    EXPECT_FALSE(library.sound(0)->playable());
    EXPECT_EQ(messages.shown, (std::vector<std::string>{
                                  "Warning: one or more sounds in unknown.wav cannot be played, because Celvane cannot "
                                  "decode the form they are in."}));
}

TEST(WaveFile, LogarithmicSoundsAreWrittenAs16BitPcm)
{
    auto log = Sound::create(Sound::Logarithmic);
    log->setData(Sound::Logarithmic, 11025, Bytes(1000, 0x10), 1000);
    Bytes out;
    ByteWriter w(&out);
    EXPECT_EQ(log->writeWave(&w), 2044u);
    EXPECT_EQ(loadLE32(&out[4]), 2036u);
    EXPECT_EQ(loadLE32(&out[40]), 2000u);
    auto back = readWave(out);
    EXPECT_EQ(back->storedCode(), Sound::Pcm16Mono);
    EXPECT_EQ(back->playData(), log->playData());
}

TEST(WaveFile, DamagedFilesAreRefusedWithAReason)
{
    Bytes cut = waveBytes(1, 1, 8000, 8, 100);
    cut.resize(cut.size() - 10);
    EXPECT_THROW(readWave(cut), FileError);
    Bytes noRate = waveBytes(1, 1, 0, 8, 10);
    EXPECT_THROW(readWave(noRate), FileError);
    // Faster than sound files keep: saved into a library it would come back slower.
    EXPECT_THROW(readWave(waveBytes(1, 1, kMaxSoundRate + 1, 8, 10)), FileError);
    SoundLibrary library;
    library.add(SoundPool::shared().add(readWave(waveBytes(1, 1, kMaxSoundRate, 8, 10))), "fastest");
    Bytes saved;
    ByteWriter out(&saved);
    library.writeChunkSet(&out, false);
    SoundLibrary reread;
    reread.readChunkSet(saved);
    ASSERT_EQ(reread.count(), 1);
    EXPECT_EQ(reread.sound(0)->rate(), kMaxSoundRate);
    EXPECT_THROW(readWave(Bytes{'R', 'I', 'F', 'F'}), FileError);
    EXPECT_THROW(readWaveFile("/no/such/file.wav"), FileError);
}

TEST(WaveFile, CorpusFilesOpenOrAreRefused)
{
    const auto dir = test::corpusDir("wav");
    CELVANE_REQUIRE_CORPUS(dir);
    int opened = 0, refused = 0;
    for (const test::CorpusFile& file : test::corpusFiles(dir)) {
        const std::string path = file.path.string();
        const bool shouldOpen = path.find("wavefile-valid") != std::string::npos || path.find("ro-") != std::string::npos
                             || path.find("pacmog") != std::string::npos;
        try {
            auto sound = readWaveFile(path);
            EXPECT_LE(sound->playData().size(), std::filesystem::file_size(file.path)) << path;
            // Whatever encoding FFmpeg decodes is heard; only the corpus's unsupported files are not.
            EXPECT_EQ(sound->checkPlayability(), path.find("-unsupported") == std::string::npos) << path;
            ++opened;
        } catch (const Error&) {
            EXPECT_FALSE(shouldOpen) << path;
            ++refused;
        }
    }
    EXPECT_GT(opened, 20);
    EXPECT_GT(refused, 3);
}

TEST(SoundPool, SharesEqualSoundsAndCountsTheirUsers)
{
    SoundPool& pool = SoundPool::shared();
    const size_t before = pool.size();
    Sound* a = pooled(Sound::Pcm8Mono, 8000, Bytes(50, 1), 50);
    Sound* same = pooled(Sound::Pcm8Mono, 8000, Bytes(50, 1), 50);
    Sound* otherRate = pooled(Sound::Pcm8Mono, 11025, Bytes(50, 1), 50);
    EXPECT_EQ(a, same);
    EXPECT_NE(a, otherRate);
    EXPECT_EQ(pool.size(), before + 2);

    {
        SoundLibrary one, two;
        one.add(a, "a");
        two.add(a, "a");
        one.remove(0);
        EXPECT_TRUE(pool.contains(a));
        EXPECT_EQ(a->useCount(), 1);
    } // the second library goes: so does the sound
    EXPECT_FALSE(pool.contains(a));
    SoundLibrary last;
    last.add(otherRate, "b");
}

TEST(SoundLibrary, ChunkSetLayoutNamesAndRates)
{
    SoundLibrary library;
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(1001, 3), 1001), "Dog");
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(2000, 4), 2000), std::string(40, 'x'));
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(3, 5), 3), "Bird");
    std::string accents;
    for (int i = 0; i < 16; ++i)
        accents += "\xC3\xA9"; // é
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(4, 6), 4), accents);
    Bytes out;
    ByteWriter w(&out);
    const size_t length = library.writeChunkSet(&w, false);
    EXPECT_EQ(length, out.size());
    EXPECT_EQ(library.writeChunkSet(nullptr, false), length);
    EXPECT_EQ(loadLE32(&out[0]), makeTag("WAV3"));
    EXPECT_EQ(loadLE32(&out[4]), 3064u + 16 + 4);
    const size_t names = 3064 + 16 + 4;
    EXPECT_EQ(loadLE32(&out[names]), makeTag("NAM1"));
    // Names: "Dog" in 8 bytes, 31 of the 40 letters in 36, "Bird" in 12, and 15 letters of two
    // bytes in 36: no letter is cut in half.
    EXPECT_EQ(loadLE32(&out[names + 4]), 8u + 8 + 36 + 12 + 36);

    // Read into another library: the same sounds (pooled), with their names; again adds nothing.
    SoundLibrary copy;
    EXPECT_EQ(copy.readChunkSet(out), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(copy.sound(0), library.sound(0));
    EXPECT_EQ(copy.name(1), std::string(31, 'x'));
    EXPECT_EQ(copy.name(2), "Bird");
    EXPECT_EQ(copy.name(3), accents.substr(0, 30));
    EXPECT_EQ(copy.readChunkSet(out), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(copy.count(), 4);
    // Wave files saved beside the first are named after whole letters too.
    library.setName(3, "x" + accents);
    test::TempDir dir;
    const auto files = saveSoundsAsWaves(library, {0, 3}, dir.file("first.wav"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], dir.file("x" + accents.substr(0, 6) + ".wav"));

    // All logarithmic: the compact set, with rates kept to within a hertz.
    SoundLibrary logs;
    for (int rate : {5512, 11025, 22050}) {
        auto s = Sound::create(Sound::Logarithmic);
        s->setData(Sound::Logarithmic, rate, Bytes(10, uint8_t(rate)), 10);
        logs.add(SoundPool::shared().add(std::move(s)), "log");
    }
    Bytes compact;
    ByteWriter c(&compact);
    logs.writeChunkSet(&c, false);
    EXPECT_EQ(loadLE32(&compact[0]), makeTag("WAV1"));
    const ChunkSequence chunks(compact);
    const ByteReader body(chunks.find(makeTag("WAV1"))->payload);
    const int rates[] = {5512, 11025, 22050};
    for (int k = 0; k < 3; ++k) {
        const double back = 256.0 * std::exp2(int32_t(body.u32At(4 + 16 * size_t(k) + 8)) / 4096.0);
        EXPECT_NEAR(back, rates[k], 1.0);
    }
}

TEST(SoundLibrary, DamagedChunkSetsAreRefused)
{
    SoundLibrary library;
    library.add(pooled(Sound::Pcm16Mono, 8000, Bytes(64, 9), 32), "tone");
    Bytes out;
    ByteWriter w(&out);
    library.writeChunkSet(&w, false);
    Bytes tooMany = out;
    storeLE32(&tooMany[8], 100000);
    SoundLibrary other;
    EXPECT_THROW(other.readChunkSet(tooMany), ArchiveError);
    Bytes badOffset = out;
    storeLE32(&badOffset[12], 0x7FFFFFF0);
    EXPECT_THROW(other.readChunkSet(badOffset), ArchiveError);
    EXPECT_EQ(other.count(), 0);
    EXPECT_TRUE(other.readChunkSet(Bytes(16, 0)).empty());
}

TEST(Sound, RecordingFormatsTheirTextsAndBuffers)
{
    EXPECT_EQ(describeRecordingFormat(0x001), "11.025 kHz, 8 bit, mono");
    EXPECT_EQ(describeRecordingFormat(0x040), "22.05 kHz, 16 bit, mono");
    EXPECT_EQ(describeRecordingFormat(0x800), "44.1 kHz, 16 bit, stereo");
    const RecordingFormat f = RecordingFormat::ofBit(0x080); // 22.05 kHz, 16 bit, stereo
    EXPECT_EQ(f.code, Sound::Pcm16Stereo);
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.bufferBytes(2), 176400u);
    EXPECT_EQ(f.bufferBytes(2) / size_t(f.blockAlign), 44100u);
    EXPECT_EQ(RecordingFormat::ofBit(0x002).bufferBytes(0.00015), 4u); // 3.3 bytes: 3, raised to 2 frames
    EXPECT_EQ(f.bufferBytes(0), 0u);
    EXPECT_EQ(RecordingFormat::ofBit(0x001).code, Sound::Pcm8Mono);
    EXPECT_EQ(RecordingFormat::ofBit(0x200).rate, 44100);
}

TEST(Sound, WaveformColumnsFollowTheLoudestSampleOfEachColumnInAnyForm)
{
    // Eight 8-bit samples: silence, then full swings.
    auto s = Sound::create(Sound::Pcm8Mono);
    const Bytes data{128, 128, 128, 128, 0, 255, 0, 255};
    s->setData(Sound::Pcm8Mono, 11025, data, 8);
    // A column is drawn once the next one begins: the reach of |0 - 128| is 50 pixels of 100,
    // of |255 - 128| 49; the silent half draws nothing.
    const auto drawn = [](const Sound& sound, double repeat) {
        std::vector<std::pair<int, int>> xy;
        for (const WaveColumn& c : waveformColumns(sound, 0, 8, 100, repeat))
            xy.emplace_back(c.x, c.reach);
        return xy;
    };
    using Columns = std::vector<std::pair<int, int>>;
    EXPECT_EQ(drawn(*s, 1), (Columns{{3, 50}, {4, 49}, {5, 50}, {6, 49}}));
    // Twice across the same width: two samples to a column, the loud half twice.
    EXPECT_EQ(drawn(*s, 2), (Columns{{1, 50}, {2, 50}, {3, 49}, {5, 50}, {6, 50}}));
    // The same swings in stereo and at 16 bits reach just as high: the picker's icon and the
    // Sound Effect dialog hold a full swing of any sound.
    for (int code : {Sound::Pcm8Stereo, Sound::Pcm16Mono, Sound::Pcm16Stereo}) {
        Bytes swings;
        for (uint8_t sample : data)
            for (int channel = 0; channel <= (code & 1); ++channel)
                if (code & 2) {
                    const uint16_t wide = uint16_t((sample - 128) * 256 + (sample == 255 ? 255 : 0));
                    swings.push_back(uint8_t(wide));
                    swings.push_back(uint8_t(wide >> 8));
                } else {
                    swings.push_back(sample);
                }
        auto wave = Sound::create(code);
        wave->setData(code, 11025, swings, 8);
        EXPECT_EQ(drawn(*wave, 1), drawn(*s, 1)) << code;
    }
    EXPECT_TRUE(waveformColumns(*s, 0, 8, 100, 11).empty());
    EXPECT_TRUE(waveformColumns(*Sound::create(), 0, 8, 100, 1).empty());

    EXPECT_EQ(sampleAtColumn(3, 106, 1000), 0);
    EXPECT_EQ(sampleAtColumn(53, 106, 1000), 500);
    EXPECT_EQ(sampleAtColumn(500, 106, 1000), 999);
    EXPECT_EQ(sampleAtColumn(-5, 106, 1000), 0);
}

TEST(FrameSound, EntriesKeepTheirSettingsAndPitchesComeBackWhole)
{
    for (int rate : {5512, 8000, 11025, 22050, 44100})
        for (int pitch = -36; pitch <= 36; ++pitch)
            ASSERT_EQ(pitchOfCode(pitchCode(pitch, rate), rate), pitch) << rate;
    EXPECT_EQ(pitchCode(0, 11025), 0);

    FrameSound settings;
    settings.sound = 3;
    settings.inFrames = true;
    settings.pan = -100;
    settings.volume = 90;
    settings.pitch = 7;
    settings.duration = 40;
    const FrameSoundEntry e = settings.stored(11025);
    EXPECT_EQ(e.words[0], 0x9C010003u);
    EXPECT_EQ(e.words[1], 346u);
    FrameSound back;
    ASSERT_TRUE(FrameSound::read(e, 11025, back));
    EXPECT_EQ(back.sound, 3);
    EXPECT_TRUE(back.inFrames);
    EXPECT_EQ(back.pan, -100);
    EXPECT_EQ(back.volume, 90);
    EXPECT_EQ(back.pitch, 7);
    EXPECT_EQ(back.duration, 40);
    // An entry marked as not played is skipped, and keeps its mark when changed.
    FrameSoundEntry marked = e;
    marked.words[0] |= 0x00040000;
    EXPECT_FALSE(FrameSound::read(marked, 11025, back));
    EXPECT_EQ(settings.stored(11025, marked).words[0] & 0x00FE0000, 0x00040000u);
}

TEST(PlayPlan, PitchDurationLoopsLevelsAndTheNextSoundCuttingIn)
{
    auto tone = Sound::create(Sound::Pcm16Mono);
    tone->setData(Sound::Pcm16Mono, 11025, Bytes(2000, 1), 1000);
    // The whole sound once, at its own rate, both sides at half level.
    PlayPlan whole = planPlay(*tone, 0, 127, 0, PlayPlan::kWhole);
    EXPECT_EQ(whole.rate, 11025);
    EXPECT_EQ(whole.bytes, 2000u);
    EXPECT_EQ(whole.loops, 0);
    EXPECT_NEAR(whole.left, 0.5, 0.001);
    EXPECT_NEAR(whole.right, 0.5, 0.001);
    // An octave up doubles the rate; two seconds of it is 44100 samples: 44 passes and 200 bytes.
    PlayPlan up = planPlay(*tone, 0, 127, 12, 40);
    EXPECT_EQ(up.rate, 22050);
    EXPECT_EQ(up.loops, 44);
    EXPECT_EQ(up.bytes, 200u);
    // Panned hard left: the left side at full level, the right silent.
    PlayPlan left = planPlay(*tone, -127, 127, 0, 1);
    EXPECT_NEAR(left.left, 1.0, 0.001);
    EXPECT_NEAR(left.right, 0.0, 0.001);
    EXPECT_EQ(left.bytes, 551u * 2);

    // In a video's track each sound stops where the next begins: a second-long sound at 0 ms cut
    // by a tenth of a second at 200 ms leaves silence from 300 ms, not the rest of the long one.
    auto longSound = Sound::create(Sound::Pcm16Mono), shortSound = Sound::create(Sound::Pcm16Mono);
    longSound->setData(Sound::Pcm16Mono, 11025, Bytes(2 * 11025, 0x20), 11025);
    shortSound->setData(Sound::Pcm16Mono, 11025, Bytes(2 * 1103, 0x20), 1103);
    const std::vector<int16_t> track = renderSoundTrack({{0, longSound.get()}, {200, shortSound.get()}}, 1000, 11025);
    const auto heard = [&](int fromMs, int toMs) {
        return std::count_if(track.begin() + fromMs * 2 * 11025 / 1000, track.begin() + toMs * 2 * 11025 / 1000,
                             [](int16_t sample) { return sample != 0; });
    };
    EXPECT_EQ(heard(0, 300), 300 * 2 * 11025 / 1000);
    EXPECT_EQ(heard(301, 1000), 0);
}

// The shipped sounds: every name has a recipe, each is a real, short, non-silent sound, and the
// libraries the build makes hold them by name.
TEST(SoundSynth, EveryShippedSoundIsMadeAndTheBuildHoldsThem)
{
    EXPECT_GE(pickerSoundNames().size(), 30u);
    for (const auto* names : {&pickerSoundNames(), &actionSoundNames()}) {
        for (const std::string& name : *names) {
            auto s = synthesizeSound(name);
            EXPECT_EQ(s->storedCode(), Sound::Pcm16Mono) << name;
            EXPECT_GT(s->sampleCount(), Synth::kRate / 20) << name;
            EXPECT_LT(s->sampleCount(), Synth::kRate * 3) << name;
            int peak = 0;
            for (size_t i = 0; i + 1 < s->playData().size(); i += 2)
                peak = std::max(peak, std::abs(int(int16_t(loadLE16(&s->playData()[i])))));
            EXPECT_GT(peak, 20000) << name;
        }
    }
    EXPECT_THROW(synthesizeSound("No such sound"), NotSupportedError);

    const std::filesystem::path data = std::filesystem::path(CELVANE_BINARY_DIR) / "share/celvane/Sounds";
    SoundLibrary picker, actions;
    picker.readChunkSet(readFile((data / "data.slb").string()));
    actions.readChunkSet(readFile((data / "Actions/data.slb").string()));
    EXPECT_EQ(size_t(picker.count()), pickerSoundNames().size());
    EXPECT_EQ(size_t(actions.count()), actionSoundNames().size());
    EXPECT_EQ(actions.name(0), "To end");
}

namespace {
// Remembers what it was asked to play; "plays" until told to stop.
struct FakePlayer : SoundPlayer {
    FakePlayer() { SoundPlayer::setCurrent(this); }
    ~FakePlayer() override { SoundPlayer::setCurrent(nullptr); }
    int play(const Sound& sound, int, int, int, int, const Sound* followOn) override
    {
        now = &sound;
        heard.push_back({&sound, followOn});
        return sound.rate();
    }
    void stop(bool) override { now = nullptr; }
    void endLoop() override {}
    bool poll() override { return now != nullptr; }
    const Sound* playing() const override { return now; }
    const Sound* now = nullptr;
    std::vector<std::pair<const Sound*, const Sound*>> heard;
};
} // namespace

TEST(ActionSounds, NamesMatchWhateverTheirCaseAndAPlayingSoundIsLeftAlone)
{
    test::TempDir dir;
    SoundLibrary library;
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(30, 11), 30), "zoom IN");
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(30, 12), 30), "Pencilling again");
    library.add(pooled(Sound::Pcm8Mono, 8000, Bytes(30, 13), 30), "To end");
    Bytes set;
    ByteWriter w(&set);
    library.writeChunkSet(&w, false);
    test::writeBytes(dir.file("data.slb"), set);

    ActionSoundLibrary actions;
    EXPECT_FALSE(actions.load(dir.file("nothing here")));
    ASSERT_TRUE(actions.load(dir.path().string()));
    FakePlayer player;
    actions.play("Zoom in");
    ASSERT_EQ(player.heard.size(), 1u);
    EXPECT_EQ(player.heard[0].first, library.sound(0));
    actions.play("Pencilling again"); // something plays: left alone
    EXPECT_EQ(player.heard.size(), 1u);
    actions.play("To end", true, "Pencilling again"); // forced, with a follow-on
    ASSERT_EQ(player.heard.size(), 2u);
    EXPECT_EQ(player.heard[1].second, library.sound(1));
    player.stop(true);
    actions.play("No such action");
    EXPECT_EQ(player.heard.size(), 2u);
    SoundSwitches::soundEffects = false;
    actions.play("Zoom in");
    SoundSwitches::soundEffects = true;
    EXPECT_EQ(player.heard.size(), 2u);
}

TEST(SoundLibrary, TheClipboardFormCarriesTheSelectedSoundsUpToItsEndMark)
{
    SoundLibrary picker;
    picker.add(pooled(Sound::Pcm8Mono, 8000, Bytes(40, 1), 40), "Dog");
    picker.add(pooled(Sound::Pcm8Mono, 8000, Bytes(40, 2), 40), "Cat");
    EXPECT_TRUE(copySounds(picker).empty()); // nothing selected
    picker.setSelected(1, true);
    Bytes data = copySounds(picker);
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(loadLE32(&data[data.size() - 4]), 0xFFFFFFFFu);
    data.insert(data.end(), {1, 2, 3}); // what follows the mark is not read

    SoundLibrary pasted;
    const std::vector<int> where = pasteSounds(pasted, data);
    ASSERT_EQ(pasted.count(), 1);
    EXPECT_EQ(pasted.name(0), "Cat");
    EXPECT_EQ(pasted.sound(0), picker.sound(1)); // one sound in the pool
    EXPECT_EQ(where, std::vector<int>{0});
    pasteSounds(pasted, data);
    EXPECT_EQ(pasted.count(), 1); // held already

    // A chunk length that runs past the data stops the walk; nothing is read out of bounds.
    Bytes broken = data;
    storeLE32(&broken[4], 0x7FFFFFF0);
    SoundLibrary none;
    EXPECT_TRUE(pasteSounds(none, broken).empty());
    EXPECT_TRUE(pasteSounds(none, Bytes{0xFF, 0xFF, 0xFF, 0xFF}).empty());
}
