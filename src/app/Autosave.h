#pragma once
// Copies of films with unsaved changes, written every so often (a Choices value, in minutes; 0
// turns it off) into the recovery folder, so that a crash or a flat battery loses at most that
// long of a child's work. A snapshot of the film is taken at once and coded and written to disk
// on a worker thread, so drawing does not wait. Copies go when their film is saved or closed on
// purpose, and all of a run's copies go when it exits cleanly; those of a run that did not are
// offered at the next start. Beside each copy a small file names the film: its title as its
// window showed it, a line feed, then the file it was saved to (nothing when it never was).

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <chrono>
#include <future>
#include <map>
#include <string>
#include <vector>

namespace celvane {

class CCelvaneDoc;

class Autosave : public QObject {
    Q_OBJECT
public:
    struct OpenFilm {
        CCelvaneDoc* document;
        std::string title;
    };
    using Documents = std::function<std::vector<OpenFilm>()>;
    // A copy a run left behind and the film it was made of.
    struct LeftCopy {
        std::filesystem::path copy;
        std::string title; // empty when the copy has no name beside it
        std::string path;  // the film's own file; empty for a film never saved as a film
    };

    explicit Autosave(Documents documents);
    ~Autosave() override;

    // The recovery folder: "celvane/recovery" in the XDG state folder.
    static std::filesystem::path folder();
    // Copies left by runs of the program that have ended without exiting cleanly, oldest first.
    static std::vector<LeftCopy> leftBehind();
    // A copy and the name beside it go.
    static void remove(const std::filesystem::path& copy);

    // Minutes between copies, from the settings; 0 stops them.
    void applySettings();
    // Copies every modified film now (the worker writes them one after the other).
    void saveNow();
    // Waits until the copies asked for are on disk.
    void finishWriting();
    // A round of copies is still being written.
    bool writing() const
    {
        return writing_.valid() && writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    }
    // The film was saved or closed on purpose: its copy goes.
    void forget(const CCelvaneDoc* doc);

private:
    std::filesystem::path copyOf(const CCelvaneDoc* doc);

    Documents documents_;
    QTimer timer_;
    std::map<const CCelvaneDoc*, std::filesystem::path> copies_;
    int made_ = 0;
    std::future<std::string> writing_; // what went wrong, or empty
};

} // namespace celvane
