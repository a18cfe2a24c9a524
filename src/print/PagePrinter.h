#pragma once
// Puts a film's frames onto paper as its print layout plans them: onto a printer, a PDF file or
// a preview. Pictures are stretched without smoothing so that every pixel stays sharp; borders
// and marks are the thinnest black line the device draws; numbers are small black text.

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <vector>

#include "base/Progress.h"
#include "gfx/Sprite.h"
#include "print/PrintLayout.h"

namespace celvane {

class Film;

class PagePrinter {
public:
    PagePrinter(const Film& film, const PrintLayout& layout);

    // A layout of the film's frames on `paper`, starting from the film's last print choices.
    static PrintLayout layoutFor(const Film& film, const QPageLayout& paper);
    // Reads the paper size and orientation into `layout` (which must then be laid out again).
    static void setPaper(PrintLayout& layout, const QPageLayout& paper);
    // The marked frames when any are marked, otherwise every frame, in film order.
    static std::vector<int> framesToPrint(const Film& film);

    // Draws page `page` (from 1) with `sheet` the whole sheet of paper in the painter's
    // coordinates.
    void drawPage(QPainter& painter, const QRectF& sheet, int page) const;
    // Prints pages `first` to `last` onto a device not yet painted on, reporting each page; throws
    // UserCancel when told to stop.
    void print(QPagedPaintDevice& device, int first, int last, const Progress& progress) const;
    // The whole sheet in the coordinates of a painter opened on `device`.
    static QRectF sheetOf(const QPagedPaintDevice& device);

private:
    QImage frameImage(int frame) const;
    // `text` centred in `box`, at most `height` tall and never wider than the box.
    static void drawText(QPainter& painter, const QRectF& box, const QString& text, double height);

    const Film& film_;
    const PrintLayout& layout_;
    std::vector<int> frames_;
    mutable Sprite picture_;
};

} // namespace celvane
