#include "import/GifCanvas.h"

#include <algorithm>
#include <cstring>

#include "export/GifErrors.h"

namespace celvane {

namespace {

uint32_t tableColour(const GifImage& image, int i)
{
    if (i >= image.tableEntries)
        return 0; // indices past the table show black
    const uint8_t* rgb = image.table + 3 * i;
    return (uint32_t(rgb[2]) << 24) | (uint32_t(rgb[1]) << 16) | (uint32_t(rgb[0]) << 8);
}

} // namespace

GifCanvas::GifCanvas(int width, int height) : width_(width), height_(height)
{
    gifAllocating("animfromgif", [&] {
        indices_.assign(size_t(width) * size_t(height), 0);
        mask_.assign(indices_.size(), 0);
        palette_.assign(256, 0);
    });
}

void GifCanvas::touch(const Rect& rect) { changed_ = changed_.united(rect); }

void GifCanvas::setIndex(size_t at, uint8_t slot)
{
    if (mask_[at])
        --slotUse_[indices_[at]];
    indices_[at] = slot;
    mask_[at] = kOpaque;
    ++slotUse_[slot];
}

bool GifCanvas::mergeColours(const uint32_t* colours, int count, const Slots& keep, uint8_t* map)
{
    const GifColours before = palette_;
    Slots taken = keep;
    for (int i = 0; i < count; ++i) {
        const auto same = std::find(palette_.begin(), palette_.end(), colours[i]);
        size_t slot = size_t(same - palette_.begin());
        if (same == palette_.end()) {
            slot = size_t(std::find(taken.begin(), taken.end(), false) - taken.begin());
            if (slot == taken.size()) {
                palette_ = before;
                return false;
            }
            palette_[slot] = colours[i];
        }
        taken[slot] = true;
        map[i] = uint8_t(slot);
    }
    return true;
}

void GifCanvas::turnDeep()
{
    gifAllocating("gifimage32", [&] {
        colours_.resize(indices_.size());
        for (size_t i = 0; i < indices_.size(); ++i)
            colours_[i] = palette_[indices_[i]] >> 8;
        Bytes().swap(indices_);
    });
    for (size_t use : slotUse_)
        deepOpaque_ += use;
    deep_ = true;
    touch({0, 0, width_, height_});
}

void GifCanvas::dispose(const Rect& r, bool transparent, uint32_t colourWord)
{
    touch(r);
    if (!deep_) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const size_t at = index(x, y);
                if (mask_[at])
                    --slotUse_[indices_[at]];
                mask_[at] = 0;
            }
        if (transparent)
            return;
        Slots keep;
        for (int s = 0; s < 256; ++s)
            keep[size_t(s)] = slotUse_[size_t(s)] > 0;
        uint8_t slot;
        if (mergeColours(&colourWord, 1, keep, &slot)) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    setIndex(index(x, y), slot);
            return;
        }
        turnDeep();
    }
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            colours_[index(x, y)] = colourWord >> 8;
            setDeepMask(index(x, y), !transparent);
        }
}

void GifCanvas::setDeepMask(size_t at, bool opaque)
{
    deepOpaque_ += size_t(opaque) - size_t(mask_[at] != 0);
    mask_[at] = opaque ? kOpaque : 0;
}

void GifCanvas::draw(const GifImage& image)
{
    touch(image.rect);
    if (!deep_) {
        if (drawIndexed(image))
            return;
        turnDeep();
    }
    drawDeep(image);
}

bool GifCanvas::drawIndexed(const GifImage& image)
{
    const Rect& r = image.rect;
    // The image's pixels of each index, and what stays of the canvas's slots around them:
    // enough to merge the palette and to keep the slot counts without a second count.
    std::array<size_t, 256> drawn = {};
    std::array<size_t, 256> staying = slotUse_;
    for (int y = 0; y < r.height(); ++y) {
        const uint8_t* row = image.indices + size_t(y) * size_t(r.width());
        const size_t at = index(r.left, r.top + y);
        for (int x = 0; x < r.width(); ++x) {
            if (row[x] == image.transparent)
                continue;
            ++drawn[row[x]];
            if (mask_[at + size_t(x)])
                --staying[indices_[at + size_t(x)]];
        }
    }
    Slots keep;
    for (int s = 0; s < 256; ++s)
        keep[size_t(s)] = staying[size_t(s)] > 0;
    uint32_t colours[256];
    int wanted[256];
    int count = 0;
    for (int i = 0; i < 256; ++i)
        if (drawn[size_t(i)]) {
            wanted[count] = i;
            colours[count++] = tableColour(image, i);
        }
    uint8_t slots[256];
    if (!mergeColours(colours, count, keep, slots))
        return false;
    uint8_t map[256] = {};
    slotUse_ = staying;
    for (int k = 0; k < count; ++k) {
        map[wanted[k]] = slots[k];
        slotUse_[slots[k]] += drawn[size_t(wanted[k])];
    }
    paintSlots(image, map);
    return true;
}

void GifCanvas::paintSlots(const GifImage& image, const uint8_t* map)
{
    const Rect& r = image.rect;
    for (int y = 0; y < r.height(); ++y) {
        const uint8_t* row = image.indices + size_t(y) * size_t(r.width());
        uint8_t* into = &indices_[index(r.left, r.top + y)];
        uint8_t* opaque = &mask_[index(r.left, r.top + y)];
        if (image.transparent < 0) {
            for (int x = 0; x < r.width(); ++x)
                into[x] = map[row[x]];
            std::memset(opaque, kOpaque, size_t(r.width()));
            continue;
        }
        for (int x = 0; x < r.width(); ++x)
            if (row[x] != image.transparent) {
                into[x] = map[row[x]];
                opaque[x] = kOpaque;
            }
    }
}

void GifCanvas::drawDeep(const GifImage& image)
{
    const Rect& r = image.rect;
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = tableColour(image, i) >> 8;
    for (int y = 0; y < r.height(); ++y) {
        const uint8_t* row = image.indices + size_t(y) * size_t(r.width());
        for (int x = 0; x < r.width(); ++x)
            if (row[x] != image.transparent) {
                colours_[index(r.left + x, r.top + y)] = colours[row[x]];
                setDeepMask(index(r.left + x, r.top + y), true);
            }
    }
}

ComposedFrame GifCanvas::frame(int delay)
{
    ComposedFrame f;
    f.changed = changed_;
    changed_ = {};
    f.width = width_;
    f.height = height_;
    if (deep_) {
        f.colours = colours_.data();
    } else {
        f.indices = indices_.data();
        f.palette = &palette_;
        size_t opaque = 0;
        for (int s = 0; s < 256; ++s) {
            f.used[size_t(s)] = slotUse_[size_t(s)] > 0;
            opaque += slotUse_[size_t(s)];
        }
        f.masked = opaque < mask_.size();
    }
    f.mask = mask_.data();
    if (deep_)
        f.masked = deepOpaque_ < mask_.size();
    f.delay = delay;
    return f;
}

} // namespace celvane
