#include "export/ColourQuantizer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace celvane {

void ColourReducer::reduce(const uint32_t* colours, int width, int height, uint8_t* out)
{
    const size_t n = size_t(width) * size_t(height);
    for (size_t i = 0; i < n; ++i)
        out[i] = uint8_t(indexOf(colours[i] << 8));
}

namespace {

int cellOf(uint32_t rgb) { return int(((rgb >> 3) & 0x1F) | ((rgb >> 6) & 0x3E0) | ((rgb >> 9) & 0x7C00)); }
int channel(int cell, int c) { return (cell >> (5 * c)) & 0x1F; }
uint32_t wordOf(int r, int g, int b) { return (uint32_t(b) << 24) | (uint32_t(g) << 16) | (uint32_t(r) << 8); }

// A box of histogram cells for the median cut.
struct Box {
    std::vector<int> cells;
    uint64_t weight = 0;
    int widest = 0;  // channel of the largest extent
    int extent = 0;
};

Box makeBox(std::vector<int> cells, const std::vector<uint32_t>& histogram)
{
    Box box;
    box.cells = std::move(cells);
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    for (int cell : box.cells) {
        box.weight += histogram[size_t(cell)];
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], channel(cell, c));
            hi[c] = std::max(hi[c], channel(cell, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (hi[c] - lo[c] > box.extent) {
            box.extent = hi[c] - lo[c];
            box.widest = c;
        }
    return box;
}

// The colours themselves, most used first, then by colour, so that the same film always gives
// the same table.
GifColours mostUsedFirst(const std::unordered_map<uint32_t, uint32_t>& uses)
{
    std::vector<std::pair<uint32_t, uint32_t>> byUse(uses.begin(), uses.end());
    std::sort(byUse.begin(), byUse.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    GifColours palette;
    for (const auto& [rgb, count] : byUse)
        palette.push_back(rgb << 8);
    return palette;
}

// A box's cells in two along channel `c`, at their weighted median. Cells of one value on the
// channel are never parted, so that the boxes stay apart.
std::pair<Box, Box> splitBox(std::vector<int> sorted, int c, const std::vector<uint32_t>& histogram)
{
    std::sort(sorted.begin(), sorted.end(), [c](int a, int b) { return channel(a, c) < channel(b, c); });
    uint64_t half = 0, total = 0;
    for (int cell : sorted)
        total += histogram[size_t(cell)];
    size_t split = 1;
    for (size_t i = 0; i + 1 < sorted.size(); ++i) {
        half += histogram[size_t(sorted[i])];
        split = i + 1;
        if (half * 2 >= total)
            break;
    }
    while (split < sorted.size() && channel(sorted[split], c) == channel(sorted[split - 1], c))
        ++split;
    if (split == sorted.size()) {
        split = 1;
        while (split < sorted.size() && channel(sorted[split], c) == channel(sorted[0], c))
            ++split;
    }
    std::vector<int> upper(sorted.begin() + std::ptrdiff_t(split), sorted.end());
    sorted.resize(split);
    return {makeBox(std::move(sorted), histogram), makeBox(std::move(upper), histogram)};
}

// The colour word of a box of some weight: its cells' centres averaged by use.
uint32_t averageOf(const Box& box, const std::vector<uint32_t>& histogram)
{
    uint64_t sum[3] = {};
    for (int cell : box.cells)
        for (int c = 0; c < 3; ++c)
            sum[c] += histogram[size_t(cell)] * uint64_t(channel(cell, c) * 8 + 4);
    return wordOf(int(sum[0] / box.weight), int(sum[1] / box.weight), int(sum[2] / box.weight));
}

} // namespace

void ColourQuantizer::addColours(const uint32_t* colours, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint32_t rgb = colours[i] & 0xFFFFFF;
        ++histogram_[size_t(cellOf(rgb))];
        if (!tooMany_) {
            ++distinct_[rgb];
            tooMany_ = distinct_.size() > 256;
        }
    }
}

GifColours ColourQuantizer::choosePalette(int maxColours)
{
    exact_ = !tooMany_ && int(distinct_.size()) <= maxColours;
    if (exact_)
        return mostUsedFirst(distinct_);
    std::vector<int> cells;
    for (int cell = 0; cell < kBins; ++cell)
        if (histogram_[size_t(cell)])
            cells.push_back(cell);
    std::vector<Box> boxes;
    boxes.push_back(makeBox(std::move(cells), histogram_));
    while (int(boxes.size()) < maxColours) {
        // Split the heaviest box that can still be split.
        auto pick = boxes.end();
        for (auto b = boxes.begin(); b != boxes.end(); ++b)
            if (b->extent > 0 && (pick == boxes.end() || b->weight * uint64_t(b->extent) > pick->weight * uint64_t(pick->extent)))
                pick = b;
        if (pick == boxes.end())
            break;
        auto [lower, upper] = splitBox(std::move(pick->cells), pick->widest, histogram_);
        *pick = std::move(lower);
        boxes.push_back(std::move(upper));
    }
    GifColours palette;
    for (const Box& box : boxes)
        if (box.weight)
            palette.push_back(averageOf(box, histogram_));
    return palette;
}

FrameDitherer::FrameDitherer(const GifColours& palette, bool exact) : palette_(palette), exact_(exact)
{
    if (exact_)
        for (size_t i = 0; i < palette_.size(); ++i)
            exactIndex_.emplace(palette_[i] >> 8, uint8_t(i));
    lookup_.assign(size_t(1) << 15, -1);
}

int FrameDitherer::indexOf(uint32_t rgb)
{
    rgb &= 0xFFFFFF;
    if (exact_)
        if (const auto found = exactIndex_.find(rgb); found != exactIndex_.end())
            return found->second;
    return nearest(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int(rgb >> 16));
}

int FrameDitherer::nearest(int r, int g, int b)
{
    const int cell = (r >> 3) | ((g >> 3) << 5) | ((b >> 3) << 10);
    int16_t& found = lookup_[size_t(cell)];
    if (found < 0) {
        const int cr = (r & ~7) + 4, cg = (g & ~7) + 4, cb = (b & ~7) + 4;
        int best = 0, bestDistance = INT_MAX;
        for (size_t i = 0; i < palette_.size(); ++i) {
            const uint32_t w = palette_[i];
            const int dr = int((w >> 8) & 0xFF) - cr, dg = int((w >> 16) & 0xFF) - cg, db = int(w >> 24) - cb;
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = int(i);
            }
        }
        found = int16_t(best);
    }
    return found;
}

void FrameDitherer::map(const uint32_t* colours, int width, int height, uint8_t* out)
{
    const size_t n = size_t(width) * size_t(height);
    const bool follow = previousColours_.size() == n;
    if (exact_) {
        for (size_t i = 0; i < n; ++i)
            out[i] = uint8_t(indexOf(colours[i]));
        return;
    }
    // Floyd-Steinberg, errors carried in two rows of three channels.
    std::vector<int> errors(size_t(width + 2) * 6, 0);
    int* current = errors.data();
    int* below = errors.data() + size_t(width + 2) * 3;
    for (int y = 0; y < height; ++y) {
        std::fill(below, below + size_t(width + 2) * 3, 0);
        for (int x = 0; x < width; ++x) {
            const size_t at = size_t(y) * size_t(width) + size_t(x);
            const uint32_t rgb = colours[at] & 0xFFFFFF;
            int want[3] = {int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int(rgb >> 16)};
            int* e = current + size_t(x + 1) * 3;
            for (int c = 0; c < 3; ++c)
                want[c] = std::clamp(want[c] + e[c] / 16, 0, 255);
            int index;
            if (follow && previousColours_[at] == rgb)
                index = previousIndices_[at];
            else
                index = nearest(want[0], want[1], want[2]);
            out[at] = uint8_t(index);
            const uint32_t got = palette_[size_t(index)];
            const int have[3] = {int((got >> 8) & 0xFF), int((got >> 16) & 0xFF), int(got >> 24)};
            for (int c = 0; c < 3; ++c) {
                const int error = want[c] - have[c];
                e[3 + c] += error * 7;
                int* b = below + size_t(x) * 3;
                b[c] += error * 3;
                b[3 + c] += error * 5;
                b[6 + c] += error;
            }
        }
        std::swap(current, below);
    }
    previousColours_.assign(colours, colours + n);
    for (uint32_t& c : previousColours_)
        c &= 0xFFFFFF;
    previousIndices_.assign(out, out + n);
}

} // namespace celvane
