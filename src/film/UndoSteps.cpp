#include "film/UndoSteps.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/Errors.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/FrameCodec.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

// The part of a picture inside `area` (left and right in bytes of a row), as the codec reads it.
FrameRows rowsOf(const Sprite& image, const Rect& area)
{
    return {image.rowAddress(area.top) + area.left, -ptrdiff_t(image.stride()), size_t(area.width()), area.height(),
            image.bitsPerPixel()};
}

MutableFrameRows rowsOf(Sprite& image, const Rect& area)
{
    return {image.rowAddress(area.top) + area.left, -ptrdiff_t(image.stride()), size_t(area.width()), area.height(),
            image.bitsPerPixel()};
}

// The smallest rectangle holding every byte where two pictures of one shape differ, widened to
// whole pixels; left and right in bytes of a row.
Rect differences(const Sprite& a, const Sprite& b)
{
    const int rowBytes = a.usedBytesPerRow();
    int left = rowBytes, right = 0, top = -1, bottom = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uint8_t* p = a.rowAddress(y);
        const uint8_t* q = b.rowAddress(y);
        if (std::memcmp(p, q, size_t(rowBytes)) == 0)
            continue;
        // Only the bytes outside what is known to differ need looking at.
        int l = 0;
        while (l < left && p[l] == q[l])
            ++l;
        int r = rowBytes;
        while (r > right && p[r - 1] == q[r - 1])
            --r;
        left = std::min(left, l);
        right = std::max(right, r);
        if (top < 0)
            top = y;
        bottom = y + 1;
    }
    if (top < 0)
        return {};
    const int unit = std::max(a.bitsPerPixel() / 8, 1);
    return {left / unit * unit, top, std::min((right + unit - 1) / unit * unit, rowBytes), bottom};
}

} // namespace

FrameChangeStep::FrameChangeStep(std::string name, int frame, const Sprite& before, const Sprite& after)
    : UndoStep(std::move(name)), frame_(frame), area_(differences(before, after)), rowBytes_(before.usedBytesPerRow()),
      rows_(before.height()), bitsPerPixel_(before.bitsPerPixel())
{
    if (!area_.isEmpty())
        encodeFrame(rowsOf(before, area_), coded_);
}

int FrameChangeStep::swap(Film& film)
{
    Sprite* image = film.workingImage(frame_);
    if (!image || image->usedBytesPerRow() != rowBytes_ || image->height() != rows_
        || image->bitsPerPixel() != bitsPerPixel_)
        throw NotSupportedError("the frame no longer has the shape it had when it was drawn on");
    if (area_.isEmpty())
        return frame_;
    Bytes now;
    encodeFrame(rowsOf(std::as_const(*image), area_), now);
    decodeFrame(coded_, rowsOf(*image, area_));
    coded_.swap(now);
    return frame_;
}

namespace {
// A new film's one frame is no frame of its own while it is blank paper: the file holds it blank,
// and reading the file back leaves it so again.
bool onlyBlankPaper(Film& film)
{
    if (!film.isEmpty() || film.currentModified())
        return false;
    const Sprite& frame = *film.workingImage(0);
    Sprite paper;
    paper.create(frame.width(), frame.height(), frame.logicalWidth(), frame.logicalHeight(), frame.bitsPerPixel(),
                 frame.palette());
    paper.fillColour(film.paper());
    return std::memcmp(paper.pixels(), frame.pixels(), frame.imageSize()) == 0;
}

void readFilm(Film& film, const Bytes& file, bool blankFrameOnly)
{
    const ByteSpan data(file);
    film.load(0, nullptr, &data, FileType::Film);
    if (blankFrameOnly)
        film.deleteFrames(0, 0);
    film.setModified(true);
}
} // namespace

FilmChangeStep::FilmChangeStep(std::string name, Film& film)
    : UndoStep(std::move(name)), blankFrameOnly_(onlyBlankPaper(film)), before_(film.snapshot().fileBytes()),
      shown_(film.currentFrame())
{
}

void FilmChangeStep::changed(const Film& film)
{
    other_ = FilmDelta(before_, film.snapshot().fileBytes());
    Bytes().swap(before_);
}

int FilmChangeStep::swap(Film& film)
{
    const bool blankNow = onlyBlankPaper(film);
    const Bytes now = film.snapshot().fileBytes();
    const Bytes other = other_.rebuild(now);
    FilmDelta nowAgainstOther(now, other);
    const int shown = film.currentFrame();
    try {
        readFilm(film, other, blankFrameOnly_);
    } catch (...) {
        readFilm(film, now, blankNow);
        throw;
    }
    other_ = std::move(nowAgainstOther);
    blankFrameOnly_ = blankNow;
    return std::exchange(shown_, shown);
}

FilmSettingsStep::FilmSettingsStep(std::string name, const Film& film)
    : UndoStep(std::move(name)), settings_(film.settings())
{
}

int FilmSettingsStep::swap(Film& film)
{
    FilmSettings now = film.settings();
    film.setSettings(settings_);
    settings_ = std::move(now);
    return film.currentFrame();
}

size_t FilmSettingsStep::bytes() const
{
    return sizeof(*this) + settings_.colours.size() * sizeof(uint32_t) + settings_.fades.size() * sizeof(FrameFade);
}

} // namespace celvane
