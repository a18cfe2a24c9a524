#include "film/ImageInfo.h"

#include <cstdint>

#include "gfx/Sprite.h"

namespace celvane {

namespace {
int scaleUp(int value, int numerator, int denominator)
{
    if (denominator <= 0)
        return value;
    const int64_t product = int64_t(value) * numerator;
    return int((product + denominator - 1) / denominator);
}
} // namespace

ImageInfo ImageInfo::forFilm(int width, int height, int bitsPerPixel, bool compressed)
{
    ImageInfo info;
    info.mask = HasSize | HasDepth | HasCompressed;
    info.width = width;
    info.height = height;
    info.bitsPerPixel = bitsPerPixel;
    info.compressed = compressed ? 1 : 0;
    return info;
}

ImageInfo ImageInfo::describing(const Sprite& image, const std::string& name)
{
    ImageInfo info;
    info.mask = HasPalette | HasName | HasSize | HasDepth | HasDeviceSize;
    info.bitsPerPixel = image.bitsPerPixel();
    info.width = image.width();
    info.height = image.height();
    info.deviceWidth = image.logicalWidth();
    info.deviceHeight = image.logicalHeight();
    info.palette = image.palette();
    info.name = name;
    return info;
}

void ImageInfo::merge(const ImageInfo& source)
{
    const int fresh = source.mask & ~mask;
    if (has(HasDeviceSize) && source.has(HasDeviceSize) && has(HasSize)) {
        width = scaleUp(width, source.deviceWidth, deviceWidth);
        height = scaleUp(height, source.deviceHeight, deviceHeight);
    }
    if (fresh & Reserved)
        reserved = source.reserved;
    if (fresh & HasPalette)
        palette = source.palette;
    if (fresh & HasName)
        name = source.name;
    if (fresh & HasSize) {
        width = source.width;
        height = source.height;
    }
    if (fresh & HasDepth)
        bitsPerPixel = source.bitsPerPixel;
    if (fresh & HasDeviceSize) {
        deviceWidth = source.deviceWidth;
        deviceHeight = source.deviceHeight;
    }
    if (fresh & HasCompressed)
        compressed = source.compressed;
    mask |= source.mask;
}

} // namespace celvane
