// Frame codec throughput on full-HD 8-bit frames, beside zlib (inflate, and deflate at level 1)
// on the same bytes. Throughput counts raw picture bytes.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "film/FrameCodec.h"

namespace {

using celvane::Bytes;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A frame held bottom-up, as sprites keep it.
struct Frame {
    Bytes pixels = Bytes(size_t(kWidth) * kHeight);

    uint8_t& at(int x, int y) { return pixels[size_t(kHeight - 1 - y) * kWidth + size_t(x)]; }
    celvane::FrameRows rows() const
    {
        return {pixels.data() + size_t(kHeight - 1) * kWidth, -kWidth, size_t(kWidth), kHeight, 8};
    }
    celvane::MutableFrameRows mutableRows()
    {
        return {pixels.data() + size_t(kHeight - 1) * kWidth, -kWidth, size_t(kWidth), kHeight, 8};
    }
};

constexpr uint8_t kPaper = 0;

Frame blankFrame()
{
    Frame frame;
    std::fill(frame.pixels.begin(), frame.pixels.end(), kPaper);
    return frame;
}

Frame noiseFrame()
{
    Frame frame;
    std::mt19937 random(7);
    for (auto& p : frame.pixels)
        p = uint8_t(random());
    return frame;
}

// A school drawing: pen strokes, a few filled shapes and lines of small glyphs on paper.
// Fixed seed and only the engine's raw output, so the picture is the same everywhere.
class DrawingPainter {
public:
    Frame paint()
    {
        std::fill(frame_.pixels.begin(), frame_.pixels.end(), kPaper);
        for (int i = 0; i < 12; ++i)
            fillEllipse(pick(kWidth), pick(kHeight), 40 + pick(160), 30 + pick(120), colour());
        for (int i = 0; i < 8; ++i)
            fillRect(pick(kWidth), pick(kHeight), 60 + pick(300), 40 + pick(200), colour());
        for (int i = 0; i < 60; ++i)
            stroke(pick(kWidth), pick(kHeight), pick(kWidth), pick(kHeight), 1 + pick(5), colour());
        for (int line = 0; line < 10; ++line)
            text(80 + pick(200), 60 + line * 100, 40 + pick(60), colour());
        return std::move(frame_);
    }

private:
    int pick(int n) { return int(random_() % uint32_t(n)); }
    uint8_t colour() { return uint8_t(1 + pick(255)); }

    void dot(int x, int y, uint8_t c)
    {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
            frame_.at(x, y) = c;
    }
    void fillRect(int x0, int y0, int w, int h, uint8_t c)
    {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                dot(x, y, c);
    }
    void fillEllipse(int cx, int cy, int rx, int ry, uint8_t c)
    {
        for (int y = -ry; y <= ry; ++y)
            for (int x = -rx; x <= rx; ++x)
                if (int64_t(x) * x * ry * ry + int64_t(y) * y * rx * rx <= int64_t(rx) * rx * ry * ry)
                    dot(cx + x, cy + y, c);
    }
    void stroke(int x0, int y0, int x1, int y1, int pen, uint8_t c)
    {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
        for (int s = 0; s < steps; ++s)
            fillRect(x0 + (x1 - x0) * s / steps, y0 + (y1 - y0) * s / steps, pen, pen, c);
    }
    // Glyphs of 5 x 7 cells drawn 3 pixels to the cell, from a small fixed set of shapes.
    void text(int x, int y, int letters, uint8_t c)
    {
        static constexpr uint8_t kGlyphs[6][7] = {
            {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x1E, 0x11, 0x11, 0x11, 0x1E},
            {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1F, 0x10, 0x1E, 0x10, 0x10, 0x10, 0x1F},
            {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E},
        };
        for (int letter = 0; letter < letters; ++letter, x += 18) {
            if (pick(7) == 0)
                continue; // a space
            const auto& glyph = kGlyphs[pick(6)];
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph[row] & (0x10 >> col))
                        fillRect(x + col * 3, y + row * 3, 3, 3, c);
        }
    }

    std::mt19937 random_{2024};
    Frame frame_;
};

Frame makeFrame(const std::string& kind)
{
    if (kind == "blank")
        return blankFrame();
    if (kind == "noise")
        return noiseFrame();
    return DrawingPainter().paint();
}

// zlib sees the picture's bytes in the codec's order: top row first.
Bytes topDownBytes(const Frame& frame)
{
    Bytes bytes;
    bytes.reserve(frame.pixels.size());
    const auto rows = frame.rows();
    for (int y = 0; y < rows.rows; ++y) {
        const uint8_t* row = rows.topRow + ptrdiff_t(y) * rows.rowStep;
        bytes.insert(bytes.end(), row, row + rows.rowBytes);
    }
    return bytes;
}

Bytes deflateLevel1(const Bytes& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), 1) != Z_OK)
        std::abort();
    out.resize(size);
    return out;
}

void report(benchmark::State& state, size_t rawBytes, size_t codedBytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rawBytes));
    state.counters["ratio"] = double(rawBytes) / double(codedBytes);
}

void codecEncode(benchmark::State& state, const std::string& kind)
{
    const Frame frame = makeFrame(kind);
    Bytes record;
    for (auto _ : state) {
        record.clear();
        celvane::encodeFrame(frame.rows(), record);
        benchmark::DoNotOptimize(record.data());
    }
    report(state, frame.pixels.size(), record.size());
}

void codecDecode(benchmark::State& state, const std::string& kind)
{
    Frame frame = makeFrame(kind);
    Bytes record;
    celvane::encodeFrame(frame.rows(), record);
    Frame decoded;
    for (auto _ : state) {
        celvane::decodeFrame(record, decoded.mutableRows());
        benchmark::DoNotOptimize(decoded.pixels.data());
    }
    if (decoded.pixels != frame.pixels)
        state.SkipWithError("decoded frame differs");
    report(state, frame.pixels.size(), record.size());
}

void zlibEncode(benchmark::State& state, const std::string& kind)
{
    const Bytes raw = topDownBytes(makeFrame(kind));
    Bytes packed;
    for (auto _ : state) {
        packed = deflateLevel1(raw);
        benchmark::DoNotOptimize(packed.data());
    }
    report(state, raw.size(), packed.size());
}

void zlibDecode(benchmark::State& state, const std::string& kind)
{
    const Bytes raw = topDownBytes(makeFrame(kind));
    const Bytes packed = deflateLevel1(raw);
    Bytes out(raw.size());
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        if (uncompress(out.data(), &size, packed.data(), uLong(packed.size())) != Z_OK)
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
    if (out != raw)
        state.SkipWithError("inflated bytes differ");
    report(state, raw.size(), packed.size());
}

const bool registered = [] {
    for (const std::string kind : {"blank", "drawing", "noise"}) {
        const std::pair<const char*, void (*)(benchmark::State&, const std::string&)> cases[] = {
            {"CodecDecode/%/celvane", codecDecode},
            {"CodecDecode/%/reference", zlibDecode},
            {"CodecEncode/%/celvane", codecEncode},
            {"CodecEncode/%/reference", zlibEncode},
        };
        for (const auto& [pattern, run] : cases) {
            std::string name = pattern;
            name.replace(name.find('%'), 1, kind);
            benchmark::RegisterBenchmark(name.c_str(), run, kind)->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

} // namespace
