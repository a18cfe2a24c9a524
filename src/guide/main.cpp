// celvane-guide: writes the illustrated guide that Help > Contents opens. The pictures are the
// program's own windows, drawn offscreen while the guide plays a person making a short film.
//
//     celvane-guide <folder>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <cstdio>

#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/ExportDialog.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "playback/CPlayTool.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"
#include "view/tools/ToolBox.h"

using namespace celvane;

namespace {

struct Section {
    const char* id;
    const char* title;
    const char* text; // HTML
};

constexpr Section kSections[] = {
    {"making", "Making a film",
     "<p>Celvane starts with a new film of one blank frame. A film is a row of frames that are "
     "played one after another, like the pages of a flick book.</p>"
     "<p><b>File &gt; New</b> starts a film, choosing its size and its colours. "
     "<b>Frames &gt; New frame</b> (or the <b>Insert</b> key) adds a blank frame after the one you "
     "are drawing on; <b>Duplicate frame</b> adds a copy of it, so that you only change what "
     "moves.</p>"},
    {"drawing", "Drawing",
     "<p>Choose the pencil in the toolbox on the left and draw on the frame with the mouse. Click a "
     "colour in the palette along the bottom with the left button for the pencil, with the right "
     "button for the paper. Click the pencil again for its pen shapes and sizes.</p>"
     "<p>Made a mistake? <b>Edit &gt; Undo</b> (Ctrl+Z) takes it back and <b>Redo</b> (Ctrl+A or "
     "Ctrl+Shift+Z) puts it back again.</p>"},
    {"ghosting", "Ghosting",
     "<p>With <b>Tools &gt; Ghosting</b> on, the frames before the one you are drawing show faintly "
     "behind it, as if through tracing paper. Draw the next position a little further on and the "
     "film will move smoothly. <b>In-betweening</b> shows the frames on both sides, to draw one "
     "that goes between them.</p>"},
    {"playing", "Playing",
     "<p>The play tools at the bottom play the film forwards or backwards. Drag the film strip to "
     "move through the frames, and the slider to make the film faster or slower. The last button "
     "chooses whether the film plays in a loop, to and fro, or once to the end.</p>"},
    {"saving", "Saving",
     "<p><b>File &gt; Save</b> (Ctrl+S) keeps the film in a Celvane film file (<i>.qfm</i>) that "
     "you can open again later to go on working. <b>Save As</b> keeps it under a new name.</p>"},
    {"exporting", "Exporting",
     "<p><b>File &gt; Export</b> makes a copy of the film that other programs can show: an animated "
     "GIF for a web page, a video, or a numbered series of pictures. Tick <b>Current Selection</b> to "
     "export only the frames you marked.</p>"},
};

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
        frame.runCommand(ID_FRAME_NEW);
        frame.runCommand(ID_GHOSTING);
        drawBall(120, 90);
        ok = shoot("ghosting", frame) && ok;
        ok = shoot("playing", *frame.findChild<CPlayTool*>()) && ok;
        if (QMenu* file = frame.menuBar()->actions().value(0) ? frame.menuBar()->actions().value(0)->menu() : nullptr) {
            frame.refreshCommandStates();
            file->adjustSize();
            ok = shoot("saving", *file) && ok;
        }
        ExportDialog exporting("ball.gif", ExportOffer::forFilm(), false, &frame);
        exporting.adjustSize();
        ok = shoot("exporting", exporting) && ok;
        return writePage() && ok;
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

    bool writePage()
    {
        QFile page(folder_ + "/index.html");
        if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "celvane-guide: could not write %s\n", qPrintable(page.fileName()));
            return false;
        }
        QTextStream out(&page);
        out << "<!DOCTYPE html>\n<html lang=\"en-GB\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<title>Celvane guide</title>\n<style>\n"
               "body { font-family: sans-serif; max-width: 48em; margin: 2em auto; line-height: 1.5; }\n"
               "img { display: block; margin: 1em 0; border: 1px solid #888; max-width: 100%; }\n"
               "</style>\n</head>\n<body>\n<h1>Making films with Celvane</h1>\n<ol>\n";
        for (const Section& s : kSections)
            out << "<li><a href=\"#" << s.id << "\">" << s.title << "</a></li>\n";
        out << "</ol>\n";
        for (const Section& s : kSections)
            out << "<h2 id=\"" << s.id << "\">" << s.title << "</h2>\n" << s.text << "\n<img src=\"" << s.id
                << ".png\" alt=\"" << s.title << "\">\n";
        out << "</body>\n</html>\n";
        return out.status() == QTextStream::Ok;
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
