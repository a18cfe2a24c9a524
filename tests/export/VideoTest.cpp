#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "../film/FilmTestSupport.h"
#include "TestSupport.h"
#include "export/VideoWriter.h"
#include "film/FileType.h"
#include "film/FrameSound.h"
#include "sound/SoundPool.h"

using namespace celvane;

namespace {
std::unique_ptr<Film> paintedFilm(int frames, int width, int height, int motion)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(width, height, 8);
    film->load(0, &info, nullptr, FileType::Film);
    for (int i = 1; i < frames; ++i)
        film->insertFrame(i, false);
    for (int i = 0; i < frames; ++i) {
        // A drawing: a filled shape moving across white paper, and a line.
        Sprite* s = film->workingImage(i);
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) {
                const bool shape = x >= 4 + i * 6 && x < 20 + i * 6 && y >= 6 && y < 22;
                const bool line = y == s->height() - 4;
                s->rowAddress(y)[x] = shape ? 34 : line ? 2 : 255;
            }
        film->markCurrentModified();
    }
    GraphicSummary summary;
    film->getSummary(summary);
    summary.motion = motion;
    film->setSummary(summary);
    return film;
}

bool haveFfmpeg() { return test::runCommand("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") == 0; }
} // namespace

TEST(Video, TimelineAddsPausesAndTheReturnJourney)
{
    auto film = paintedFilm(4, 8, 8, Film::YoYo);
    film->setFade(1, FrameFade{0, -1, 5}, FrameFade::PauseField);
    const auto timeline = videoTimeline(*film, film->framesToWrite(false));
    std::vector<int> frames;
    std::vector<int64_t> times;
    for (const TimedFrame& t : timeline) {
        frames.push_back(t.frame);
        times.push_back(t.startMs);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(times, (std::vector<int64_t>{0, 80, 210, 290, 370, 450}));
    // Marked frames only: the return journey runs over them.
    frames.clear();
    for (const TimedFrame& t : videoTimeline(*film, {0, 2, 3}))
        frames.push_back(t.frame);
    EXPECT_EQ(frames, (std::vector<int>{0, 2, 3, 2}));
    film = paintedFilm(3, 8, 8, Film::Loop);
    EXPECT_EQ(videoTimeline(*film, film->framesToWrite(false)).size(), 3u);
}

// Other programs read our AVI: the right number of frames at the right times, and pictures
// within the coder's loss.
TEST(Video, AviDecodesWithFfmpeg)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    test::TempDir dir;
    auto film = paintedFilm(4, 62, 30, Film::YoYo); // sizes that are not multiples of 4
    const std::string avi = dir.file("walk.avi");
    writeVideo(*film, avi, VideoKind::Avi);
    std::string times;
    ASSERT_EQ(test::runCommand("ffprobe -v error -select_streams v -show_entries frame=pts_time -of csv=p=0 " + avi,
                               &times),
              0);
    std::istringstream in(times);
    std::vector<double> seen;
    for (double t; in >> t;)
        seen.push_back(t);
    EXPECT_EQ(seen, (std::vector<double>{0, 0.08, 0.16, 0.24, 0.32, 0.4}));

    ASSERT_EQ(test::runCommand("ffmpeg -v error -i " + avi + " -f rawvideo -pix_fmt rgb24 " + dir.file("a.rgb")), 0);
    const Bytes rgb = readFile(dir.file("a.rgb"));
    const int w = 64, h = 32; // padded to what the coder takes
    ASSERT_EQ(rgb.size(), size_t(6 * w * h * 3));
    const int order[] = {0, 1, 2, 3, 2, 1};
    for (int k = 0; k < 6; ++k) {
        const Sprite* s = film->workingImage(order[k]);
        double error = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 62; ++x) {
                const uint32_t word = s->colourWordOf(s->readPixel(x, y));
                for (int c = 0; c < 3; ++c) {
                    const double d = double(rgb[size_t(((k * h + y) * w + x) * 3 + c)]) - double((word >> (8 * (c + 1))) & 0xFF);
                    error += d * d;
                }
            }
        const double psnr = 10 * std::log10(255.0 * 255.0 / (error / (62 * 30 * 3) + 1e-9));
        EXPECT_GE(psnr, 30.0) << "frame " << k;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file(".celvane-walk.avi")));
}

TEST(Video, Mp4WithOddSizesAndCancelLeaveNoFile)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "ffmpeg is not installed";
    test::TempDir dir;
    auto film = paintedFilm(3, 33, 17, Film::Loop);
    const std::string mp4 = dir.file("walk.mp4");
    writeVideo(*film, mp4, VideoKind::Mp4);
    std::string count;
    ASSERT_EQ(test::runCommand("ffprobe -v error -count_frames -select_streams v -show_entries "
                               "stream=nb_read_frames,width,height -of csv=p=0 " + mp4, &count), 0);
    EXPECT_EQ(count, "34,18,3\n");

    // Where no file can be made the failure says which file and why.
    try {
        writeVideo(*film, mp4 + "/walk.mp4", VideoKind::Mp4);
        ADD_FAILURE() << "written under a file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), mp4 + "/walk.mp4");
        EXPECT_EQ(e.reason(), "Not a directory");
    }

    const std::string cancelled = dir.file("gone.avi");
    EXPECT_THROW(writeVideo(*film, cancelled, VideoKind::Avi, {}, [](int done, int) { return done < 2; }), UserCancel);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // only walk.mp4
}

// A video carries the frames' sounds where the frames play them; the track is as long as the film.
TEST(Video, VideosCarryTheFramesSoundsInStep)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "no ffmpeg";
    auto film = paintedFilm(10, 32, 32, Film::Loop); // 10 frames of 80 ms: 0.8 s
    // A 440 Hz tone on frame 5 starts at 400 ms.
    Bytes tone;
    ByteWriter w(&tone);
    for (int i = 0; i < 11025 / 10; ++i)
        w.u16(uint16_t(int16_t(std::lround(12000 * std::sin(2 * M_PI * 440 * i / 11025)))));
    auto sound = Sound::create(Sound::Pcm16Mono);
    sound->setData(Sound::Pcm16Mono, 11025, tone, 11025 / 10);
    film->soundLibrary().add(SoundPool::shared().add(std::move(sound)), "tone");
    FrameSound settings;
    film->setSoundEntry(5, 0, settings.stored(11025));

    const std::vector<SoundCue> cues = soundCues(*film, videoTimeline(*film, film->framesToWrite(false)));
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].startMs, 400);
    const std::vector<int16_t> track = renderSoundTrack(cues, 800, 44100);
    ASSERT_EQ(track.size(), 2u * 44100 * 800 / 1000);
    EXPECT_EQ(track[2 * 44100 * 399 / 1000], 0); // silent before the frame
    int loud = 0;
    for (size_t i = 0; i < track.size(); i += 2)
        loud += std::abs(track[i]) > 300;
    EXPECT_NEAR(loud, 4410, 300); // a tenth of a second at 44.1 kHz

    test::TempDir dir;
    const std::string mp4 = dir.file("tone.mp4");
    writeVideo(*film, mp4, VideoKind::Mp4);
    std::string out;
    ASSERT_EQ(test::runCommand("ffprobe -v error -select_streams a -show_entries stream=codec_name,channels,sample_rate,duration "
                               "-of csv=p=0 "
                               + mp4,
                               &out),
              0);
    std::istringstream fields(out);
    std::string codec, rate, channels, duration;
    std::getline(fields, codec, ',');
    std::getline(fields, rate, ',');
    std::getline(fields, channels, ',');
    std::getline(fields, duration, ',');
    EXPECT_EQ(codec, "aac");
    EXPECT_EQ(rate, "44100");
    EXPECT_EQ(channels, "2");
    EXPECT_NEAR(std::stod(duration), 0.8, 0.05);

    // The AVI carries the same track as 16-bit PCM beside its pictures, and both last as long as the film.
    const std::string avi = dir.file("tone.avi");
    writeVideo(*film, avi, VideoKind::Avi);
    // Its length in sample frames for the sound, in milliseconds for the pictures.
    ASSERT_EQ(test::runCommand("ffprobe -v error -show_entries stream=codec_type,codec_name,channels,sample_rate,nb_frames "
                               "-of csv=p=0 " + avi, &out), 0);
    EXPECT_EQ(out, "msvideo1,video,800\npcm_s16le,audio,44100,2,35280\n");
}
