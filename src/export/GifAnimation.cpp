#include "export/GifAnimation.h"

#include <algorithm>
#include <cstring>

#include "export/GifErrors.h"
#include "export/Lzw.h"

namespace celvane {

void ColourReducer::reduce(const uint32_t* colours, int width, int height, uint8_t* out)
{
    const size_t n = size_t(width) * size_t(height);
    for (size_t i = 0; i < n; ++i)
        out[i] = uint8_t(indexOf(colours[i] << 8));
}

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

void Animation::eraseFrames(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, frameCount() - 1);
    if (first <= last)
        frames_.erase(frames_.begin() + first, frames_.begin() + last + 1);
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
            frame.pixels = pack(reduced.data());
            palette = reducer->palette();
        } else {
            frame.used = composed.used;
            frame.pixels = pack(composed.indices);
            palette = *composed.palette;
            if (reducer)
                for (uint32_t& entry : palette)
                    entry = reducer->palette()[size_t(reducer->indexOf(entry))];
        }
        if (composed.masked)
            frame.mask = pack(composed.mask);
        frame.palette = pool_.make(palette);
        frames_.push_back(std::move(frame));
    });
}

Bytes Animation::pack(const uint8_t* bytes)
{
    const size_t n = area();
    packing_.clear();
    gifAllocating("animcompress", [&] { packing_.reserve(n + n / 2 + 32); });
    lzwEncode(-kLzwRawWidth, packing_, ByteSpan(bytes, n));
    return packing_;
}

void Animation::unpackPixels(const AnimationFrame& frame, uint8_t* pixels) const
{
    const size_t n = area();
    const size_t got = lzwDecode(frame.pixels, pixels, n, kLzwRawWidth).length;
    std::memset(pixels + got, 0, n - got);
}

void Animation::unpackMask(const AnimationFrame& frame, uint8_t* mask) const
{
    const size_t n = area();
    if (frame.mask.empty()) {
        std::memset(mask, 0xFF, n);
        return;
    }
    const size_t got = lzwDecode(frame.mask, mask, n, kLzwRawWidth).length;
    std::memset(mask + got, 0, n - got);
}

void Animation::unpack(const AnimationFrame& frame, uint8_t* pixels, uint8_t* mask) const
{
    unpackPixels(frame, pixels);
    unpackMask(frame, mask);
}

void Animation::remapFrame(AnimationFrame& frame, const uint8_t* map)
{
    const size_t n = area();
    Bytes pixels(n);
    unpackPixels(frame, pixels.data());
    for (uint8_t& p : pixels)
        p = map[p];
    frame.pixels = pack(pixels.data());
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
            if (!frame.mask.empty() || f > 0)
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
