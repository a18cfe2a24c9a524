#include "import/GifAnimation.h"

#include <algorithm>
#include <cstring>

#include "export/GifErrors.h"
#include "export/Lzw.h"

namespace celvane {

GifPalette GifPalettePool::make(const GifColours& entries)
{
    return gifAllocating("palcreate", [&] {
        std::erase_if(nodes_, [](const auto& node) { return node.expired(); });
        for (const auto& node : nodes_)
            if (GifPalette shared = node.lock(); shared && *shared == entries)
                return shared;
        auto made = std::make_shared<const GifColours>(entries);
        nodes_.push_back(made);
        return GifPalette(made);
    });
}

Animation::Animation(int width, int height, bool loop) : width_(width), height_(height), loop_(loop)
{
    gifAllocating("animcreate", [&] { frames_.reserve(16); });
}

void Animation::makeAlone(int f)
{
    AnimationFrame& frame = frames_[size_t(f)];
    if (frame.alone == f)
        return;
    Bytes pixels(area()), mask(area());
    unpackStored(f, pixels.data(), mask.data());
    frame.rect = whole();
    frame.pixels = pack(pixels.data(), frame.rect);
    frame.mask = frame.masked ? pack(mask.data(), frame.rect) : Bytes();
}

void Animation::eraseFrames(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, frameCount() - 1);
    if (first > last)
        return;
    // The frame after them is told against one that goes: it must stand alone.
    if (last + 1 < frameCount()) {
        makeAlone(last + 1);
        frames_[size_t(last + 1)].changed = whole();
    }
    frames_.erase(frames_.begin() + first, frames_.begin() + last + 1);
    int alone = -1;
    for (int f = 0; f < frameCount(); ++f) {
        if (frames_[size_t(f)].rect.area() == area())
            alone = f;
        frames_[size_t(f)].alone = alone;
    }
}

void Animation::addFrame(const ComposedFrame& composed, ColourReducer* reducer)
{
    if (composed.width != width_ || composed.height != height_)
        throwGifNotSupported("All images must be the same size");
    if (composed.colours && !reducer)
        throwGifNotSupported("Please choose a palette-reduction option when using images with more than 256 colours");

    const size_t n = area();
    AnimationFrame frame;
    frame.delay = composed.delay;
    frame.masked = composed.masked;
    // Deep frames are reduced whole, and what follows one is told against indices of its
    // reducer, not of the canvas. Changes that add up to a canvas make a frame stand alone,
    // so that no frame takes more than two canvases to unpack.
    const bool alone = composed.colours || lastDeep_ || sinceAlone_ + composed.changed.area() >= n;
    frame.changed = composed.changed;
    frame.rect = alone ? whole() : composed.changed;
    sinceAlone_ = alone ? 0 : sinceAlone_ + frame.rect.area();
    lastDeep_ = composed.colours != nullptr;
    frame.alone = alone ? frameCount() : frames_.empty() ? -1 : frames_.back().alone;
    gifAllocating("addframe", [&] {
        GifColours palette;
        if (composed.colours) {
            // Deep frames become indices through the reducer, onto its whole palette.
            Bytes reduced(n);
            reducer->reduce(composed.colours, width_, height_, reduced.data());
            bool used[256] = {};
            for (size_t i = 0; i < n; ++i)
                used[reduced[i]] |= composed.mask[i] != 0;
            for (int s = 0; s < 256; ++s)
                frame.used[size_t(s)] = used[s];
            frame.pixels = pack(reduced.data(), frame.rect);
            palette = reducer->palette();
        } else {
            frame.used = composed.used;
            frame.pixels = pack(composed.indices, frame.rect);
            palette = *composed.palette;
            if (reducer)
                for (uint32_t& entry : palette)
                    entry = reducer->palette()[size_t(reducer->indexOf(entry))];
        }
        const Rect& r = frame.rect;
        bool opaque = true;
        for (int y = r.top; y < r.bottom && opaque; ++y) {
            const uint8_t* row = composed.mask + size_t(y) * size_t(width_) + size_t(r.left);
            opaque = std::find(row, row + r.width(), 0) == row + r.width();
        }
        if (!opaque)
            frame.mask = pack(composed.mask, r);
        frame.palette = pool_.make(palette);
        frames_.push_back(std::move(frame));
    });
}

Bytes Animation::pack(const uint8_t* canvas, const Rect& r)
{
    const size_t n = r.area();
    const uint8_t* bytes = canvas;
    // A frame that changed nothing has no pixels to gather, though its rectangle (that of an
    // image of no width) may still span rows.
    if (n > 0 && r.width() != width_) {
        rows_.resize(n);
        for (int y = 0; y < r.height(); ++y)
            std::memcpy(&rows_[size_t(y) * size_t(r.width())],
                        canvas + size_t(r.top + y) * size_t(width_) + size_t(r.left), size_t(r.width()));
        bytes = rows_.data();
    } else if (n > 0) {
        bytes += size_t(r.top) * size_t(width_);
    }
    packing_.clear();
    gifAllocating("animcompress", [&] { packing_.reserve(n + n / 2 + 32); });
    lzwEncode(LzwForm::Raw, kLzwRawWidth, packing_, ByteSpan(bytes, n));
    return packing_;
}

void Animation::apply(const AnimationFrame& frame, uint8_t* pixels, uint8_t* mask) const
{
    const Rect& r = frame.rect;
    const size_t n = r.area();
    if (n == 0)
        return;
    // Rows of the canvas's width are unpacked in place; narrower ones by way of a copy.
    auto unpackInto = [&](const Bytes& packed, uint8_t* canvas) {
        uint8_t* at = canvas + size_t(r.top) * size_t(width_);
        Bytes rows;
        uint8_t* into = at;
        if (r.width() != width_) {
            rows.resize(n);
            into = rows.data();
        }
        const size_t got = lzwDecode(packed, into, n, kLzwRawWidth).length;
        std::memset(into + got, 0, n - got);
        if (into != at)
            for (int y = 0; y < r.height(); ++y)
                std::memcpy(canvas + size_t(r.top + y) * size_t(width_) + size_t(r.left),
                            &rows[size_t(y) * size_t(r.width())], size_t(r.width()));
    };
    unpackInto(frame.pixels, pixels);
    if (!frame.mask.empty()) {
        unpackInto(frame.mask, mask);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y)
        std::memset(mask + size_t(y) * size_t(width_) + size_t(r.left), 0xFF, size_t(r.width()));
}

Rect Animation::unpackStored(int f, uint8_t* pixels, uint8_t* mask, int holding) const
{
    const int alone = frames_[size_t(f)].alone;
    const bool follows = holding >= 0 && holding < f;
    Rect changed = follows ? Rect{} : whole();
    if (follows)
        for (int i = holding + 1; i <= f; ++i)
            changed = changed.united(frames_[size_t(i)].changed);
    int from = holding + 1;
    if (!follows || holding < alone) {
        // From the last frame that stands alone, or from a blank canvas.
        from = std::max(alone, 0);
        if (alone < 0) {
            std::memset(pixels, 0, area());
            std::memset(mask, 0, area());
        }
    }
    for (int i = from; i <= f; ++i)
        apply(frames_[size_t(i)], pixels, mask);
    return changed;
}

void Animation::unpack(int f, uint8_t* pixels, uint8_t* mask) const
{
    unpackStored(f, pixels, mask);
    if (const auto& map = frames_[size_t(f)].map)
        for (size_t i = 0; i < area(); ++i)
            pixels[i] = (*map)[pixels[i]];
}

void Animation::remapFrame(AnimationFrame& frame, const uint8_t* map)
{
    frame.map.emplace();
    std::copy(map, map + 256, frame.map->begin());
    std::bitset<256> used;
    for (int s = 0; s < 256; ++s)
        if (frame.used[size_t(s)])
            used.set(map[s]);
    frame.used = used;
}

void Animation::makeCommonPalette()
{
    gifAllocating("commonpal", [&] {
        GifColours common;
        common.reserve(256);
        size_t reserve = 0;
        std::vector<bool> joined(frames_.size());
        for (size_t f = 0; f < frames_.size(); ++f) {
            AnimationFrame& frame = frames_[f];
            const GifColours& own = *frame.palette;
            const size_t before = common.size();
            uint8_t map[256] = {};
            bool identity = true;
            bool fits = true;
            for (int s = 0; s < 256 && fits; ++s) {
                if (!frame.used[size_t(s)])
                    continue;
                const uint32_t colour = size_t(s) < own.size() ? own[size_t(s)] : 0;
                auto at = std::find(common.begin(), common.end(), colour);
                if (at == common.end()) {
                    if (common.size() == 256) {
                        fits = false;
                        break;
                    }
                    common.push_back(colour);
                    at = common.end() - 1;
                }
                map[s] = uint8_t(at - common.begin());
                identity = identity && map[s] == s;
            }
            if (!fits) {
                common.resize(before);
                continue;
            }
            // Slots the frame does not use keep their value: only masked pixels hold them.
            if (!identity)
                remapFrame(frame, map);
            joined[f] = true;
            if (frame.masked || f > 0)
                reserve = std::max(reserve, frame.used.count() + 1);
        }
        if (common.size() < reserve && common.size() < 256) {
            common.push_back(0); // black: a free index for transparent pixels
            transparentIndex_ = int(common.size()) - 1;
        }
        common_ = pool_.make(common);
        for (size_t f = 0; f < frames_.size(); ++f)
            if (joined[f])
                frames_[f].palette = common_;
    });
}

} // namespace celvane
