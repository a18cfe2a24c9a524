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
#include "film/FileType.h"
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

// The film a copy was made of is named in a file beside it.
std::filesystem::path nameOf(std::filesystem::path copy) { return copy.replace_extension(".name"); }

constexpr size_t kLongestName = 64 * 1024;

Bytes nameFile(const std::string& title, const std::string& path)
{
    Bytes bytes(title.begin(), title.end());
    bytes.push_back('\n');
    bytes.insert(bytes.end(), path.begin(), path.end());
    return bytes;
}

// A name that cannot be read, or is not one, leaves the copy nameless and unsaved.
void readName(Autosave::LeftCopy& left)
{
    std::error_code error;
    const std::filesystem::path name = nameOf(left.copy);
    const auto size = std::filesystem::file_size(name, error);
    if (error || size > kLongestName)
        return;
    std::string text;
    try {
        const Bytes bytes = readFile(name.string());
        text.assign(bytes.begin(), bytes.end());
    } catch (const std::exception&) {
        return;
    }
    const size_t end = text.find('\n');
    if (end == std::string::npos)
        return;
    left.title = text.substr(0, end);
    left.path = text.substr(end + 1);
}

} // namespace

Autosave::Autosave(Documents documents) : documents_(std::move(documents))
{
    connect(&timer_, &QTimer::timeout, this, &Autosave::saveNow);
    applySettings();
}

Autosave::~Autosave()
{
    finishWriting();
    for (const auto& [doc, copy] : copies_)
        remove(copy);
}

std::filesystem::path Autosave::folder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = state && *state ? std::filesystem::path(state)
                                                       : std::filesystem::path(home ? home : "/tmp") / ".local/state";
    return base / "celvane" / "recovery";
}

std::vector<Autosave::LeftCopy> Autosave::leftBehind()
{
    std::vector<LeftCopy> left;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), error))
        if (entry.path().extension() == ".qfm" && !running(ownerOf(entry.path()))) {
            left.push_back({entry.path(), {}, {}});
            readName(left.back());
        }
    std::sort(left.begin(), left.end(), [](const LeftCopy& a, const LeftCopy& b) {
        std::error_code e;
        return std::filesystem::last_write_time(a.copy, e) < std::filesystem::last_write_time(b.copy, e);
    });
    return left;
}

void Autosave::remove(const std::filesystem::path& copy)
{
    std::error_code ignored;
    std::filesystem::remove(copy, ignored);
    std::filesystem::remove(nameOf(copy), ignored);
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
    struct Copy {
        std::filesystem::path path;
        Bytes name;
        FilmSnapshot snapshot;
    };
    std::vector<Copy> round;
    for (const auto& [doc, title] : documents_())
        if (const Film* film = doc->isModified() ? doc->film() : nullptr)
            // A film read from another kind of file was never saved as the film it is now.
            round.push_back({copyOf(doc), nameFile(title, doc->fileType() == FileType::Film ? doc->pathName() : ""),
                             film->snapshot()});
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
            for (auto& [path, name, snapshot] : written) {
                const Bytes file = std::exchange(snapshot, {}).fileBytes();
                // The name first: a copy is never there without it.
                writeFileAtomically(nameOf(path).string(), name);
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
    remove(it->second);
    copies_.erase(it);
}

} // namespace celvane
