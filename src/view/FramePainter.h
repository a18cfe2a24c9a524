#pragma once
// Draws a frame, scaled, onto a window: the part under the repainted area is plotted into a
// 32-bit scratch sprite of that size and copied pixel for pixel. Only what is visible is
// sampled, and the copy needs no scaling, so it costs the same at every zoom.
//
// Kept in this header so that the paint benchmark, which links only the engine libraries, runs
// exactly the code the window runs.

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "base/Errors.h"
#include "gfx/Rect.h"
#include "gfx/Sprite.h"

namespace celvane {

class FramePainter {
public:
    // Draws the part of `frame` inside `area` (client pixels) when the whole frame is shown
    // stretched onto `frameRect`. Plotting failures propagate (scratch memory).
    void paint(QPainter& painter, const Sprite& frame, const Rect& frameRect, const Rect& area)
    {
        const Rect part = area.intersected(frameRect);
        if (part.isEmpty() || frame.empty())
            return;
        const int width = part.width(), height = part.height();
        reserve(width, height);

        PlotRequest request;
        request.destinationSprite = &scratch_;
        request.destination = frameRect.translated(-part.left, -part.top);
        request.clip = Rect{0, 0, width, height};
        frame.plot(request);

        // Scratch pixels are 0x00BBGGRR, bottom row first; the image wants opaque 0xFFRRGGBB,
        // top row first, which then copies to the window without conversion.
        for (int y = 0; y < height; ++y) {
            const auto* from = reinterpret_cast<const uint32_t*>(scratch_.rowAddress(y));
            auto* to = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const uint32_t v = from[x];
                to[x] = 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
            }
        }
        painter.drawImage(QPoint(part.left, part.top), image_, QRect(0, 0, width, height));
    }

private:
    // Grows the scratch sprite and image to hold at least width x height; they are kept between
    // paints, whose areas are mostly the same.
    void reserve(int width, int height)
    {
        if (!scratch_.empty() && scratch_.width() >= width && scratch_.height() >= height)
            return;
        width = std::max(width, scratch_.empty() ? 0 : scratch_.width());
        height = std::max(height, scratch_.empty() ? 0 : scratch_.height());
        scratch_.create(width, height, width, height, 32);
        image_ = QImage(width, height, QImage::Format_RGB32);
        if (image_.isNull())
            throw MemoryError("no memory for the window image");
    }

    Sprite scratch_;
    QImage image_;
};

} // namespace celvane
