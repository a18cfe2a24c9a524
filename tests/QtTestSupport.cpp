#include "QtTestSupport.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QUrl>
#include <array>
#include <cstdlib>

#include "app/CMainFrame.h"
#include "app/ExportDialog.h"
#include "base/Settings.h"

namespace celvane::test {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "celvane-tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new GuardedApplication(argc, argv);
    }
}

MessageAnswer RecordingSink::show(const std::string& text, MessageButtons buttons, MessageIcon)
{
    shown.push_back(text);
    if (!answers.empty()) {
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return firstButton(buttons);
}

StartedProgram::StartedProgram(const ProgramOptions& options)
{
    ensureApplication();
    Settings::useFile(options.settingsFile.empty() ? dir.path() / "celvane.ini" : options.settingsFile);
    Settings& s = Settings::instance();
    s.writeInt("Settings", "Splash", options.splash ? 1 : 0);
    if (!options.singleDocument)
        s.writeInt("Settings", "SingleDoc", 0);
    if (options.filmWidth > 0) {
        s.writeInt("Settings", "UserDefaultFilm", 1);
        s.writeInt("Default", "Width", options.filmWidth);
        s.writeInt("Default", "Height", options.filmHeight);
    }
    if (options.filmDepth > 0) {
        s.writeInt("Settings", "UserDefaultFilm", 1);
        s.writeInt("Default", "Depth", options.filmDepth);
    }
    s.writeInt("Default", "Scale", options.scale);
    if (options.settings)
        options.settings(s);
    if (options.messages)
        Reporter::setSink(options.messages);
    // Recovery copies stay with the test's own files.
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(
                                  (options.stateFolder.empty() ? dir.path() / "state" : options.stateFolder).string()));
    EXPECT_TRUE(app.start(options.arguments));
    if (options.window.isValid()) {
        frame().resize(options.window);
        QApplication::processEvents();
    }
}

BoxPresser::BoxPresser()
{
    ensureApplication();
    connect(&timer_, &QTimer::timeout, this, &BoxPresser::look);
    timer_.start(10);
}

void BoxPresser::look()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (box != current_) {
        current_ = box;
        seen.push_back({box->text().toStdString(), splashVisible(), box->width()});
    }
    if (!presses.empty() && presses.front().when && !presses.front().when())
        return;
    QAbstractButton* button = presses.empty() ? box->defaultButton() : box->button(presses.front().button);
    if (!button && presses.empty())
        button = box->buttons().value(0);
    if (!presses.empty())
        presses.pop_front();
    if (button)
        button->click();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // as the main loop does
    }
    return done();
}

bool splashVisible()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget* w) { return w->windowType() == Qt::SplashScreen && w->isVisible(); });
}

ToolRun runTool(const std::string& arguments)
{
    ToolRun r;
    r.status = runCommand(std::string(CELVANE_TOOL) + " " + arguments + " 2>&1", &r.out);
    return r;
}

std::optional<ImportOptions> ScriptedImportOptions::ask(const ImportOptions& current, QWidget*)
{
    ++asked;
    if (answers.empty())
        return current;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedChooser::next()
{
    if (paths.empty())
        return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
}

void answerExportDialog(const std::string& path, bool selectionOnly)
{
    QTimer::singleShot(0, [path, selectionOnly] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setPath(path);
        dialog->setSelectionOnly(selectionOnly);
        dialog->accept();
    });
}

void dropFiles(QWidget& target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPoint middle = target.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

namespace {

std::array<int, 64> thumbnail(const QImage& image)
{
    std::array<int, 64> cells{}, counts{};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const size_t cell = size_t((y * 8 / image.height()) * 8 + x * 8 / image.width());
            cells[cell] += qGray(image.pixel(x, y));
            ++counts[cell];
        }
    for (size_t i = 0; i < 64; ++i)
        cells[i] = counts[i] ? cells[i] / counts[i] : 255;
    return cells;
}

} // namespace

std::string thumbnailHex(const QImage& image)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (int c : thumbnail(image)) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

void expectThumbnails(const std::map<std::string, QImage>& pictures, const std::map<std::string, std::string>& looked)
{
    for (const auto& [name, expected] : looked) {
        const auto it = pictures.find(name);
        if (it == pictures.end()) {
            ADD_FAILURE() << name << " did not open";
            continue;
        }
        EXPECT_LE(thumbnailDifference(it->second, expected), 6) << name << " looks like " << thumbnailHex(it->second);
    }
}

int thumbnailDifference(const QImage& image, const std::string& expected)
{
    if (expected.size() != 128 || expected.find_first_not_of("0123456789abcdef") != std::string::npos)
        return 255;
    const std::array<int, 64> cells = thumbnail(image);
    int worst = 0;
    for (size_t i = 0; i < 64; ++i)
        worst = std::max(worst, std::abs(cells[i] - std::stoi(expected.substr(2 * i, 2), nullptr, 16)));
    return worst;
}

} // namespace celvane::test
