#pragma once
// Colour reduction for films deeper than a GIF palette. The palette is chosen once for the whole
// film, so colours do not flicker from frame to frame: the film's own colours when there are
// few enough (nothing is lost), else a median cut of every frame's colours. Frames are then
// mapped with error diffusion, and a pixel whose colour did not change since the previous
// frame keeps the index it had, so still areas stay still.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace celvane {

// Palette entries as colour words: 0xBBGGRR00.
using GifColours = std::vector<uint32_t>;

// Maps colours onto a palette of at most 256 entries: what frames of more colours than a
// palette holds go through.
class ColourReducer {
public:
    virtual ~ColourReducer() = default;
    virtual int indexOf(uint32_t colourWord) = 0;
    virtual const GifColours& palette() const = 0;
    // A whole picture of RGB values 0x00BBGGRR, rows top down, one index a pixel; by default
    // colour by colour.
    virtual void reduce(const uint32_t* colours, int width, int height, uint8_t* out);
};

class ColourQuantizer {
public:
    // Colours are RGB values 0x00BBGGRR.
    void addColours(const uint32_t* colours, size_t count);
    // The palette for everything added, at most `maxColours` entries (colour words).
    GifColours choosePalette(int maxColours);
    bool exact() const { return exact_; }

private:
    static constexpr int kBins = 1 << 15; // 5 bits a channel
    std::unordered_map<uint32_t, uint32_t> distinct_;
    std::vector<uint32_t> histogram_ = std::vector<uint32_t>(kBins);
    bool tooMany_ = false;
    bool exact_ = false;
};

// Maps frames onto a palette chosen by ColourQuantizer, frame after frame.
class FrameDitherer {
public:
    FrameDitherer(const GifColours& palette, bool exact);
    // `colours` are RGB values, width x height, rows top down; `out` one index a pixel.
    void map(const uint32_t* colours, int width, int height, uint8_t* out);
    // The entry for one RGB value, undithered.
    int indexOf(uint32_t rgb);

private:
    int nearest(int r, int g, int b);

    GifColours palette_;
    bool exact_;
    std::unordered_map<uint32_t, uint8_t> exactIndex_;
    std::vector<int16_t> lookup_; // nearest index per 5-bit cell, -1 until asked
    std::vector<uint32_t> previousColours_;
    std::vector<uint8_t> previousIndices_;
};

// Reduces the frames of a file read with more colours than one palette holds, onto one palette
// chosen for the whole file.
class DitheringReducer : public ColourReducer {
public:
    DitheringReducer(const GifColours& palette, bool exact) : palette_(palette), ditherer_(palette, exact) {}
    int indexOf(uint32_t colourWord) override { return ditherer_.indexOf(colourWord >> 8); }
    const GifColours& palette() const override { return palette_; }
    void reduce(const uint32_t* colours, int width, int height, uint8_t* out) override
    {
        ditherer_.map(colours, width, height, out);
    }

private:
    GifColours palette_;
    FrameDitherer ditherer_;
};

} // namespace celvane
