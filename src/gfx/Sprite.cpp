#include "gfx/Sprite.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <utility>

#include "base/Chunks.h"
#include "gfx/Colour.h"
#include "gfx/DibInput.h"
#include "gfx/DibLayout.h"

namespace celvane {

// Fills, swaps and masks handle the image as 32-bit words that must match the file's bytes.
static_assert(std::endian::native == std::endian::little);

namespace {

uint32_t pixelInRow(const uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8:
        return row[x];
    case 16:
        return loadLE16(row + 2 * x);
    default:
        return loadLE32(row + 4 * size_t(x));
    }
}

// One 5-bit channel widened to 8 bits.
int widen5(uint32_t v) { return int(((v & 0x1F) * 255 + 15) / 31); }

size_t padding4(size_t count) { return (4 - count % 4) % 4; }

} // namespace

Sprite::Sprite(Sprite&& other) noexcept
{
    swap(other);
}

Sprite& Sprite::operator=(Sprite&& other) noexcept
{
    Sprite taken(std::move(other));
    swap(taken);
    return *this;
}

Sprite::StorageGuard::~StorageGuard()
{
    if (beforeStorageChange)
        beforeStorageChange(*owner);
}

void Sprite::swap(Sprite& other) noexcept
{
    if (beforeStorageChange) {
        beforeStorageChange(*this);
        beforeStorageChange(other);
    }
    using std::swap;
    swap(header_, other.header_);
    swap(pixels_, other.pixels_);
    swap(palette_, other.palette_);
    swap(colourTableStamp_, other.colourTableStamp_);
    swap(mask_, other.mask_);
    swap(hasTransparent_, other.hasTransparent_);
    swap(transparent_, other.transparent_);
    swap(solid_, other.solid_);
    swap(pixelMask_, other.pixelMask_);
    swap(width_, other.width_);
    swap(height_, other.height_);
    swap(logicalWidth_, other.logicalWidth_);
    swap(logicalHeight_, other.logicalHeight_);
    swap(bits_, other.bits_);
    swap(usedBytes_, other.usedBytes_);
    swap(stride_, other.stride_);
    swap(imageSize_, other.imageSize_);
    swap(tableEntries_, other.tableEntries_);
}

void Sprite::reset()
{
    Sprite().swap(*this);
}

void Sprite::create(int width, int height, int logicalWidth, int logicalHeight, int bitsPerPixel,
                    PaletteRef palette)
{
    if (!isSpriteDepth(bitsPerPixel))
        throw NotSupportedError("sprite of " + std::to_string(bitsPerPixel) + " bits per pixel");
    width = width == 0 ? 1 : width;
    height = height == 0 ? 1 : height;
    logicalWidth = logicalWidth == 0 ? width : logicalWidth;
    logicalHeight = logicalHeight == 0 ? height : logicalHeight;
    for (int side : {width, height, logicalWidth, logicalHeight})
        if (side < 0 || side > kMaxSpriteSide)
            throw MemoryError("sprite side of " + std::to_string(side) + " pixels");
    try {
        if (!palette) {
            palette = Palette::make();
            palette->setDefault(bitsPerPixel);
        }
        Sprite fresh;
        fresh.build(width, height, logicalWidth, logicalHeight, bitsPerPixel, std::move(palette));
        *this = std::move(fresh);
    } catch (const std::bad_alloc&) {
        throw MemoryError("no memory for a sprite");
    }
}

void Sprite::createFromDib(ByteSpan headerAndTable, ByteSpan pixels, PaletteRef palette)
{
    const DibInput dib(headerAndTable, pixels);
    try {
        if (!palette) {
            palette = Palette::make();
            palette->setCount(int(dib.colours().size()));
            for (size_t i = 0; i < dib.colours().size(); ++i)
                palette->setEntry(int(i), dib.colours()[i]);
        }
        Sprite fresh;
        fresh.build(dib.width(), dib.height(), dib.logicalWidth(), dib.logicalHeight(), dib.bits(),
                    std::move(palette));
        dib.copyPixels(fresh.pixels());
        *this = std::move(fresh);
    } catch (const std::bad_alloc&) {
        throw MemoryError("no memory for a sprite");
    }
}

// Called on an empty sprite with checked arguments.
void Sprite::build(int width, int height, int logicalWidth, int logicalHeight, int bits, PaletteRef palette)
{
    imageSize_ = size_t(rowStride(bits, width)) * size_t(height);
    if (imageSize_ > kMaxImageBytes)
        throw MemoryError("sprite image of " + std::to_string(imageSize_) + " bytes");
    header_ = makeInfoHeader(width, height, logicalWidth, logicalHeight, bits);
    pixels_ = decltype(pixels_)(imageSize_ / 4); // zeroed by the allocator
    palette_ = std::move(palette);
    width_ = width;
    height_ = height;
    logicalWidth_ = logicalWidth;
    logicalHeight_ = logicalHeight;
    bits_ = bits;
    usedBytes_ = celvane::usedBytesPerRow(bits, width);
    stride_ = rowStride(bits, width);
    tableEntries_ = celvane::colourTableEntries(bits);
    pixelMask_ = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    updateColourTable();
}

void Sprite::updateColourTable() const
{
    if (!isPaletteDepth(bits_) || !palette_ || palette_->changeStamp() == colourTableStamp_)
        return;
    uint8_t* table = header_.data() + kInfoHeaderSize;
    for (int i = 0; i < tableEntries_; ++i) {
        const uint32_t c = rgbOfWord(palette_->entry(i));
        table[4 * i] = uint8_t(blueOf(c));
        table[4 * i + 1] = uint8_t(greenOf(c));
        table[4 * i + 2] = uint8_t(redOf(c));
        table[4 * i + 3] = 0;
    }
    colourTableStamp_ = palette_->changeStamp();
}

void Sprite::setTransparentColour(uint32_t colourWord, bool masked)
{
    hasTransparent_ = true;
    transparent_ = colourWord;
    solid_ = !masked;
}

Sprite& Sprite::ensureMask()
{
    if (empty())
        throw NotSupportedError("mask of an empty sprite");
    if (!mask_) {
        auto mask = std::make_unique<Sprite>();
        mask->create(width_, height_, logicalWidth_, logicalHeight_, 1);
        mask_ = std::move(mask);
    }
    return *mask_;
}

void Sprite::buildMaskFromKey(uint32_t pixel, bool merge)
{
    Sprite& mask = ensureMask();
    solid_ = false;
    const uint32_t key = pixel & pixelMask_;
    auto store = [merge](uint8_t& to, uint8_t opaque) { to = merge ? uint8_t(to | opaque) : opaque; };

    if (bits_ == 1) {
        const uint32_t keyWord = replicate(key);
        for (size_t i = 0; i < pixels_.size(); ++i) {
            const uint32_t opaque = pixels_[i] ^ keyWord;
            mask.pixels_[i] = merge ? mask.pixels_[i] | opaque : opaque;
        }
        return;
    }
    for (int row = 0; row < height_; ++row) {
        const uint8_t* from = pixels() + size_t(stride_) * size_t(row);
        uint8_t* to = mask.pixels() + size_t(mask.stride_) * size_t(row);
        if (bits_ == 4) {
            // Eight pixels per source word, one mask byte each.
            const uint32_t keyWord = replicate(key);
            for (int word = 0; word < (usedBytes_ + 3) / 4; ++word) {
                const uint32_t differs = loadLE32(from + 4 * word) ^ keyWord;
                uint8_t opaque = 0;
                for (int k = 0; k < 8; ++k) {
                    const int shift = 8 * (k / 2) + ((k & 1) ? 0 : 4); // high nibble first
                    if ((differs >> shift) & 0xF)
                        opaque |= uint8_t(0x80 >> k);
                }
                store(to[word], opaque);
            }
        } else {
            uint8_t opaque = 0;
            for (int x = 0; x < width_; ++x) {
                if (pixelInRow(from, x, bits_) != key)
                    opaque |= uint8_t(0x80 >> (x & 7));
                if ((x & 7) == 7 || x == width_ - 1) {
                    store(to[x >> 3], opaque);
                    opaque = 0;
                }
            }
        }
    }
}

uint32_t Sprite::pixelValueOf(uint32_t colourWord) const
{
    switch (bits_) {
    case 16:
        return (((colourWord >> 19) << 5) & 0x3E0) | ((colourWord >> 11) & 0x1F) | ((colourWord >> 27) << 10);
    case 32:
        return colourWord >> 8;
    default: {
        const int index = indexOfWord(colourWord);
        return uint32_t(palette_ ? palette_->storedIndex(index) : index) & pixelMask_;
    }
    }
}

uint32_t Sprite::colourWordOf(uint32_t pixel) const
{
    switch (bits_) {
    case 16:
        return rgbToColourWord(rgb(widen5(pixel), widen5(pixel >> 5), widen5(pixel >> 10)));
    case 32:
        return pixel << 8;
    default: {
        const int index = int(pixel & pixelMask_);
        return palette_ ? palette_->entry(index) | uint32_t(palette_->logicalIndex(index)) : uint32_t(index);
    }
    }
}

uint32_t Sprite::nearestColourWord(uint32_t rgbValue) const
{
    const int index = isPaletteDepth(bits_) && palette_ ? palette_->nearestIndex(rgbValue) : -1;
    if (index < 0)
        return rgbToColourWord(rgbValue);
    return palette_->entry(index) | uint32_t(palette_->logicalIndex(index));
}

uint32_t Sprite::pixelValueForRgb(uint32_t rgbValue) const
{
    if (!isPaletteDepth(bits_))
        return pixelValueOf(rgbToColourWord(rgbValue));
    const int index = palette_ ? palette_->nearestIndex(rgbValue) : -1;
    return index < 0 ? 0 : uint32_t(index);
}

uint32_t Sprite::replicate(uint32_t pixel) const
{
    uint32_t word = pixel & pixelMask_;
    for (int shift = bits_; shift > 0 && shift < 32; shift *= 2)
        word |= word << shift;
    return word;
}

void Sprite::fillWord(uint32_t word)
{
    std::fill(pixels_.begin(), pixels_.end(), word);
}

void Sprite::requireSameGeometry(const Sprite& other) const
{
    if (other.width_ != width_ || other.height_ != height_ || other.bits_ != bits_)
        throw NotSupportedError("sprites of different geometry");
}

void Sprite::copyPixelsFrom(const Sprite& other)
{
    requireSameGeometry(other);
    std::copy(other.pixels_.begin(), other.pixels_.end(), pixels_.begin());
}

void Sprite::swapPixelsWith(Sprite& other)
{
    requireSameGeometry(other);
    std::swap_ranges(pixels_.begin(), pixels_.end(), other.pixels_.begin());
}

void Sprite::copyAreaFrom(const Sprite& other, const Rect& area)
{
    requireSameGeometry(other);
    const Rect r = area.intersected({0, 0, width_, height_});
    if (r.isEmpty())
        return;
    const size_t first = size_t(r.left) * size_t(bits_) / 8;
    const size_t end = (size_t(r.right) * size_t(bits_) + 7) / 8;
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(rowAddress(y) + first, other.rowAddress(y) + first, end - first);
}

void Sprite::copyAlternateRowsFrom(const Sprite& other)
{
    requireSameGeometry(other);
    const size_t rowWords = size_t(stride_) / 4;
    const size_t usedWords = size_t(usedBytes_ + 3) / 4;
    for (size_t row = 0; row < size_t(height_); row += 2) {
        const auto from = other.pixels_.begin() + ptrdiff_t(row * rowWords);
        std::copy(from, from + ptrdiff_t(usedWords), pixels_.begin() + ptrdiff_t(row * rowWords));
    }
}

uint32_t Sprite::readPixel(int x, int y) const
{
    if (empty())
        return 0;
    const int64_t px = std::clamp<int64_t>(int64_t(x) * width_ / logicalWidth_, 0, width_ - 1);
    const int64_t py = int64_t(y) * height_ / logicalHeight_;
    const int64_t memoryRow = std::clamp<int64_t>(height_ - 1 - py, 0, height_ - 1);
    return pixelInRow(pixels() + size_t(stride_) * size_t(memoryRow), int(px), bits_);
}

uint32_t Sprite::pixelAt(int x, int y) const
{
    return pixelInRow(rowAddress(y), x, bits_);
}

void Sprite::setPixelAt(int x, int y, uint32_t pixel)
{
    uint8_t* row = rowAddress(y);
    pixel &= pixelMask_;
    switch (bits_) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = uint8_t(pixel ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = uint8_t((row[x >> 1] & ~(0xF << shift)) | (pixel << shift));
        break;
    }
    case 8:
        row[x] = uint8_t(pixel);
        break;
    case 16:
        storeLE16(row + 2 * x, uint16_t(pixel));
        break;
    default:
        storeLE32(row + 4 * size_t(x), pixel);
        break;
    }
}

size_t Sprite::bitmapSize(bool withFileHeader) const
{
    return (withFileHeader ? kFileHeaderSize : 0) + header_.size() + imageSize_;
}

size_t Sprite::filmChunkSize(bool withFileHeader) const
{
    size_t size = 8 + bitmapSize(withFileHeader);
    if (hasTransparent_)
        size += padding4(size) + 8;
    else if (mask_)
        size += mask_->bitmapSize(true);
    return size + padding4(size);
}

size_t Sprite::write(ByteWriter* out, SpriteWriteKind kind, bool withFileHeader) const
{
    if (empty())
        throw NotSupportedError("writing an empty sprite");
    const bool chunk = kind == SpriteWriteKind::FilmChunk;
    const size_t total = chunk ? filmChunkSize(withFileHeader) : bitmapSize(withFileHeader);
    if (!out)
        return total;

    const size_t start = out->written();
    auto padTo4 = [&] { out->zeros(padding4(out->written() - start)); };
    if (chunk) {
        // The tag says what follows the bitmap: a transparent colour, a mask, or nothing.
        const uint32_t tag = hasTransparent_ ? makeTag("101\0") : mask_ ? makeTag("102\0") : makeTag("69C\0");
        writeChunkHeader(*out, tag, uint32_t(total));
    }
    writeBitmap(*out, withFileHeader);
    if (chunk) {
        if (hasTransparent_) {
            padTo4();
            out->u32(transparent_);
            out->u32(solid_ ? 0 : 1);
        } else if (mask_) {
            mask_->writeBitmap(*out, true);
        }
        padTo4();
    }
    return total;
}

void Sprite::writeBitmap(ByteWriter& out, bool withFileHeader) const
{
    updateColourTable();
    if (withFileHeader) {
        const size_t pixelOffset = kFileHeaderSize + header_.size();
        out.bytes("BM", 2);
        out.u32(uint32_t(pixelOffset + imageSize_));
        out.u16(0);
        out.u16(0);
        out.u32(uint32_t(pixelOffset));
    }
    out.bytes(header_);
    out.bytes(pixels(), imageSize_);
}

} // namespace celvane
