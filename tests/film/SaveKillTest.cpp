// A save cut short by the program being killed leaves the film on disk as it was before the save
// or as the save made it, whole: never a mixture, never a stub.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestSupport.h"
#include "base/ByteIO.h"
#include "base/Settings.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Sprite.h"

using namespace celvane;

namespace {

// A film that codes badly (noise on every frame), so that saving it takes a while.
void saveNoisyFilm(const std::string& path, int frames, uint32_t seed)
{
    CCelvaneDoc doc(Settings::instance());
    doc.newDocument(ImageInfo::forFilm(640, 480, 8));
    Film& film = *doc.film();
    std::mt19937 noise(seed);
    for (int k = 0; k < frames; ++k) {
        if (k > 0)
            film.insertFrame(k, false);
        Sprite& s = *film.workingImage(k);
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.rowAddress(y)[x] = uint8_t(noise());
        film.markCurrentModified();
    }
    doc.save(path);
}

// Starts `celvane-tool recode IN OUT`; its process id.
pid_t startRecode(const std::string& in, const std::string& out)
{
    const pid_t child = fork();
    if (child == 0) {
        execl(CELVANE_TOOL, CELVANE_TOOL, "recode", in.c_str(), out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

} // namespace

TEST(SaveKill, AFilmKilledWhileSavingIsTheOldOneOrTheNewOneWhole)
{
    test::TempDir dir;
    const std::string source = dir.file("new.qfm"), target = dir.file("film.qfm"), whole = dir.file("whole.qfm");
    saveNoisyFilm(source, 24, 1);
    saveNoisyFilm(target, 2, 2);
    const Bytes before = readFile(target);

    // One save run to its end: how long it takes and what it leaves.
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(startRecode(source, whole), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto full = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const Bytes after = readFile(whole);

    // Killed at random moments, most of them late, where the file is being written.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> moment(0.8, 1.05);
    int old = 0, saved = 0;
    for (int run = 0; run < 10; ++run) {
        writeFileAtomically(target, before);
        const pid_t child = startRecode(source, target);
        std::this_thread::sleep_for(std::chrono::microseconds(int64_t(moment(random) * double(full.count()))));
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        const Bytes now = readFile(target);
        ASSERT_TRUE(now == before || now == after) << "run " << run << ": " << now.size() << " bytes";
        (now == before ? old : saved) += 1;
    }
    // The film still opens whichever it is.
    CCelvaneDoc reopened(Settings::instance());
    reopened.open(target);
    EXPECT_GE(reopened.film()->frameCount(), 2);
    RecordProperty("old", old);
    RecordProperty("saved", saved);
}
