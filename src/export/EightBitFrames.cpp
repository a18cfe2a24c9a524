#include "export/EightBitFrames.h"

#include "film/Film.h"
#include "gfx/PlotRequest.h"

namespace celvane {

EightBitFrames::EightBitFrames(const Film& film) : film_(film)
{
    if (film.bitsPerPixel() == 8)
        return;
    PaletteRef palette;
    if (film.bitsPerPixel() < 8) {
        // Fewer colours than 256: the same colours first, so that every pixel stays exact.
        palette = PaletteRef::make();
        palette->setCount(256);
        for (int i = 0; i < film.palette()->count(); ++i)
            palette->setEntry(i, film.palette()->entry(i));
    }
    work_.create(film.width(), film.height(), film.width(), film.height(), 8, palette);
}

const Sprite& EightBitFrames::frame(int index)
{
    film_.decodeFrameInto(index, picture_);
    if (work_.empty())
        return picture_;
    PlotRequest request;
    request.destinationSprite = &work_;
    request.destination = Rect{0, 0, work_.logicalWidth(), work_.logicalHeight()};
    picture_.plot(request);
    return work_;
}

} // namespace celvane
