#include "app/picker/FittedStamp.h"

#include <QPainter>
#include <algorithm>

#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "platform/SpriteImage.h"
#include "stamps/StampSet.h"

namespace celvane {

void paintFittedStamp(StampSet& stamps, int n, uint32_t flags, QPainter& painter, const QRect& icon)
{
    const Sprite* stamp = stamps.image(n);
    if (!stamp || icon.width() < 3 || icon.height() < 3)
        return;
    Sprite cell;
    cell.create(icon.width(), icon.height(), 0, 0, 32);
    const QColor background = painter.background().color();
    cell.fillColour(rgbToColourWord(uint32_t(background.red() | background.green() << 8 | background.blue() << 16)));
    const int roomW = icon.width() - 2, roomH = icon.height() - 2;
    const int w = stamp->logicalWidth(), h = stamp->logicalHeight();
    const double scale = std::min(double(roomW) / std::max(w, 1), double(roomH) / std::max(h, 1));
    const int dw = std::max(1, int(w * scale)), dh = std::max(1, int(h * scale));
    const int left = 1 + (roomW - dw) / 2, top = 1 + (roomH - dh) / 2;
    PlotRequest plot;
    plot.destinationSprite = &cell;
    plot.destination = Rect{left, top, left + dw, top + dh};
    plot.flags = flags;
    // Solid colour shows only the stamp's shape, in the colour that stands out from the background.
    plot.colour = qGray(background.rgb()) >= 128 ? 0x000000 : 0xFFFFFF;
    stamps.plot(n, plot);
    painter.drawImage(icon.topLeft(), spriteToImage(cell));
}

} // namespace celvane
