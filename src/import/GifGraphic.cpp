#include "import/GifGraphic.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/Reporter.h"
#include "base/StringTable.h"
#include "export/GifErrors.h"
#include "import/GifReader.h"
#include "film/FileType.h"

namespace celvane {

namespace {
const char* const kEndDamagedText
    = "The end of this GIF file is damaged: Celvane has opened the pictures that could be read.";
} // namespace

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

void GifGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a GIF needs its data", IDS_CANNOT_LOAD_TYPE);
    Animation read = readGifReducing(*data);
    if (read.frameCount() == 0)
        throwGifDataError("The GIF file holds no pictures");
    if (read.endDamaged())
        Reporter::message(kEndDamagedText, MessageButtons::Ok, MessageIcon::Warning);
    read.makeCommonPalette();
    animation_.emplace(std::move(read));
    selection_.reset(animation_->frameCount());
    imageFrame_ = -1;
    measureDelays();
}

void GifGraphic::clear()
{
    animation_.reset();
    selection_.reset(0);
    palettes_.clear();
    image_.reset();
    pixels_ = {};
    mask_ = {};
    imageFrame_ = -1;
}

void GifGraphic::deleteFrames(int first, int last)
{
    if (!animation_)
        return;
    animation_->eraseFrames(first, last);
    selection_.erase(first, last);
    imageFrame_ = -1;
    measureDelays();
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
    const PaletteRef palette = paletteOf(record.palette);
    // Transparent pixels take the common palette's free entry. Two frames of the common palette
    // then show alike every pixel that did not change between them: only the change is painted.
    const bool common = record.palette == animation_->commonPalette() && animation_->transparentIndex() >= 0;
    const bool follows = imageFrame_ >= 0 && imageFrame_ < frame && shownCommon_ && common;
    if (image_.width() != w || image_.height() != h || image_.palette() != palette)
        image_.create(w, h, 0, 0, 8, palette);
    const size_t n = size_t(w) * size_t(h);
    pixels_.resize(n);
    mask_.resize(n);
    const int holding = imageFrame_;
    imageFrame_ = -1; // until the picture is whole again
    const Rect changed = animation_->unpackStored(frame, pixels_.data(), mask_.data(), holding);
    paint(follows ? changed : Rect{0, 0, w, h}, record, common ? animation_->transparentIndex() : -1);
    imageFrame_ = frame;
    shownCommon_ = common;
    return &image_;
}

void GifGraphic::paint(const Rect& r, const AnimationFrame& record, int free)
{
    const size_t w = size_t(animation_->width());
    // Mask bytes are 0 or 0xFF: a select without branches.
    const uint8_t paper = uint8_t(free >= 0 ? free : 0);
    const uint8_t all = free >= 0 ? 0 : 0xFF;
    for (int y = r.top; y < r.bottom; ++y) {
        const size_t at = size_t(y) * w + size_t(r.left);
        const uint8_t* from = pixels_.data() + at;
        const uint8_t* opaque = mask_.data() + at;
        uint8_t* into = image_.rowAddress(y) + r.left;
        if (record.map) {
            const std::array<uint8_t, 256>& map = *record.map;
            for (int x = 0; x < r.width(); ++x) {
                const uint8_t shown = opaque[x] | all;
                into[x] = uint8_t((map[from[x]] & shown) | (paper & ~shown));
            }
        } else if (free >= 0) {
            for (int x = 0; x < r.width(); ++x)
                into[x] = uint8_t((from[x] & opaque[x]) | (paper & ~opaque[x]));
        } else {
            std::memcpy(into, from, size_t(r.width()));
        }
    }
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
