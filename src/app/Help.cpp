#include "app/Help.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include "app/CChoices.h"
#include "app/CPrintDialog.h"
#include "app/CToolPanel.h"
#include "app/ColourEditor.h"
#include "app/ExportDialog.h"
#include "app/FileSummaryDialog.h"
#include "app/HelpWindow.h"
#include "app/ImportDialog.h"
#include "app/ImportOptionsDialog.h"
#include "app/NewFilmDialog.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CRecordDialog.h"
#include "app/sound/CSoundEffectDialog.h"
#include "base/Errors.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "platform/DataFolder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswscale/swscale.h>
}

namespace celvane::Help {

namespace {

constexpr Topic kTopics[] = {
    {"making", "Making a film"},
    {"drawing", "Drawing"},
    {"text", "Writing text"},
    {"stamps", "Stamps"},
    {"ghosting", "Ghosting"},
    {"playing", "Playing"},
    {"sounds", "Sounds"},
    {"undo", "Undo and recovery copies"},
    {"saving", "Saving"},
    {"importing", "Bringing in pictures"},
    {"exporting", "Exporting"},
    {"printing", "Printing and flick books"},
    {"choices", "Choices"},
};

struct WindowPage {
    const QMetaObject* kind;
    const char* page;
};
const WindowPage kWindowPages[] = {
    {&NewFilmDialog::staticMetaObject, "making"},
    {&ColourEditor::staticMetaObject, "drawing"},
    {&CSoundEffectDialog::staticMetaObject, "sounds"},
    {&CRecordDialog::staticMetaObject, "sounds"},
    {&ImportDialog::staticMetaObject, "importing"},
    {&ImportOptionsDialog::staticMetaObject, "importing"},
    {&FileSummaryDialog::staticMetaObject, "importing"},
    {&ExportDialog::staticMetaObject, "exporting"},
    {&CPrintDialog::staticMetaObject, "printing"},
    {&CChoices::staticMetaObject, "choices"},
};

// Tool panels are named after their tools.
struct PanelPage {
    const char* title;
    const char* page;
};
const PanelPage kPanelPages[] = {{"Text", "text"}, {"Snap Shot", "stamps"}};

QString versionOf(unsigned packed)
{
    return QString("%1.%2.%3").arg(AV_VERSION_MAJOR(packed)).arg(AV_VERSION_MINOR(packed)).arg(AV_VERSION_MICRO(packed));
}

class F1Watcher : public QObject {
public:
    explicit F1Watcher(QWidget& mainWindow) : QObject(&mainWindow), mainWindow_(mainWindow)
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool press = event->type() == QEvent::KeyPress;
        if ((!press && event->type() != QEvent::ShortcutOverride) || !watched->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        const QString page = pageFor(window);
        if (page.isEmpty())
            return false;
        // Taken as a key of this window's own, so that the main window's Help > Contents stays out.
        key->accept();
        if (press)
            openGuide(&mainWindow_, page);
        return true;
    }

private:
    QWidget& mainWindow_;
};

} // namespace

std::span<const Topic> topics() { return kTopics; }

std::filesystem::path guideFolder() { return dataFolder() / "help"; }

std::filesystem::path guidePage(const QString& page) { return guideFolder() / (page + ".html").toStdString(); }

QString pageFor(const QWidget* window)
{
    for (const WindowPage& known : kWindowPages)
        if (window->metaObject()->inherits(known.kind))
            return known.page;
    if (qobject_cast<const CToolPanel*>(window)) {
        for (const PanelPage& panel : kPanelPages)
            if (window->windowTitle() == panel.title)
                return panel.page;
        return "drawing";
    }
    if (qobject_cast<const CPickerWindow*>(window))
        return window->windowTitle() == QString::fromStdString(loadString(IDS_STAMP_PICKER)) ? "stamps" : "sounds";
    return {};
}

void openGuide(QWidget* mainWindow, const QString& page)
{
    try {
        const std::filesystem::path file = guidePage(page);
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            ResourceError missing(file.string());
            missing.setFile(file.string());
            throw missing;
        }
        // Beside the main window, or inside a dialog waiting for an answer: a window outside it
        // would take no clicks.
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner)
            owner = mainWindow;
        auto* help = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help)
            help = new HelpWindow(owner);
        help->showPage(file);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

void answerF1(QWidget& mainWindow) { new F1Watcher(mainWindow); }

QString aboutText()
{
    return QString("<h3>Celvane %1</h3>"
                   "<p>Frame-by-frame animation for schools.</p>"
                   "<p>Licence: GNU General Public License, version 3 or any later version.</p>"
                   "<p>Made with these libraries:</p><ul>"
                   "<li>Qt %2 (LGPL 3)</li>"
                   "<li>FFmpeg %3: libavformat %4, libavcodec %5, libavutil %6, libswscale %7 (LGPL 2.1 or later)</li>"
                   "</ul>")
        .arg(CELVANE_VERSION, qVersion(), av_version_info(), versionOf(avformat_version()),
             versionOf(avcodec_version()), versionOf(avutil_version()), versionOf(swscale_version()));
}

void showAbout(QWidget* parent) { QMessageBox::about(parent, "About Celvane", aboutText()); }

} // namespace celvane::Help
