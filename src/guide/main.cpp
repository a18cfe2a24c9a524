// celvane-guide: writes the illustrated guide that Help > Contents opens: a contents page and a
// page for each topic. The texts are the pages in guide/pages/; the pictures are the program's
// own windows, drawn offscreen while the guide plays a person making a short film.
//
//     celvane-guide <folder>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <cstdio>

#include "app/CChoices.h"
#include "app/CMainFrame.h"
#include "app/CPrintDialog.h"
#include "app/CStampPicker.h"
#include "app/CTools.h"
#include "app/CToolPanel.h"
#include "app/CelvaneApp.h"
#include "app/ExportDialog.h"
#include "app/Help.h"
#include "app/ImportOptionsDialog.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CSoundPicker.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "platform/DataFolder.h"
#include "playback/CPlayTool.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"
#include "view/tools/ToolBox.h"

using namespace celvane;

namespace {

class GuideMaker {
public:
    explicit GuideMaker(const QString& folder) : folder_(folder) {}

    bool run()
    {
        QTemporaryDir home;
        Settings::useFile((home.path() + "/celvane.ini").toStdString());
        Settings& s = Settings::instance();
        s.writeInt("Settings", "Splash", 0);
        s.writeInt("Settings", "UserDefaultFilm", 1);
        s.writeInt("Default", "Width", 240);
        s.writeInt("Default", "Height", 160);
        s.writeInt("Default", "Scale", 200);
        if (!app_.start({}))
            return false;
        CMainFrame& frame = *app_.mainFrame();
        frame.resize(760, 640);
        QApplication::processEvents();

        bool ok = shoot("making", frame);
        app_.toolBox().select(ToolBox::Pencil, true);
        app_.toolBox().pencil().setPen({1, true, 4, 4});
        drawBall(60, 60);
        ok = shoot("drawing", frame) && ok;
        ok = shootMenu("undo", frame, 1) && ok;
        frame.runCommand(ID_FRAME_NEW);
        frame.runCommand(ID_GHOSTING);
        drawBall(120, 90);
        ok = shoot("ghosting", frame) && ok;
        ok = shoot("playing", *frame.findChild<CPlayTool*>()) && ok;
        ok = shootMenu("saving", frame, 0) && ok;

        frame.stampPicker().show(false);
        ok = shoot("stamps", frame.stampPicker().window()) && ok;
        frame.soundPicker().window().showPicker();
        ok = shoot("sounds", frame.soundPicker().window()) && ok;
        app_.toolBox().select(ToolBox::Text, true);
        if (CToolPanel* text = frame.toolbox()->panel(ToolBox::Text)) {
            if (auto* words = text->findChild<QPlainTextEdit*>())
                words->setPlainText("Boing!");
            text->adjustSize();
            ok = shoot("text", *text) && ok;
        }

        ImportOptionsDialog importing(ImportOptions{}, &frame);
        ok = shootDialog("importing", importing) && ok;
        ExportDialog exporting("ball.gif", ExportOffer::forFilm(), false, &frame);
        ok = shootDialog("exporting", exporting) && ok;
        QPrinter printer;
        CPrintDialog printing(*frame.activeView()->film(), printer, "ball.pdf", &frame);
        if (auto* flickBook = printing.findChild<QCheckBox*>("flickBook"))
            flickBook->setChecked(true);
        ok = shootDialog("printing", printing) && ok;
        CChoices choices(s, app_.screen(), dataFolder(), &frame);
        ok = shootDialog("choices", choices) && ok;
        return writePages() && ok;
    }

private:
    // A ball outlined with the pencil around (x, y) in frame pixels.
    void drawBall(int x, int y)
    {
        CCelvaneView& view = *app_.mainFrame()->activeView();
        QWidget* port = view.viewport();
        const auto send = [&](QEvent::Type type, double fx, double fy, Qt::MouseButton button, Qt::MouseButtons held) {
            const Point c = view.layout().frameToClient({int(std::lround(fx)), int(std::lround(fy))}, false);
            QMouseEvent event(type, QPointF(c.x, c.y), port->mapToGlobal(QPointF(c.x, c.y)), button, held,
                              Qt::NoModifier);
            QApplication::sendEvent(port, &event);
        };
        constexpr double kRadius = 22;
        send(QEvent::MouseButtonPress, x + kRadius, y, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 48; ++step) {
            const double a = step * 2 * M_PI / 48;
            send(QEvent::MouseMove, x + kRadius * std::cos(a), y + kRadius * std::sin(a), Qt::NoButton, Qt::LeftButton);
        }
        send(QEvent::MouseButtonRelease, x + kRadius, y, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }

    bool shoot(const char* name, QWidget& widget)
    {
        QApplication::processEvents();
        const QString path = folder_ + "/" + name + ".png";
        if (widget.grab().save(path))
            return true;
        std::fprintf(stderr, "celvane-guide: could not write %s\n", qPrintable(path));
        return false;
    }

    bool shootDialog(const char* name, QWidget& dialog)
    {
        dialog.adjustSize();
        return shoot(name, dialog);
    }

    // One of the main window's menus, as it drops down.
    bool shootMenu(const char* name, CMainFrame& frame, int index)
    {
        QAction* title = frame.menuBar()->actions().value(index);
        QMenu* menu = title ? title->menu() : nullptr;
        if (!menu) {
            std::fprintf(stderr, "celvane-guide: no menu %d for %s\n", index, name);
            return false;
        }
        frame.refreshCommandStates();
        menu->adjustSize();
        return shoot(name, *menu);
    }

    bool writeFile(const QString& name, const QString& title, const QString& body)
    {
        QFile file(folder_ + "/" + name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "celvane-guide: could not write %s\n", qPrintable(file.fileName()));
            return false;
        }
        QTextStream out(&file);
        out << "<!DOCTYPE html>\n<html lang=\"en-GB\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << title
            << "</title>\n<style>\n"
               "body { font-family: sans-serif; max-width: 48em; margin: 2em auto; line-height: 1.5; }\n"
               "img { display: block; margin: 1em 0; border: 1px solid #888; max-width: 100%; }\n"
               "p.turn { margin-top: 2em; }\n"
               "</style>\n</head>\n<body>\n"
            << body << "</body>\n</html>\n";
        return out.status() == QTextStream::Ok;
    }

    bool writePages()
    {
        const auto topics = Help::topics();
        QString contents = "<h1>Making films with Celvane</h1>\n"
                           "<p>Press <b>F1</b> in any window of Celvane to read about it here.</p>\n<ol>\n";
        for (const Help::Topic& topic : topics)
            contents += QString("<li><a href=\"%1.html\">%2</a></li>\n").arg(topic.page, topic.title);
        bool ok = writeFile("index.html", "Celvane guide", contents + "</ol>\n");
        for (size_t i = 0; i < topics.size(); ++i) {
            const Help::Topic& topic = topics[i];
            QFile source(QString(":/guide/%1.html").arg(topic.page));
            if (!source.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "celvane-guide: no text for %s\n", topic.page);
                ok = false;
                continue;
            }
            QString turn = "<p class=\"turn\"><a href=\"index.html\">Contents</a>";
            if (i > 0)
                turn += QString(" | Back: <a href=\"%1.html\">%2</a>").arg(topics[i - 1].page, topics[i - 1].title);
            if (i + 1 < topics.size())
                turn += QString(" | Next: <a href=\"%1.html\">%2</a>").arg(topics[i + 1].page, topics[i + 1].title);
            const QString body = QString("<h1>%1</h1>\n").arg(topic.title) + QString::fromUtf8(source.readAll()) +
                                 QString("<img src=\"%1.png\" alt=\"%2\">\n").arg(topic.page, topic.title) + turn +
                                 "</p>\n";
            ok = writeFile(QString(topic.page) + ".html", topic.title, body) && ok;
        }
        return ok;
    }

    QString folder_;
    CelvaneApp app_;
};

} // namespace

int main(int argc, char** argv)
{
    // The windows are drawn, never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: celvane-guide <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "celvane-guide: could not make %s\n", argv[1]);
        return 1;
    }
    return GuideMaker(folder).run() ? 0 : 1;
}
