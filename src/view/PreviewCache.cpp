#include "view/PreviewCache.h"

#include <algorithm>
#include <cstring>

#include "film/Film.h"
#include "gfx/Colour.h"

namespace celvane {

namespace PreviewLevels {

namespace {
constexpr int kOffsets[kCount][4] = {{-1}, {-2, -1}, {-3, -2, -1}, {+1, -1}, {-2, +1, -1}, {+2, -2, +1, -1}};
constexpr int kLengths[kCount] = {1, 2, 3, 2, 3, 4};
constexpr const char* kExplanations[kCount] = {
    "The previous frame will be shown behind the current frame.",
    "The previous two frames will be shown behind the current frame.",
    "The previous three frames will be shown behind the current frame.",
    "The previous and next frames will be shown behind the current frame.",
    "The previous two and the next frame will be shown behind the current frame.",
    "The previous two and next two frames will be shown behind the current frame.",
};
} // namespace

std::span<const int> offsets(int level)
{
    if (level < 0 || level >= kCount)
        return {};
    return {kOffsets[level], size_t(kLengths[level])};
}

const char* explanation(int level) { return level >= 0 && level < kCount ? kExplanations[level] : ""; }

std::vector<int> neighbours(int level, int current, int frameCount, bool loop)
{
    std::vector<int> frames;
    for (int k : offsets(level)) {
        int f = current + k;
        if (loop && f < 0)
            f += frameCount;
        else if (loop && f >= frameCount)
            f -= frameCount;
        if (f < 0 || f >= frameCount || f == current || std::find(frames.begin(), frames.end(), f) != frames.end())
            continue;
        frames.push_back(f);
    }
    return frames;
}

} // namespace PreviewLevels

int32_t PreviewCache::fixedOf(int v)
{
    static const auto table = [] {
        std::array<int32_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = int32_t(i * 1052688.0627);
        return t;
    }();
    return table[size_t(v & 0xFF)];
}

std::vector<uint8_t> PreviewCache::inverseTable(const Palette& palette)
{
    std::vector<uint8_t> table(4096);
    for (int i = 0; i < 4096; ++i)
        table[size_t(i)] = uint8_t(std::max(0, palette.nearestIndex(rgb((i & 15) * 17, ((i >> 4) & 15) * 17, ((i >> 8) & 15) * 17))));
    return table;
}

std::vector<std::array<int32_t, 3>> PreviewCache::fixedPalette(const Palette& palette)
{
    std::vector<std::array<int32_t, 3>> table(256);
    for (int i = 0; i < palette.count() && i < 256; ++i) {
        const uint32_t c = rgbOfWord(palette.entry(i));
        table[size_t(i)] = {fixedOf(redOf(c)), fixedOf(greenOf(c)), fixedOf(blueOf(c))};
    }
    return table;
}

void PreviewCache::create(const Film& film, int depth)
{
    blend_.reset();
    composite_.reset();
    blend_.create(film.width(), film.height(), 0, 0, depth, film.palette());
    composite_.create(film.width(), film.height(), 0, 0, depth, film.palette());
    depth_ = depth;
    paper_ = film.paper();
    paletteStamp_ = film.palette()->changeStamp();
    if (depth <= 8) {
        inverse_ = inverseTable(*film.palette());
        fixedPalette_ = fixedPalette(*film.palette());
    }
}

bool PreviewCache::buildBlend(const Film& film, const std::vector<int>& frames, int depth)
{
    if (depth != depth_ || film.paper() != paper_ || film.palette()->changeStamp() != paletteStamp_ || blend_.empty()
        || blend_.width() != film.width() || blend_.height() != film.height()) {
        valid_ = false;
        create(film, depth);
    }
    if (valid_ && frames == frames_)
        return false;
    accumulate(film, frames);
    writeBlend();
    frames_ = frames;
    valid_ = true;
    return true;
}

void PreviewCache::accumulate(const Film& film, const std::vector<int>& frames)
{
    const int width = film.width(), height = film.height();
    accumulator_.assign(size_t(width) * size_t(height), rgbOfWord(paper_));
    // Each neighbour halves what came before it, so the last one weighs 1/2, the one before it
    // 1/4, and the paper what is left; per channel, rounding down.
    const auto average = [](uint32_t a, uint32_t b) { return ((a & 0xFEFEFE) >> 1) + ((b & 0xFEFEFE) >> 1) + (a & b & 0x010101); };
    for (int f : frames) {
        film.decodeFrameInto(f, neighbour_);
        const Sprite& image = neighbour_;
        uint32_t lookup[256] = {};
        if (image.bitsPerPixel() <= 8)
            for (int i = 0; i < (1 << image.bitsPerPixel()); ++i)
                lookup[i] = rgbOfWord(image.palette()->entry(i));
        for (int y = 0; y < height; ++y) {
            uint32_t* acc = &accumulator_[size_t(y) * size_t(width)];
            if (image.bitsPerPixel() == 8) {
                const uint8_t* row = image.rowAddress(y);
                for (int x = 0; x < width; ++x)
                    acc[x] = average(acc[x], lookup[row[x]]);
            } else {
                for (int x = 0; x < width; ++x) {
                    const uint32_t pixel = image.pixelAt(x, y);
                    const uint32_t colour = image.bitsPerPixel() < 8 ? lookup[pixel] : rgbOfWord(image.colourWordOf(pixel));
                    acc[x] = average(acc[x], colour);
                }
            }
        }
    }
}

void PreviewCache::writeBlend()
{
    if (depth_ <= 8) {
        dither(accumulator_, blend_, inverse_, fixedPalette_);
        return;
    }
    const int width = blend_.width();
    for (int y = 0; y < blend_.height(); ++y)
        for (int x = 0; x < width; ++x)
            blend_.setPixelAt(x, y, blend_.pixelValueOf(rgbToColourWord(accumulator_[size_t(y) * size_t(width) + size_t(x)])));
}

void PreviewCache::dither(const std::vector<uint32_t>& rgbs, Sprite& into, const std::vector<uint8_t>& inverse,
                          const std::vector<std::array<int32_t, 3>>& palette)
{
    constexpr int32_t kMax = 0x0FFFFFFF;
    const int width = into.width(), height = into.height();
    const bool packed8 = into.bitsPerPixel() == 8;
    // Errors carried to this row and the next, per channel, with a pixel of margin each side.
    std::vector<int32_t> thisRow(size_t(width + 2) * 3), nextRow(size_t(width + 2) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(nextRow.begin(), nextRow.end(), 0);
        const bool leftwards = ((height & 1) != 0) != ((y & 1) != 0);
        const int step = leftwards ? -1 : 1;
        const uint32_t* source = &rgbs[size_t(y) * size_t(width)];
        uint8_t* row = into.rowAddress(y);
        for (int i = 0; i < width; ++i) {
            const int x = leftwards ? width - 1 - i : i;
            const uint32_t c = source[x];
            int32_t* carried = &thisRow[size_t(x + 1) * 3];
            int32_t v[3] = {fixedOf(int(c & 0xFF)) + carried[0], fixedOf(int((c >> 8) & 0xFF)) + carried[1],
                            fixedOf(int((c >> 16) & 0xFF)) + carried[2]};
            for (int32_t& channel : v)
                channel = std::clamp(channel, 0, kMax);
            const uint8_t index = inverse[size_t(((v[2] >> 24) << 8) | ((v[1] >> 24) << 4) | (v[0] >> 24))];
            if (packed8)
                row[x] = index;
            else
                into.setPixelAt(x, y, index);
            const auto& entry = palette[index];
            for (int k = 0; k < 3; ++k) {
                const int32_t e = v[k] - entry[size_t(k)];
                thisRow[size_t(x + 1 + step) * 3 + size_t(k)] += e * 7 / 16;
                nextRow[size_t(x + 1 - step) * 3 + size_t(k)] += e * 3 / 16;
                nextRow[size_t(x + 1) * 3 + size_t(k)] += e * 5 / 16;
                nextRow[size_t(x + 1 + step) * 3 + size_t(k)] += e / 16;
            }
        }
        std::swap(thisRow, nextRow);
    }
}

void PreviewCache::buildComposite(const Sprite& frame, const Rect& rect)
{
    const Rect r = rect.intersected({0, 0, composite_.width(), composite_.height()});
    if (r.isEmpty() || frame.width() != composite_.width() || frame.height() != composite_.height())
        return;
    const uint32_t paperPixel = frame.pixelValueOf(paper_);
    const bool bytes = depth_ >= 8;
    const size_t bytesPerPixel = size_t(depth_ / 8);
    for (int y = r.top; y < r.bottom; ++y) {
        if (bytes)
            std::memcpy(composite_.rowAddress(y) + size_t(r.left) * bytesPerPixel,
                        blend_.rowAddress(y) + size_t(r.left) * bytesPerPixel, size_t(r.width()) * bytesPerPixel);
        else
            for (int x = r.left; x < r.right; ++x)
                composite_.setPixelAt(x, y, blend_.pixelAt(x, y));
        if (frame.bitsPerPixel() == 8 && depth_ == 8 && frame.palette() == composite_.palette()) {
            // The usual case: one palette, so pixels copy as they are.
            const uint8_t* from = frame.rowAddress(y);
            uint8_t* to = composite_.rowAddress(y);
            const uint8_t paper = uint8_t(paperPixel);
            for (int x = r.left; x < r.right; ++x)
                if (from[x] != paper)
                    to[x] = from[x];
            continue;
        }
        for (int x = r.left; x < r.right; ++x) {
            const uint32_t pixel = frame.pixelAt(x, y);
            if (pixel != paperPixel)
                composite_.setPixelAt(x, y, composite_.pixelValueForRgb(rgbOfWord(frame.colourWordOf(pixel))));
        }
    }
}

} // namespace celvane
