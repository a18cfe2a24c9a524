#include "print/PagePrinter.h"

#include <QFontMetricsF>
#include <algorithm>

#include "base/Errors.h"
#include "film/Film.h"
#include "platform/SpriteImage.h"
#include "print/PagePlan.h"

namespace celvane {

PagePrinter::PagePrinter(const Film& film, const PrintLayout& layout)
    : film_(film), layout_(layout), frames_(framesToPrint(film))
{
}

std::vector<int> PagePrinter::framesToPrint(const Film& film)
{
    std::vector<int> marked, all;
    for (int frame = 0; frame < film.frameCount(); ++frame) {
        all.push_back(frame);
        if (film.isFrameSelected(frame))
            marked.push_back(frame);
    }
    return marked.empty() ? all : marked;
}

void PagePrinter::setPaper(PrintLayout& layout, const QPageLayout& paper)
{
    const QSizeF size = paper.fullRect(QPageLayout::Millimeter).size();
    layout.setPaper(int(size.width() * 10 + 0.5), int(size.height() * 10 + 0.5),
                    paper.orientation() == QPageLayout::Landscape);
}

PrintLayout PagePrinter::layoutFor(const Film& film, const QPageLayout& paper)
{
    PrintLayout layout;
    layout.setFrames(film.width(), film.height(), int(framesToPrint(film).size()));
    layout.restoreChoices(film.printChoices());
    setPaper(layout, paper);
    layout.layOut();
    return layout;
}

QRectF PagePrinter::sheetOf(const QPagedPaintDevice& device)
{
    const QPageLayout page = device.pageLayout();
    const int resolution = device.logicalDpiX();
    // A painter's origin is the corner of the printable area.
    return QRectF(page.fullRectPixels(resolution)).translated(-page.paintRectPixels(resolution).topLeft());
}

QImage PagePrinter::frameImage(int frame) const
{
    film_.decodeFrameInto(frame, picture_);
    return spriteToImage(picture_);
}

void PagePrinter::drawText(QPainter& painter, const QRectF& box, const QString& text, double height)
{
    QFont font("Arial");
    font.setPixelSize(std::max(1, int(std::min(height, box.height()))));
    // Narrow boxes (a binding strip) take the text smaller rather than cut.
    const double wide = QFontMetricsF(font).horizontalAdvance(text);
    if (wide > box.width())
        font.setPixelSize(std::max(1, int(font.pixelSize() * box.width() / wide)));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
}

void PagePrinter::drawPage(QPainter& painter, const QRectF& sheet, int page) const
{
    const PagePlan plan = planPage(layout_, page, frames_);
    const double k = std::min(sheet.width() / std::max(1, layout_.pageWidth()),
                              sheet.height() / std::max(1, layout_.pageHeight()));
    auto toDevice = [&](double x, double y) { return QPointF(sheet.left() + x * k, sheet.top() + y * k); };
    auto rectOf = [&](const Rect& r) { return QRectF(toDevice(r.left, r.top), toDevice(r.right, r.bottom)); };

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // PDF output would otherwise store pictures as JPEG, smudging children's sharp pixels.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    for (const PagePicture& picture : plan.pictures)
        painter.drawImage(rectOf(picture.place), frameImage(picture.frame));
    painter.setPen(QPen(Qt::black, 0)); // cosmetic: the thinnest line the device draws
    painter.setBrush(Qt::NoBrush);
    for (const Rect& border : plan.borders)
        painter.drawRect(rectOf(border));
    for (const PageLine& line : plan.lines)
        painter.drawLine(toDevice(line.x1, line.y1), toDevice(line.x2, line.y2));
    for (const PageText& text : plan.texts)
        drawText(painter, rectOf(text.box), QString::fromStdString(text.text), kPageTextHeight * k);
    painter.restore();
}

void PagePrinter::print(QPagedPaintDevice& device, int first, int last, const Progress& progress) const
{
    QPainter painter;
    if (!painter.begin(&device))
        throw FileError("the printer could not be started");
    const QRectF sheet = sheetOf(device);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        drawPage(painter, sheet, page);
        if (progress && !progress(page - first + 1, last - first + 1)) {
            painter.end();
            throw UserCancel();
        }
    }
    painter.end();
}

} // namespace celvane
