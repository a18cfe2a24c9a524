#include "import/VectorImage.h"

#include <cmath>
#include <cstdlib>

#include "gfx/Colour.h"
#include "platform/DrawingSurface.h"

namespace celvane {

namespace {

bool sameMatrix(const std::optional<PlotMatrix>& a, const std::optional<PlotMatrix>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->m11 == b->m11 && a->m12 == b->m12 && a->m21 == b->m21 && a->m22 == b->m22;
}

QTransform toQt(const std::optional<PlotMatrix>& m)
{
    return m ? QTransform(m->m11, m->m12, m->m21, m->m22, 0, 0) : QTransform();
}

} // namespace

std::optional<PlotMatrix> requestMatrix(const PlotRequest& request)
{
    std::optional<PlotMatrix> m = request.transform ? makeTransformMatrix(*request.transform) : std::nullopt;
    if (request.axisScale) {
        const auto axes = makeTransformMatrix(*request.axisScale, request.transform ? &*request.transform : nullptr);
        if (axes)
            m = m ? *m * *axes : *axes;
    }
    return m;
}

void VectorImage::render(int width, int height, const std::optional<PlotMatrix>& matrix, const Painting& paint)
{
    const QRectF picture(-width / 2.0, -height / 2.0, width, height);
    const QTransform turn = toQt(matrix);
    const QRectF box = turn.mapRect(picture);
    const int w = std::max(1, int(std::ceil(box.width() - 1e-6))), h = std::max(1, int(std::ceil(box.height() - 1e-6)));
    Sprite image;
    image.create(w, h, 0, 0, 32);
    const uint32_t white = image.pixelValueForRgb(rgb(255, 255, 255));
    const uint32_t key = white == 0 ? 1 : 0;
    auto pass = [&](uint32_t background, bool merge) {
        image.fillPixel(background);
        {
            SurfaceLease lease = drawingSurface(image);
            QPainter& painter = lease.painter();
            painter.save();
            painter.translate(w / 2.0, h / 2.0);
            painter.setTransform(turn, true);
            paint(painter, picture);
            painter.restore();
            lease.release();
        }
        image.buildMaskFromKey(background, merge);
    };
    pass(key, false);
    pass(white, true);
    image_ = std::move(image);
    width_ = width;
    height_ = height;
    matrix_ = matrix;
}

int VectorImage::plot(const PlotRequest& request, int width, int height, const Painting& paint)
{
    const std::optional<PlotMatrix> matrix = requestMatrix(request);
    // Unturned, the picture fills the destination as a bitmap does (a picker's icon, a stamp at
    // its own size); turned or scaled, only the destination's centre counts.
    const bool fills = !matrix && request.destination;
    if (fills) {
        width = std::abs(request.destination->width());
        height = std::abs(request.destination->height());
        if (width == 0 || height == 0)
            return 0;
    }
    if (image_.empty() || width != width_ || height != height_ || !sameMatrix(matrix, matrix_))
        render(width, height, matrix, paint);
    PlotRequest plain = request;
    plain.transform.reset();
    plain.axisScale.reset();
    plain.source.reset();
    plain.flags |= kPlotMasked;
    if (!fills) {
        const Rect d = request.destination.value_or(Rect{0, 0, image_.width(), image_.height()});
        const int left = (d.left + d.right - image_.width()) / 2, top = (d.top + d.bottom - image_.height()) / 2;
        plain.destination = Rect{left, top, left + image_.width(), top + image_.height()};
    }
    return image_.plot(plain);
}

} // namespace celvane
