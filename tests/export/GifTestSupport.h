#pragma once
// GIF files built byte by byte for the reader tests, and giflib as an outside judge of the files
// we write.

#include <gif_lib.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "export/Lzw.h"

namespace celvane::test {

// A GIF assembled block by block; tables are lists of RGB values 0x00BBGGRR.
class GifBuilder {
public:
    GifBuilder(int width, int height, const std::vector<uint32_t>& globalTable = {}, int background = 0)
    {
        bytes("GIF89a");
        u16(width);
        u16(height);
        out_.push_back(uint8_t(globalTable.empty() ? 0 : 0x80 | sizeBits(globalTable.size())));
        out_.push_back(uint8_t(background));
        out_.push_back(0);
        table(globalTable);
    }
    GifBuilder& loop()
    {
        const uint8_t ext[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
        out_.insert(out_.end(), ext, ext + sizeof ext);
        return *this;
    }
    GifBuilder& control(int delay, int transparent = -1, int disposal = 0)
    {
        const uint8_t ext[] = {0x21, 0xF9, 4, uint8_t((disposal << 2) | (transparent >= 0 ? 1 : 0)), uint8_t(delay),
                               uint8_t(delay >> 8), uint8_t(transparent >= 0 ? transparent : 0), 0};
        out_.insert(out_.end(), ext, ext + sizeof ext);
        return *this;
    }
    GifBuilder& image(int left, int top, int width, int height, const std::vector<uint8_t>& indices,
                      const std::vector<uint32_t>& localTable = {}, bool interlaced = false)
    {
        out_.push_back(',');
        u16(left);
        u16(top);
        u16(width);
        u16(height);
        out_.push_back(uint8_t((localTable.empty() ? 0 : 0x80 | sizeBits(localTable.size())) | (interlaced ? 0x40 : 0)));
        table(localTable);
        lzwEncode(LzwForm::Gif, 9, out_, ByteSpan(indices));
        return *this;
    }
    Bytes finish()
    {
        out_.push_back(';');
        return out_;
    }

private:
    static int sizeBits(size_t entries)
    {
        int bits = 0;
        while ((size_t(2) << bits) < entries)
            ++bits;
        return bits;
    }
    void table(const std::vector<uint32_t>& entries)
    {
        if (entries.empty())
            return;
        const size_t size = size_t(2) << sizeBits(entries.size());
        for (size_t i = 0; i < size; ++i) {
            const uint32_t c = i < entries.size() ? entries[i] : 0;
            out_.push_back(uint8_t(c));
            out_.push_back(uint8_t(c >> 8));
            out_.push_back(uint8_t(c >> 16));
        }
    }
    void bytes(const char* s) { out_.insert(out_.end(), s, s + std::strlen(s)); }
    void u16(int v)
    {
        out_.push_back(uint8_t(v));
        out_.push_back(uint8_t(v >> 8));
    }

    Bytes out_;
};

// What giflib makes of a GIF: each frame composed as a viewer shows it (RGB values, rows top
// down), with its delay and whether the file loops.
struct GiflibAnimation {
    int width = 0;
    int height = 0;
    bool loops = false;
    std::vector<std::vector<uint32_t>> frames;
    std::vector<int> delays;
    bool ok = false;
};

inline GiflibAnimation giflibDecode(const Bytes& file)
{
    struct Reader {
        const Bytes* data;
        size_t pos;
    } reader{&file, 0};
    auto read = [](GifFileType* gif, GifByteType* into, int n) -> int {
        auto* r = static_cast<Reader*>(gif->UserData);
        const size_t take = std::min(size_t(n), r->data->size() - r->pos);
        std::memcpy(into, r->data->data() + r->pos, take);
        r->pos += take;
        return int(take);
    };
    GiflibAnimation result;
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    if (!gif)
        return result;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return result;
    }
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    std::vector<uint32_t> canvas(size_t(result.width) * size_t(result.height), 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        for (int e = 0; e < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& b = image.ExtensionBlocks[e];
            if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 && std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0)
                result.loops = true;
        }
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == gcb.TransparentColor || !map || index >= map->ColorCount)
                    continue;
                const GifColorType c = map->Colors[index];
                canvas[size_t(d.Top + y) * size_t(result.width) + size_t(d.Left + x)] =
                    uint32_t(c.Red) | (uint32_t(c.Green) << 8) | (uint32_t(c.Blue) << 16);
            }
        result.frames.push_back(canvas);
        result.delays.push_back(gcb.DelayTime);
    }
    DGifCloseFile(gif, &error);
    result.ok = true;
    return result;
}

} // namespace celvane::test
