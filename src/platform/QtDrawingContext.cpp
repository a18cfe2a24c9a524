#include "platform/QtDrawingContext.h"

#include <cmath>

#include "gfx/Sprite.h"
#include "platform/SpriteImage.h"

namespace celvane {

Rect QtDrawingContext::toDevice(const Rect& logical) const
{
    const QRectF from(QPointF(logical.left, logical.top), QPointF(logical.right, logical.bottom));
    const QRectF to = painter_.combinedTransform().mapRect(from.normalized());
    return {int(std::floor(to.left())), int(std::floor(to.top())), int(std::ceil(to.right())),
            int(std::ceil(to.bottom()))};
}

void QtDrawingContext::stretchCopy(const Sprite& source, const Rect& sourcePixels, const Rect& destination)
{
    if (sourcePixels.width() <= 0 || sourcePixels.height() <= 0 || destination.width() == 0
        || destination.height() == 0)
        return;
    // Only the part of the source that exists is converted; the mapping stays that of the
    // whole source rectangle.
    const Rect area = sourcePixels.intersected({0, 0, source.width(), source.height()});
    const QImage image = spriteToImage(source, area);
    if (image.isNull())
        return;
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.translate(destination.left, destination.top);
    // A negative destination width or height mirrors.
    painter_.scale(double(destination.width()) / sourcePixels.width(),
                   double(destination.height()) / sourcePixels.height());
    painter_.drawImage(QPointF(area.left - sourcePixels.left, area.top - sourcePixels.top), image);
    painter_.restore();
}

} // namespace celvane
