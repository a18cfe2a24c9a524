#include "export/GifWriter.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "export/ColourQuantizer.h"
#include "export/GifErrors.h"
#include "export/Lzw.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Rect.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

// The fixed blocks every written file is made of.
constexpr uint8_t kGraphicControl[] = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00};
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kLoopExtension[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2',
                                      '.',  '0',  0x03, 0x01, 0x00, 0x00, 0x00};
// Browsers show delays below 2 hundredths as 10: the shortest that plays as written.
constexpr int kShortestDelay = 2;

// The film's frames in the order they are written.
std::vector<int> frameOrder(const Film& film, const GifExportOptions& options)
{
    const std::vector<int>& frames = options.frames.empty() ? film.framesToWrite(false) : options.frames;
    if (std::any_of(frames.begin(), frames.end(), [&](int f) { return f < 0 || f >= film.frameCount(); }))
        throwGifNotSupported("There were no frames to export to the GIF file, so it wasn't saved.");
    return film.playedOnce(frames);
}

// Reads frames as palette indices (palette films) or RGB values (deeper films).
class FrameSource {
public:
    explicit FrameSource(const Film& film) : film_(film), w_(film.width()), h_(film.height()) {}
    bool deep() const { return film_.bitsPerPixel() > 8; }
    size_t area() const { return size_t(w_) * size_t(h_); }

    void indices(int frame, uint8_t* out)
    {
        film_.decodeFrameInto(frame, picture_);
        const Sprite& s = picture_;
        for (int y = 0; y < h_; ++y) {
            uint8_t* row = out + size_t(y) * size_t(w_);
            if (s.bitsPerPixel() == 8)
                std::memcpy(row, s.rowAddress(y), size_t(w_));
            else
                for (int x = 0; x < w_; ++x)
                    row[x] = uint8_t(s.pixelAt(x, y));
        }
    }
    void colours(int frame, uint32_t* out)
    {
        film_.decodeFrameInto(frame, picture_);
        const Sprite& s = picture_;
        for (int y = 0; y < h_; ++y) {
            uint32_t* row = out + size_t(y) * size_t(w_);
            if (s.bitsPerPixel() == 32)
                for (int x = 0; x < w_; ++x)
                    row[x] = loadLE32(s.rowAddress(y) + 4 * x) & 0xFFFFFF;
            else
                for (int x = 0; x < w_; ++x)
                    row[x] = rgbOfWord(s.colourWordOf(s.pixelAt(x, y)));
        }
    }

private:
    const Film& film_;
    int w_, h_;
    Sprite picture_;
};

// The global table and, per frame, the pixels as table indices.
class TableMapper {
public:
    TableMapper(FrameSource& source, const std::vector<int>& order, const Film& film)
        : source_(source), width_(film.width()), height_(film.height())
    {
        if (source.deep()) {
            ColourQuantizer quantizer;
            std::vector<uint32_t> colours(source.area());
            for (int f : order) {
                source.colours(f, colours.data());
                quantizer.addColours(colours.data(), colours.size());
            }
            // One entry stays free for transparency.
            table_ = quantizer.choosePalette(255);
            ditherer_.emplace(table_, quantizer.exact());
            colours_.resize(source.area());
            return;
        }
        // The colours the film's frames use, in palette order; equal colours share an entry.
        std::vector<bool> used(256);
        Bytes pixels(source.area());
        for (int f : order) {
            source.indices(f, pixels.data());
            for (uint8_t p : pixels)
                used[p] = true;
        }
        const Palette& palette = *film.palette();
        for (int i = 0; i < 256; ++i) {
            if (!used[size_t(i)])
                continue;
            const uint32_t colour = palette.entry(i) & 0xFFFFFF00;
            const auto same = std::find(table_.begin(), table_.end(), colour);
            map_[i] = uint8_t(same - table_.begin());
            if (same == table_.end())
                table_.push_back(colour);
        }
    }

    const GifColours& table() const { return table_; }

    void frame(int f, uint8_t* out)
    {
        if (ditherer_) {
            source_.colours(f, colours_.data());
            ditherer_->map(colours_.data(), width_, height_, out);
            return;
        }
        source_.indices(f, out);
        for (size_t i = 0; i < source_.area(); ++i)
            out[i] = map_[out[i]];
    }
private:
    FrameSource& source_;
    int width_, height_;
    GifColours table_;
    uint8_t map_[256] = {};
    std::optional<FrameDitherer> ditherer_;
    std::vector<uint32_t> colours_;
};

int bitsFor(size_t entries)
{
    int bits = 1;
    while ((size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

// The rectangle of pixels that differ between two frames; empty when none do.
Rect changedRect(const uint8_t* a, const uint8_t* b, int w, int h)
{
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const uint8_t* ra = a + size_t(y) * size_t(w);
        const uint8_t* rb = b + size_t(y) * size_t(w);
        if (std::memcmp(ra, rb, size_t(w)) == 0)
            continue;
        top = std::min(top, y);
        bottom = y;
        int x0 = 0;
        while (ra[x0] == rb[x0])
            ++x0;
        int x1 = w - 1;
        while (ra[x1] == rb[x1])
            --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
    }
    if (bottom < 0)
        return {};
    return {left, top, right + 1, bottom + 1};
}

class GifFileWriter {
public:
    GifFileWriter(Bytes& out, int width, int height, const GifColours& table, bool loop, int transparent)
        : out_(out), w_(width), h_(height), transparent_(transparent)
    {
        const size_t entries = table.size() + (transparent >= 0 ? 1 : 0);
        const int bits = bitsFor(std::max<size_t>(entries, 2));
        codeWidth_ = std::max(bits, 2) + 1;
        ByteWriter w(&out_);
        for (const char c : {'G', 'I', 'F', '8', '9', 'a'})
            w.u8(uint8_t(c));
        w.u16(uint16_t(width));
        w.u16(uint16_t(height));
        w.u8(uint8_t(0x80 | 0x70 | (bits - 1)));
        w.u8(0);
        w.u8(0);
        for (size_t i = 0; i < (size_t(1) << bits); ++i) {
            const uint32_t c = i < table.size() ? table[i] : 0;
            w.u8(uint8_t(c >> 8));
            w.u8(uint8_t(c >> 16));
            w.u8(uint8_t(c >> 24));
        }
        if (loop)
            w.bytes(kLoopExtension, sizeof kLoopExtension);
    }

    // A frame drawn over the one before: only what changed, in whichever form codes smaller.
    void frame(const uint8_t* pixels, const uint8_t* previous, int delay)
    {
        Rect r = previous ? changedRect(pixels, previous, w_, h_) : Rect{0, 0, w_, h_};
        if (r.isEmpty())
            r = {0, 0, 1, 1}; // nothing changed: one pixel, as it was, keeps the frame's time
        Bytes plain;
        lzwEncode(LzwForm::Gif, codeWidth_, plain, rows(pixels, nullptr, r));
        Bytes keyed;
        if (previous && transparent_ >= 0)
            lzwEncode(LzwForm::Gif, codeWidth_, keyed, rows(pixels, previous, r));
        const bool useKey = !keyed.empty() && keyed.size() < plain.size();

        uint8_t control[sizeof kGraphicControl];
        std::memcpy(control, kGraphicControl, sizeof control);
        control[3] = uint8_t((1 << 2) | (useKey ? 1 : 0)); // drawn over the frame before
        storeLE16(control + 4, uint16_t(delay));
        control[6] = uint8_t(useKey ? transparent_ : 0);
        ByteWriter w(&out_);
        w.bytes(control, sizeof control);
        w.u8(kImageSeparator);
        w.u16(uint16_t(r.left));
        w.u16(uint16_t(r.top));
        w.u16(uint16_t(r.width()));
        w.u16(uint16_t(r.height()));
        w.u8(0);
        w.bytes(useKey ? keyed : plain);
    }

    void finish() { out_.push_back(';'); }

private:
    // The rectangle's rows, pixels equal to `previous` turned transparent when it is given.
    Bytes rows(const uint8_t* pixels, const uint8_t* previous, const Rect& r) const
    {
        Bytes bytes(size_t(r.width()) * size_t(r.height()));
        for (int y = 0; y < r.height(); ++y) {
            const size_t from = size_t(r.top + y) * size_t(w_) + size_t(r.left);
            uint8_t* to = bytes.data() + size_t(y) * size_t(r.width());
            for (int x = 0; x < r.width(); ++x)
                to[x] = previous && pixels[from + size_t(x)] == previous[from + size_t(x)] ? uint8_t(transparent_)
                                                                                            : pixels[from + size_t(x)];
        }
        return bytes;
    }

    Bytes& out_;
    int w_, h_;
    int transparent_;
    int codeWidth_ = 0;
};

int delayOf(const Film& film, int frame)
{
    const int pause = film.fade(frame).pause;
    return std::max((film.period() + 5) / 10, kShortestDelay) + (pause > 0 ? pause : 0);
}

} // namespace

Bytes writeGif(const Film& film, const GifExportOptions& options)
{
    const std::vector<int> order = frameOrder(film, options);
    FrameSource source(film);
    TableMapper mapper(source, order, film);
    const int transparent = mapper.table().size() < 256 ? int(mapper.table().size()) : -1;

    Bytes out;
    GifFileWriter writer(out, film.width(), film.height(), mapper.table(),
                         film.motion() != Film::ToEnd, transparent);
    Bytes pixels(source.area());
    Bytes previous(source.area());
    for (size_t i = 0; i < order.size(); ++i) {
        mapper.frame(order[i], pixels.data());
        writer.frame(pixels.data(), i ? previous.data() : nullptr, delayOf(film, order[i]));
        pixels.swap(previous);
        if (options.progress && !options.progress(int(i) + 1, int(order.size())))
            throw UserCancel();
    }
    writer.finish();
    return out;
}

} // namespace celvane
