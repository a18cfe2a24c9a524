#include "export/GifGraphic.h"

#include <algorithm>
#include <climits>

#include "base/StringTable.h"
#include "export/GifErrors.h"
#include "export/GifReader.h"
#include "film/FileType.h"

namespace celvane {

void GifGraphic::measureDelays()
{
    shortestDelay_ = INT_MAX;
    for (int f = 0; f < animation_->frameCount(); ++f)
        shortestDelay_ = std::min(shortestDelay_, animation_->frame(f).delay);
}

void GifGraphic::getSummary(GraphicSummary& summary) const
{
    if (!animation_)
        return;
    summary.frameCount += animation_->frameCount();
    if (animation_->frameCount() > 0)
        summary.period = 10 * shortestDelay_;
    summary.motion = animation_->loops() ? 0 : 2;
}

PaletteRef GifGraphic::paletteOf(const GifPalette& colours)
{
    PaletteRef& palette = palettes_[colours];
    if (!palette) {
        palette = PaletteRef::make();
        palette->setCount(int(colours->size()));
        for (size_t i = 0; i < colours->size(); ++i)
            palette->setEntry(int(i), (*colours)[i]);
    }
    return palette;
}

void GifGraphic::getFrameDescription(int frame, ImageInfo& info)
{
    if (!valid(frame))
        return;
    info.mask = ImageInfo::HasPalette | ImageInfo::HasName | ImageInfo::HasSize | ImageInfo::HasDepth;
    info.bitsPerPixel = 8;
    info.width = animation_->width();
    info.height = animation_->height();
    info.palette = paletteOf(animation_->frame(frame).palette);
    info.name = name_ + std::to_string(frame + 1);
}

int GifGraphic::countSelectedFrames() const { return int(std::count(selected_.begin(), selected_.end(), true)); }

void GifGraphic::setFrameSelected(int frame, bool on)
{
    if (valid(frame))
        selected_[size_t(frame)] = on;
}

bool GifGraphic::isFrameSelected(int frame) const { return valid(frame) && selected_[size_t(frame)]; }

void GifGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a GIF needs its data", IDS_CANNOT_LOAD_TYPE);
    Animation read = readGif(*data);
    if (read.frameCount() == 0)
        throwGifDataError("The GIF file holds no pictures");
    read.makeCommonPalette();
    animation_.emplace(std::move(read));
    selected_.assign(size_t(animation_->frameCount()), false);
    imageFrame_ = -1;
    measureDelays();
}

void GifGraphic::clear()
{
    animation_.reset();
    selected_.clear();
    palettes_.clear();
    image_.reset();
    imageFrame_ = -1;
}

void GifGraphic::deleteFrames(int first, int last)
{
    if (!animation_)
        return;
    animation_->eraseFrames(first, last);
    first = std::max(first, 0);
    last = std::min(last, int(selected_.size()) - 1);
    if (first <= last)
        selected_.erase(selected_.begin() + first, selected_.begin() + last + 1);
    imageFrame_ = -1;
    measureDelays();
}

size_t GifGraphic::save(ByteWriter*, int, bool)
{
    throw NotSupportedError("GIF pictures are exported from films", IDS_CANNOT_EXPORT_FORMAT);
}

Sprite* GifGraphic::workingImage(int frame)
{
    if (!valid(frame))
        return nullptr;
    if (frame == imageFrame_)
        return &image_;
    const AnimationFrame& record = animation_->frame(frame);
    const int w = animation_->width();
    const int h = animation_->height();
    image_.create(w, h, 0, 0, 8, paletteOf(record.palette));
    imageFrame_ = -1;
    Bytes pixels(size_t(w) * size_t(h));
    Bytes mask(pixels.size());
    animation_->unpack(record, pixels.data(), mask.data());
    const int free = record.palette == animation_->commonPalette() ? animation_->transparentIndex() : -1;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = image_.rowAddress(y);
        const size_t at = size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x)
            row[x] = free >= 0 && !mask[at + size_t(x)] ? uint8_t(free) : pixels[at + size_t(x)];
    }
    imageFrame_ = frame;
    return &image_;
}

FrameFade GifGraphic::fade(int frame) const
{
    FrameFade fade;
    if (valid(frame))
        fade.pause = animation_->frame(frame).delay - shortestDelay_;
    return fade;
}

bool GifGraphic::isOfFileType(int type) const { return type == FileType::Gif; }

} // namespace celvane
