#pragma once
// A description of an image: what a graphic says about one of its frames, what a new film is
// made from, and what an import merges into a film. Only fields whose bit is set in `mask`
// carry meaning.

#include <string>

#include "gfx/Palette.h"

namespace celvane {

class Sprite;

struct ImageInfo {
    enum Field : int {
        Reserved = 0x01,
        HasPalette = 0x02,
        HasName = 0x04,
        HasSize = 0x08,
        HasDepth = 0x10,
        HasDeviceSize = 0x20,
        HasCompressed = 0x40,
    };

    int mask = 0;
    int reserved = 0;
    int compressed = 0;
    int reserved2 = 0;
    int bitsPerPixel = 0;
    std::string name;
    int width = 0;
    int height = 0;
    int deviceWidth = 0;
    int deviceHeight = 0;
    PaletteRef palette;

    // The description of a new film: size, depth and the compressed flag.
    static ImageInfo forFilm(int width, int height, int bitsPerPixel, bool compressed = true);
    // The description of a picture held as a sprite: palette, name, sizes and depth.
    static ImageInfo describing(const Sprite& image, const std::string& name);

    bool has(Field f) const { return (mask & f) != 0; }

    // Copies each field set in `source` and not yet set here. When both carry sizes in display
    // units, this pixel size is scaled by the ratio of the source's display size to ours
    // (rounding up), so a picture keeps its shape when it joins a film of other proportions.
    void merge(const ImageInfo& source);
};

} // namespace celvane
