#include "app/Autosave.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <utility>
#include <sys/resource.h>
#include <unistd.h>

#include "app/Choices.h"
#include "base/ByteIO.h"
#include "base/Reporter.h"
#include "base/Settings.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"

namespace celvane {

namespace {

constexpr int kMsPerMinute = 60 * 1000;
constexpr int kWorkerNice = 19; // the lowest priority

// A copy is named after the process that made it: "<pid>-<n>.qfm".
pid_t ownerOf(const std::filesystem::path& copy)
{
    const std::string name = copy.filename().string();
    return pid_t(std::atoi(name.c_str()));
}

bool running(pid_t pid) { return pid > 0 && (pid == ::getpid() || ::kill(pid, 0) == 0); }

} // namespace

Autosave::Autosave(Documents documents) : documents_(std::move(documents))
{
    connect(&timer_, &QTimer::timeout, this, &Autosave::saveNow);
    applySettings();
}

Autosave::~Autosave()
{
    finishWriting();
    for (const auto& [doc, copy] : copies_) {
        std::error_code ignored;
        std::filesystem::remove(copy, ignored);
    }
}

std::filesystem::path Autosave::folder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = state && *state ? std::filesystem::path(state)
                                                       : std::filesystem::path(home ? home : "/tmp") / ".local/state";
    return base / "celvane" / "recovery";
}

std::vector<std::filesystem::path> Autosave::leftBehind()
{
    std::vector<std::filesystem::path> left;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), error))
        if (entry.path().extension() == ".qfm" && !running(ownerOf(entry.path())))
            left.push_back(entry.path());
    std::sort(left.begin(), left.end(), [](const auto& a, const auto& b) {
        std::error_code e;
        return std::filesystem::last_write_time(a, e) < std::filesystem::last_write_time(b, e);
    });
    return left;
}

void Autosave::applySettings()
{
    const int minutes = OptionsChoices::load(Settings::instance(), {}).autosaveMinutes;
    if (minutes == 0)
        timer_.stop();
    else
        timer_.start(minutes * kMsPerMinute);
}

std::filesystem::path Autosave::copyOf(const CCelvaneDoc* doc)
{
    auto it = copies_.find(doc);
    if (it == copies_.end())
        it = copies_.emplace(doc, folder() / (std::to_string(::getpid()) + "-" + std::to_string(++made_) + ".qfm")).first;
    return it->second;
}

void Autosave::saveNow()
{
    // One round at a time: a round still being written lets this one pass.
    if (writing_.valid()) {
        if (writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        if (const std::string failed = writing_.get(); !failed.empty())
            Reporter::message("The recovery copy could not be written: " + failed, MessageButtons::Ok,
                              MessageIcon::Warning);
    }
    // The window's thread only takes snapshots; coding the drawn-on frame and putting the file
    // together happen on the worker, which touches nothing the films still use.
    std::vector<std::pair<std::filesystem::path, FilmSnapshot>> round;
    for (CCelvaneDoc* doc : documents_())
        if (const Film* film = doc->isModified() ? doc->film() : nullptr)
            round.emplace_back(copyOf(doc), film->snapshot());
    if (round.empty())
        return;
    writing_ = std::async(std::launch::async, [round = std::move(round)]() mutable -> std::string {
        // Each snapshot goes as soon as its file is put together, before the slow write to disk:
        // until then a film copies what it changes of the frames they share.
        auto written = std::move(round);
        // Coding and writing wait for the window's thread, never the other way round.
        ::setpriority(PRIO_PROCESS, id_t(::gettid()), kWorkerNice);
        try {
            std::filesystem::create_directories(folder());
            for (auto& [path, snapshot] : written) {
                const Bytes file = std::exchange(snapshot, {}).fileBytes();
                writeFileAtomically(path.string(), file);
            }
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    });
}

void Autosave::finishWriting()
{
    if (writing_.valid())
        writing_.get();
}

void Autosave::forget(const CCelvaneDoc* doc)
{
    const auto it = copies_.find(doc);
    if (it == copies_.end())
        return;
    finishWriting();
    std::error_code ignored;
    std::filesystem::remove(it->second, ignored);
    copies_.erase(it);
}

} // namespace celvane
