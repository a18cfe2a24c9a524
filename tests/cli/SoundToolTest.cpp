// The batch tool and sounds: waves and libraries converted both ways, described as JSON, and a
// sound put on a frame of a film.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "QtTestSupport.h"
#include "sound/SoundLibrary.h"
#include "sound/SoundPool.h"

using namespace celvane;

namespace {

const auto tool = test::runTool;

Sound* toneSound(double hertz, int samples, int rate = 11025)
{
    Bytes data;
    ByteWriter w(&data);
    for (int i = 0; i < samples; ++i)
        w.u16(uint16_t(int16_t(std::lround(8000 * std::sin(2 * M_PI * hertz * i / rate)))));
    auto s = Sound::create(Sound::Pcm16Mono);
    s->setData(Sound::Pcm16Mono, rate, data, samples);
    return SoundPool::shared().add(std::move(s));
}

void writeWave(const std::string& path, const Sound& sound)
{
    Bytes wave;
    ByteWriter w(&wave);
    sound.writeWave(&w);
    test::writeBytes(path, wave);
}

} // namespace

TEST(SoundTool, WavesAndLibrariesBothWays)
{
    test::TempDir dir;
    writeWave(dir.file("bell.wav"), *toneSound(880, 5000));
    ASSERT_EQ(tool("convert '" + dir.file("bell.wav") + "' '" + dir.file("one.slb") + "'").status, 0);
    const auto info = tool("info --json '" + dir.file("one.slb") + "'");
    ASSERT_EQ(info.status, 0) << info.out;
    EXPECT_EQ(info.out, "{\"sounds\":[{\"name\":\"bell\",\"code\":2,\"rate\":11025,\"channels\":1,\"samples\":5000}]}\n");

    // A library of four goes out as waves: the first to the name given, the others beside it by
    // the first eight letters of their names.
    SoundLibrary library;
    const char* names[] = {"Dog", "Cat", "Bird", "Engine noise"};
    for (int i = 0; i < 4; ++i)
        library.add(toneSound(200 + 100 * i, 100 + i), names[i]);
    Bytes set;
    ByteWriter w(&set);
    library.writeChunkSet(&w, false);
    test::writeBytes(dir.file("four.slb"), set);
    ASSERT_EQ(tool("convert '" + dir.file("four.slb") + "' '" + dir.file("first.wav") + "'").status, 0);
    for (const char* file : {"first.wav", "Cat.wav", "Bird.wav", "Engine n.wav"})
        EXPECT_TRUE(std::filesystem::exists(dir.file(file))) << file;
    const auto cat = tool("info --json '" + dir.file("Cat.wav") + "'");
    EXPECT_NE(cat.out.find("\"samples\":101"), std::string::npos) << cat.out;

    // Something that is no sound is refused with the program's message.
    test::writeText(dir.file("not.wav"), "hello");
    EXPECT_EQ(tool("convert '" + dir.file("not.wav") + "' '" + dir.file("x.slb") + "'").status, 1);
}

TEST(SoundTool, ASoundPutOnAFrameIsListedAndSurvivesSaving)
{
    test::TempDir dir;
    writeWave(dir.file("drum.wav"), *toneSound(150, 2205));
    ASSERT_EQ(tool("new --width 16 --height 16 --depth 8 --frames 3 '" + dir.file("f.qfm") + "'").status, 0);
    const auto put = tool("sound '" + dir.file("f.qfm") + "' 1 '" + dir.file("drum.wav") + "' -o '" + dir.file("g.qfm")
                          + "' --pitch 12 --volume 127,0 --loops 3");
    ASSERT_EQ(put.status, 0) << put.out;
    const auto info = tool("info --json '" + dir.file("g.qfm") + "'");
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("\"sounds\":[{\"name\":\"drum\",\"code\":2,\"rate\":11025"), std::string::npos) << info.out;
    // 0.2 s an octave up lasts 0.1 s: three passes are six twentieths.
    EXPECT_NE(info.out.find("\"frameSounds\":[[],[{\"sound\":0,\"pan\":-127,\"volume\":63,\"pitch\":12,\"duration\":6,"),
              std::string::npos)
        << info.out;
    // The library of the film's sounds, and the film's sounds as waves.
    ASSERT_EQ(tool("convert '" + dir.file("g.qfm") + "' '" + dir.file("g.slb") + "'").status, 0);
    EXPECT_NE(tool("info --json '" + dir.file("g.slb") + "'").out.find("drum"), std::string::npos);
    ASSERT_EQ(tool("convert '" + dir.file("g.qfm") + "' '" + dir.file("out.wav") + "'").status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.wav")));

    EXPECT_EQ(tool("sound '" + dir.file("f.qfm") + "' 9 '" + dir.file("drum.wav") + "' -o '" + dir.file("h.qfm") + "'").status, 2);
    EXPECT_EQ(tool("sound '" + dir.file("f.qfm") + "' 0 '" + dir.file("drum.wav") + "' -o '" + dir.file("h.qfm") + "' --pitch 40").status, 2);
}
