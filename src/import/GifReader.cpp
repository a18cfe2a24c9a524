#include "import/GifReader.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/ColourQuantizer.h"
#include "import/GifCanvas.h"
#include "export/GifErrors.h"
#include "export/Lzw.h"

namespace celvane {

namespace {

// What opening may cost, checked before anything is allocated, so that a few bytes declaring a
// huge screen or thousands of images cannot ask for gigabytes and minutes. Both lie far above
// any real animation (an 8192 x 8192 picture; 200 frames of 2048 x 2048).
constexpr int kMaxSide = 32767; // what a film frame can be
// Bytes held per canvas pixel at the peak of opening: the canvas and its mask (4 + 1 bytes once
// it holds more than 256 colours), the frame unpacked with its mask, the picture served from it.
constexpr size_t kBytesPerCanvasPixel = 8;
#ifdef CELVANE_FUZZING
// Fuzzing looks for faults in the reading, not at how long big canvases take: a canvas of a
// quarter megapixel and four of them in all reach every path (every sample GIF is read whole),
// the refusals sooner, at a thousand runs a second under the sanitizers.
constexpr size_t kMemoryBudget = size_t(2) << 20;
constexpr size_t kTotalAreaBudget = size_t(1) << 20;
#else
constexpr size_t kMemoryBudget = size_t(512) << 20;
// Every frame is a whole canvas in the film: the work of opening grows with their total area.
constexpr size_t kTotalAreaBudget = size_t(1) << 30;
#endif
// Frames of more colours than one palette holds cost the file read twice more and every pixel
// of every frame dithered, several times the work above: such files get a quarter of it (still
// 64 frames of 2048 x 2048), so that a few kilobytes cannot keep the program busy for seconds.
constexpr size_t kReducedAreaBudget = kTotalAreaBudget / 4;

int tableEntries(uint8_t packed) { return 2 << (packed & 7); }

// A tolerant cursor over the file: data may end anywhere, and the walk then simply stops.
class BlockCursor {
public:
    explicit BlockCursor(ByteSpan data, size_t pos) : data_(data), pos_(pos) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    size_t position() const { return pos_; }
    // The data ended where more was due: inside a block or a chain of sub-blocks.
    bool cut() const { return cut_; }
    uint8_t byte()
    {
        cut_ = cut_ || atEnd();
        return atEnd() ? 0 : data_[pos_++];
    }
    // `n` bytes, or nothing (the cursor at the end) when fewer remain.
    std::optional<ByteSpan> take(size_t n)
    {
        if (n > data_.size() - std::min(pos_, data_.size())) {
            pos_ = data_.size();
            cut_ = true;
            return std::nullopt;
        }
        const ByteSpan s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // The next sub-block's data; empty at the terminator or at the end of the data (a
    // sub-block cut short gives what there is).
    ByteSpan subBlock()
    {
        if (atEnd()) {
            cut_ = true;
            return {};
        }
        const size_t declared = data_[pos_++];
        const size_t n = std::min(declared, data_.size() - pos_);
        cut_ = cut_ || n < declared;
        const ByteSpan s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void skipSubBlocks()
    {
        while (!subBlock().empty()) {
        }
    }

private:
    ByteSpan data_;
    size_t pos_;
    bool cut_ = false;
};

struct ImageBlock {
    Rect rect;
    bool interlaced = false;
    ByteSpan localTable;
    int minimumCodeSize = 0;
    size_t dataStart = 0; // the first sub-block
};

struct GraphicControl {
    uint8_t packed = 0;
    int delay = 0;
    uint8_t transparent = 0;
    bool hasTransparent() const { return packed & 1; }
    int disposal() const { return (packed >> 2) & 7; }
};

struct Block {
    enum Kind { Control, Image } kind;
    GraphicControl control;
    ImageBlock image;
};

// Everything the file holds, in order, up to its end or its trailer.
struct GifContents {
    int screenWidth = 0;
    int screenHeight = 0;
    ByteSpan globalTable;
    int backgroundIndex = 0;
    bool loop = false;
    std::vector<Block> blocks;
    bool cut = false; // the file ends inside a block
};

GifContents scan(ByteSpan data)
{
    if (data.size() < 3 || std::memcmp(data.data(), "GIF", 3) != 0)
        throwNotGif();
    if (data.size() < 13)
        throwGifDataError("The GIF file ends in its header");
    GifContents gif;
    gif.screenWidth = loadLE16(&data[6]);
    gif.screenHeight = loadLE16(&data[8]);
    const uint8_t packed = data[10];
    gif.backgroundIndex = data[11];
    BlockCursor at(data, 13);
    if (packed & 0x80)
        gif.globalTable = at.take(size_t(3 * tableEntries(packed))).value_or(ByteSpan());

    while (!at.atEnd()) {
        const uint8_t introducer = at.byte();
        if (introducer == ';')
            break;
        if (introducer == '!') {
            const uint8_t label = at.byte();
            const ByteSpan first = at.subBlock();
            if (label == 0xF9 && first.size() >= 4) {
                Block b{Block::Control, {first[0], loadLE16(&first[1]), first[3]}, {}};
                gif.blocks.push_back(b);
            } else if (label == 0xFF && first.size() == 11 && std::memcmp(first.data(), "NETSCAPE2.0", 11) == 0) {
                const ByteSpan loop = at.subBlock();
                if (loop.size() == 3 && loop[0] == 1)
                    gif.loop = true;
                if (loop.empty())
                    continue; // that was the terminator
            }
            if (!first.empty())
                at.skipSubBlocks();
        } else if (introducer == ',') {
            const auto descriptor = at.take(9);
            if (!descriptor)
                break;
            const ByteSpan d = *descriptor;
            Block b{Block::Image, {}, {}};
            const int left = loadLE16(&d[0]), top = loadLE16(&d[2]);
            b.image.rect = {left, top, left + loadLE16(&d[4]), top + loadLE16(&d[6])};
            b.image.interlaced = d[8] & 0x40;
            if (d[8] & 0x80)
                b.image.localTable = at.take(size_t(3 * tableEntries(d[8]))).value_or(ByteSpan());
            b.image.minimumCodeSize = at.byte();
            if (at.cut())
                break;
            b.image.dataStart = at.position();
            at.skipSubBlocks();
            gif.blocks.push_back(b);
        }
        // any other byte is skipped
    }
    gif.cut = at.cut();
    return gif;
}

// The picture's rows in order: interlaced images come in four passes.
void deinterlace(const uint8_t* in, uint8_t* out, int width, int height)
{
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    int source = 0;
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            std::memcpy(out + size_t(y) * size_t(width), in + size_t(source++) * size_t(width), size_t(width));
}

class GifComposer {
public:
    // Given a frame as composed; false stops the walk.
    using FrameSink = std::function<bool(const ComposedFrame&)>;

    GifComposer(ByteSpan data, const GifContents& gif)
        : data_(data), gif_(gif), width_(gif.screenWidth), height_(gif.screenHeight)
    {
        for (const Block& b : gif.blocks)
            if (b.kind == Block::Image) {
                width_ = std::max(width_, b.image.rect.right);
                height_ = std::max(height_, b.image.rect.bottom);
            }
        width_ = std::max(width_, 1);
        height_ = std::max(height_, 1);
        const size_t area = size_t(width_) * size_t(height_);
        frames_ = size_t(std::count_if(gif.blocks.begin(), gif.blocks.end(),
                                       [](const Block& b) { return b.kind == Block::Image; }));
        if (width_ > kMaxSide || height_ > kMaxSide || area > kMemoryBudget / kBytesPerCanvasPixel)
            throwGifNotSupported("The GIF is too large to be a film (" + std::to_string(width_) + " x "
                                 + std::to_string(height_) + ")");
        if (frames_ > kTotalAreaBudget / area)
            throwGifNotSupported("The GIF has too many frames of its size to be a film (" + framesOfSize() + ")");
        if (gif.globalTable.size() >= size_t(3 * gif.backgroundIndex + 3)) {
            const uint8_t* rgb = &gif.globalTable[size_t(3 * gif.backgroundIndex)];
            background_ = (uint32_t(rgb[2]) << 24) | (uint32_t(rgb[1]) << 16) | (uint32_t(rgb[0]) << 8);
        }
    }

    Animation emptyAnimation() const { return Animation(width_, height_, gif_.loop); }
    // Refuses, before the work starts, a file whose colours are too many for its frames to be
    // reduced within the budget.
    void checkReducible() const
    {
        if (frames_ > kReducedAreaBudget / (size_t(width_) * size_t(height_)))
            throwGifNotSupported("The GIF has too many colours in too many frames of its size to be a film ("
                                 + framesOfSize() + ")");
    }
    // Marks the frames read as ending early when the file ends inside a block or an image's
    // codes were damaged.
    void noteDamage(Animation& animation) const
    {
        if (gif_.cut || damaged_)
            animation.setEndDamaged();
    }

    // Composes the images from the first, as often as asked. An image whose codes are damaged
    // ends the walk when frames came before it, as a browser would show the file.
    void compose(const FrameSink& take)
    {
        std::optional<GifCanvas> canvas;
        LzwScratch keep; // one scratch area for every image
        current_.reset();
        previous_ = {};
        bool delivered = false;
        for (const Block& b : gif_.blocks) {
            if (b.kind == Block::Control) {
                current_ = b.control;
                continue;
            }
            if (!canvas)
                canvas.emplace(width_, height_);
            else if (previous_.disposal() >= 2)
                canvas->dispose(previousRect_, previous_.hasTransparent(), background_);
            try {
                drawImage(*canvas, b.image);
            } catch (const ArchiveError&) {
                if (!delivered)
                    throw;
                damaged_ = true;
                return;
            }
            if (!take(canvas->frame(current_ ? current_->delay : 8)))
                return;
            delivered = true;
            previous_ = current_.value_or(GraphicControl{});
            previousRect_ = b.image.rect;
            current_.reset();
        }
    }

private:
    std::string framesOfSize() const
    {
        return std::to_string(frames_) + " of " + std::to_string(width_) + " x " + std::to_string(height_);
    }

    void drawImage(GifCanvas& canvas, const ImageBlock& image)
    {
        const Rect& r = image.rect;
        const size_t area = r.area();
        if (area == 0)
            return;
        if (image.minimumCodeSize < 1 || image.minimumCodeSize > 11)
            throwGifDataError("Bad compressed data");
        gifAllocating("gifdecodeframe", [&] {
            codes_.clear();
            BlockCursor at(data_, image.dataStart);
            for (ByteSpan s = at.subBlock(); !s.empty(); s = at.subBlock())
                codes_.insert(codes_.end(), s.begin(), s.end());
            pixels_.assign(area, 0);
        });
        lzwDecode(codes_, pixels_.data(), area, image.minimumCodeSize + 1);
        if (image.interlaced) {
            rows_.resize(area);
            deinterlace(pixels_.data(), rows_.data(), r.width(), r.height());
            pixels_.swap(rows_);
        }
        GifImage drawn;
        drawn.rect = r;
        drawn.indices = pixels_.data();
        const ByteSpan table = image.localTable.empty() ? gif_.globalTable : image.localTable;
        drawn.table = table.data();
        drawn.tableEntries = int(table.size() / 3);
        drawn.transparent = current_ && current_->hasTransparent() ? current_->transparent : -1;
        canvas.draw(drawn);
    }

    ByteSpan data_;
    const GifContents& gif_;
    int width_;
    int height_;
    size_t frames_ = 0;
    uint32_t background_ = 0;
    std::optional<GraphicControl> current_;
    GraphicControl previous_;
    bool damaged_ = false;
    Rect previousRect_;
    Bytes codes_;
    Bytes pixels_;
    Bytes rows_;
};

} // namespace

Animation readGif(ByteSpan data, ColourReducer* reducer)
{
    const GifContents gif = scan(data);
    GifComposer composer(data, gif);
    Animation animation = composer.emptyAnimation();
    composer.compose([&](const ComposedFrame& frame) {
        animation.addFrame(frame, reducer);
        return true;
    });
    composer.noteDamage(animation);
    return animation;
}

Animation readGifReducing(ByteSpan data)
{
    const GifContents gif = scan(data);
    GifComposer composer(data, gif);
    Animation animation = composer.emptyAnimation();
    bool deep = false;
    composer.compose([&](const ComposedFrame& frame) {
        deep = frame.colours != nullptr;
        if (!deep)
            animation.addFrame(frame, nullptr);
        return !deep;
    });
    if (!deep) {
        composer.noteDamage(animation);
        return animation;
    }
    composer.checkReducible();

    // Once deep, the canvas stays deep: every later frame is reduced, so the palette must suit
    // the whole file. It is chosen from every colour on show, then the file is read again.
    ColourQuantizer quantizer;
    std::vector<uint32_t> shown;
    composer.compose([&](const ComposedFrame& frame) {
        const size_t n = size_t(frame.width) * size_t(frame.height);
        shown.clear();
        for (size_t i = 0; i < n; ++i)
            if (frame.mask[i])
                shown.push_back(frame.colours ? frame.colours[i] : (*frame.palette)[frame.indices[i]] >> 8);
        quantizer.addColours(shown.data(), shown.size());
        return true;
    });
    // One entry stays free for transparent pixels.
    DitheringReducer reducer(quantizer.choosePalette(255), quantizer.exact());
    Animation reduced = composer.emptyAnimation();
    composer.compose([&](const ComposedFrame& frame) {
        reduced.addFrame(frame, &reducer);
        return true;
    });
    composer.noteDamage(reduced);
    return reduced;
}

} // namespace celvane
