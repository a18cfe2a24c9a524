#pragma once
// For tests that drive windows: one QApplication for the whole test program (offscreen), and a
// message sink and file chooser that answer instead of a person.

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/FileDialogs.h"
#include "app/ImportOptionsDialog.h"
#include "app/QtMessageSink.h"
#include "base/Reporter.h"
#include "base/Settings.h"

namespace celvane::test {

void ensureApplication();

class RecordingSink : public MessageSink {
public:
    RecordingSink() { Reporter::setSink(this); }
    ~RecordingSink() override { Reporter::setSink(nullptr); }
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon) override;

    std::vector<std::string> shown;
    std::deque<MessageAnswer> answers; // given in turn; the first button when none is left
};

class ScriptedChooser : public FileChooser {
public:
    ScriptedChooser() { FileDialogs::setChooser(this); }
    ~ScriptedChooser() override { FileDialogs::setChooser(nullptr); }
    std::optional<std::string> openFile(const std::string&, const std::string&, const std::string& folder) override
    {
        folders.push_back(folder);
        return next();
    }
    std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string& suggested) override
    {
        folders.push_back(std::filesystem::path(suggested).parent_path().string());
        return next();
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return next(); }

    std::deque<std::optional<std::string>> paths;
    // Where each dialog started, in turn.
    std::vector<std::string> folders;

private:
    std::optional<std::string> next();
};

struct ProgramOptions {
    // A film of this size from the default film settings (0: the program's own default).
    int filmWidth = 0;
    int filmHeight = 0;
    int filmDepth = 0;
    int scale = 100;
    QSize window{}; // the main window's size, when given
    bool singleDocument = true;
    QStringList arguments{};
    bool splash = false;
    // Boxes go here instead of the recording sink (for example real boxes a test presses).
    MessageSink* messages = nullptr;
    // A settings file kept from an earlier start; by default a new one of the program's own.
    std::filesystem::path settingsFile{};
    // The folder recovery copies go to; by default one of the test's own.
    std::filesystem::path stateFolder{};
    // Writes further settings before the program starts.
    std::function<void(Settings&)> settings{};
};

// Real message boxes, pressed as a person would once each is up: the box's own event loop runs
// meanwhile, as it does for a person. A box is pressed when the first queued press says it is
// time (the first button when none is queued).
class BoxPresser : public QObject, public QtMessageSink {
public:
    struct Press {
        QMessageBox::StandardButton button;
        std::function<bool()> when{};
    };
    struct Seen {
        std::string text;
        bool splashVisible; // a splash window was showing as the box came up
        int width;
    };
    BoxPresser();

    std::deque<Press> presses;
    std::vector<Seen> seen;

private:
    void look();
    QTimer timer_;
    QPointer<QMessageBox> current_;
};

// Runs the event loop until `done` holds or the time is up; returns `done()`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
bool splashVisible();
// Answers the Export dialog that the next command opens: a name, the selection box, accepted.
void answerExportDialog(const std::string& path, bool selectionOnly = false);
// Files dragged onto a widget and dropped, as a file manager does it.
void dropFiles(QWidget& target, const QStringList& paths);

// Answers the import options question in place of the sheet.
class ScriptedImportOptions : public ImportOptionsQuestion {
public:
    ScriptedImportOptions() { ImportOptionsQuestion::set(this); }
    ~ScriptedImportOptions() override { ImportOptionsQuestion::set(nullptr); }
    std::optional<ImportOptions> ask(const ImportOptions& current, QWidget* parent) override;

    // Given in turn; OK on the options as they stand when none is left.
    std::deque<std::optional<ImportOptions>> answers;
    int asked = 0;
};

// The program started as a person would, on a settings file of its own (no splash), with a
// recording message sink, a scripted file chooser and scripted import options.
struct StartedProgram {
    TempDir dir;
    RecordingSink sink;
    ScriptedChooser chooser;
    ScriptedImportOptions importOptions;
    CelvaneApp app;

    explicit StartedProgram(const ProgramOptions& options = {});
    CMainFrame& frame() const { return *app.mainFrame(); }
    CCelvaneView& view() const { return *frame().activeView(); }
};

// What a picture looks like from afar: the mean grey of each of 8 x 8 cells, as 128 hex
// digits, and the largest difference of a picture's cells from such a string (255 when the
// string is not one).
std::string thumbnailHex(const QImage& image);
int thumbnailDifference(const QImage& image, const std::string& expected);
// Each named picture (looked at once by eye) within 6 grey levels of its thumbnail; a failure
// says what the picture looks like now.
void expectThumbnails(const std::map<std::string, QImage>& pictures, const std::map<std::string, std::string>& looked);

// The batch tool run with arguments: its exit status and what it printed (both streams).
struct ToolRun {
    int status;
    std::string out;
};
ToolRun runTool(const std::string& arguments);

} // namespace celvane::test
