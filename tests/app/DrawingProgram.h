#pragma once
// The real program with a 200 x 150 film at 200%, driven with the mouse and the commands as a
// person would, and read back as the person sees it: the window's pixels and the saved file.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "QtTestSupport.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"
#include "view/tools/ToolBox.h"

namespace celvane::test {

struct DrawingProgram : StartedProgram {
    explicit DrawingProgram(ProgramOptions options = {.filmWidth = 200, .filmHeight = 150, .scale = 200,
                                                      .window = {900, 700}})
        : StartedProgram(options)
    {
    }
    Film& film() { return *view().film(); }
    Sprite& image() { return *film().workingImage(view().currentFrame()); }
    uint32_t ink() { return image().pixelValueOf(film().ink()); }
    QPoint client(Point f)
    {
        const Point c = view().layout().frameToClient(f, false);
        return {c.x, c.y};
    }
    void mouse(QEvent::Type type, Point at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QWidget* port = view().viewport();
        QMouseEvent event(type, QPointF(client(at)), port->mapToGlobal(QPointF(client(at))), button, buttons, keys);
        QApplication::sendEvent(port, &event);
    }
    // A press, a move and a release with the left button, the keys held throughout.
    void drag(Point from, Point to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, keys);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, keys);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, keys);
    }
    // A straight 2-pixel pencil line.
    void drawLine(Point from, Point to)
    {
        app.toolBox().select(ToolBox::Pencil, true);
        app.toolBox().pencil().setPen({2, false, 2, 2});
        drag(from, to);
    }
    int inked()
    {
        int n = 0;
        for (int y = 0; y < image().height(); ++y)
            for (int x = 0; x < image().width(); ++x)
                n += image().pixelAt(x, y) == ink();
        return n;
    }
    bool enabled(int command) { return frame().commandState(command).enabled; }
    // The Edit menu's text for a command ("&Undo Pencil"), as the menu shows it now.
    std::string menuText(int command)
    {
        frame().refreshCommandStates();
        return frame().commandState(command).text;
    }
    // The film as its file would hold it now.
    Bytes filmFile()
    {
        Bytes file;
        ByteWriter out(&file);
        film().save(&out, FileType::Film, false);
        return file;
    }
    // What the window shows at the middle of a frame pixel, as 0xRRGGBB.
    uint32_t shown(Point f)
    {
        QApplication::processEvents();
        const QImage window = view().viewport()->grab().toImage();
        const QPoint at = client(f) + QPoint(1, 1);
        return window.pixel(at.x() * window.width() / view().viewport()->width(),
                            at.y() * window.height() / view().viewport()->height())
            & 0xFFFFFF;
    }
};

} // namespace celvane::test
