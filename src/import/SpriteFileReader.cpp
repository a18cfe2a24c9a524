#include "import/SpriteFileReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "base/StringTable.h"
#include "gfx/DibLayout.h"
#include "import/SpriteMode.h"

namespace celvane {

namespace {

constexpr size_t kHeaderSize = 44;
// The sprites of one file live together in memory and each becomes a frame: bounds like those
// of animated GIFs, so a small file cannot ask for gigabytes.
constexpr uint64_t kMemoryBudget = uint64_t(512) << 20;
constexpr uint64_t kTotalAreaBudget = uint64_t(1) << 30;
// What a sprite costs beyond its pixels (header, colour table, palette, mask palette).
constexpr uint64_t kSpriteOverhead = 4096;

constexpr std::array<uint8_t, 256> kReversedBits = [] {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        int r = 0;
        for (int b = 0; b < 8; ++b)
            r |= ((i >> b) & 1) << (7 - b);
        table[size_t(i)] = uint8_t(r);
    }
    return table;
}();

enum class MaskForm { None, OneBit, ImageDepth, Alpha };

// One sprite's header, checked against the file: everything below lies inside it.
struct SpritePlan {
    size_t start = 0;
    std::string name;
    SpriteMode mode;
    int width = 0;
    int height = 0;
    size_t rowBytes = 0;
    size_t image = 0; // file offsets
    size_t mask = 0;
    MaskForm maskForm = MaskForm::None;
    size_t maskRowBytes = 0;
    size_t palette = 0;
    size_t paletteWords = 0;
};

std::string nameAt(ByteSpan file, size_t at)
{
    std::string name;
    for (size_t i = 0; i < 12 && file[at + i] != 0; ++i)
        name += char(file[at + i]);
    return name;
}

bool fits(ByteSpan file, size_t offset, size_t rowBytes, size_t rows)
{
    if (offset > file.size() || rowBytes == 0)
        return false;
    return rows <= (file.size() - offset) / rowBytes;
}

int displaySide(int pixels, int halfDpi)
{
    // 90 dots per inch is the unit; a resolution of 0 is taken as that.
    const int64_t side = halfDpi > 0 ? int64_t(pixels) * 180 / halfDpi : pixels;
    return int(std::clamp<int64_t>(side, 1, kMaxSpriteSide));
}

// The plan of the sprite at `start` with a decoded mode, or nothing when it does not fit.
std::optional<SpritePlan> planSprite(ByteSpan file, size_t start, const SpriteMode& mode)
{
    const ByteReader header(file.subspan(start, kHeaderSize));
    const uint64_t widthWords = uint64_t(header.u32At(16)) + 1;
    const uint64_t rows = uint64_t(header.u32At(20)) + 1;
    const uint32_t lastBit = header.u32At(28);
    const uint32_t image = header.u32At(32);
    const uint32_t mask = header.u32At(36);
    const int bits = mode.bitsPerPixel;
    if (lastBit > 31 || widthWords > uint64_t(kMaxSpriteSide) + 1 || rows > uint64_t(kMaxSpriteSide))
        return std::nullopt;
    const uint64_t width = ((widthWords - 1) * 32 + lastBit + 1) / uint64_t(bits);
    if (width < 1 || width > uint64_t(kMaxSpriteSide) || int64_t(width * rows) > kMaxPicturePixels)
        return std::nullopt;

    SpritePlan plan;
    plan.start = start;
    plan.name = nameAt(file, start + 4);
    plan.mode = mode;
    plan.width = int(width);
    plan.height = int(rows);
    plan.rowBytes = size_t(widthWords) * 4;
    plan.image = start + image;
    if (image < kHeaderSize || !fits(file, plan.image, plan.rowBytes, plan.height))
        return std::nullopt;
    if (mask != 0 && mask != image) {
        plan.maskForm = mode.alphaMask                 ? MaskForm::Alpha
                        : mode.newFormat || bits == 1 ? MaskForm::OneBit
                                                       : MaskForm::ImageDepth;
        plan.maskRowBytes = plan.maskForm == MaskForm::Alpha    ? size_t(rowStride(8, plan.width))
                            : plan.maskForm == MaskForm::OneBit ? size_t(rowStride(1, plan.width))
                                                                : plan.rowBytes;
        plan.mask = start + mask;
        if (mask < kHeaderSize || !fits(file, plan.mask, plan.maskRowBytes, plan.height))
            return std::nullopt;
    }
    if (bits <= 8) {
        // The palette runs from the header to whichever of image and mask comes first.
        const size_t end = plan.maskForm == MaskForm::None ? image : std::min(image, mask);
        plan.palette = start + kHeaderSize;
        plan.paletteWords = (end - kHeaderSize) / 4;
    }
    return plan;
}

// The RISC OS default palette of each depth, shared by the sprites that have none.
class DefaultPalettes {
public:
    PaletteRef of(int bits)
    {
        PaletteRef& palette = made_[size_t(bits == 1 ? 0 : bits == 4 ? 1 : bits == 8 ? 2 : 3)];
        if (!palette) {
            palette = PaletteRef::make();
            if (bits <= 8)
                palette->setFromRiscOs({}, bits, false, 0);
            else
                palette->setDefault(bits);
        }
        return palette;
    }

private:
    std::array<PaletteRef, 4> made_;
};

// The sprite's palette pairs (only the first word of each is a colour). A full set is taken
// as it is, 16 or more at 256 colours give the tints; fewer replace the first entries of the
// default, so that no palette is read past its end.
PaletteRef paletteOf(ByteSpan file, const SpritePlan& plan, DefaultPalettes& defaults)
{
    const int bits = plan.mode.bitsPerPixel;
    const size_t pairs = plan.paletteWords / 2;
    const size_t full = size_t(1) << bits;
    if (bits > 8 || pairs == 0)
        return defaults.of(bits);
    const ByteSpan words = file.subspan(plan.palette, pairs * 8);
    PaletteRef palette = PaletteRef::make();
    if (pairs >= full || (bits == 8 && pairs >= 16)) {
        palette->setFromRiscOs(words, bits, pairs < full, 1);
        return palette;
    }
    palette->setFromRiscOs({}, bits, false, 0);
    for (size_t i = 0; i < pairs; ++i)
        palette->setEntry(int(i), loadLE32(&words[8 * i]) & 0xFFFFFF00u);
    return palette;
}

// File rows are top-down with the leftmost pixel in the lowest bits of a byte.
void copyRow(const uint8_t* from, uint8_t* to, size_t bytes, int bits)
{
    if (bits == 1) {
        for (size_t i = 0; i < bytes; ++i)
            to[i] = kReversedBits[from[i]];
    } else if (bits == 4) {
        for (size_t i = 0; i < bytes; ++i)
            to[i] = uint8_t(from[i] << 4 | from[i] >> 4);
    } else {
        std::memcpy(to, from, bytes);
    }
}

// A mask whose pixels have the image's depth (or 8 bits of opacity): opaque where non-zero
// (or at least half opaque), leftmost pixel in bit 7.
void packMaskRow(const uint8_t* from, uint8_t* to, int width, int bits, uint8_t threshold)
{
    std::memset(to, 0, size_t(width + 7) / 8);
    for (int x = 0; x < width; ++x) {
        const uint8_t value = bits == 4 ? uint8_t((from[x / 2] >> (x % 2 * 4)) & 0xF) : from[x];
        if (value >= threshold)
            to[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
}

Sprite decode(ByteSpan file, const SpritePlan& plan, DefaultPalettes& defaults)
{
    const int bits = plan.mode.bitsPerPixel;
    Sprite sprite;
    sprite.create(plan.width, plan.height, displaySide(plan.width, plan.mode.xHalfDpi),
                  displaySide(plan.height, plan.mode.yHalfDpi), bits, paletteOf(file, plan, defaults));
    const size_t copied = size_t(sprite.stride()); // never more than a file row
    for (int y = 0; y < plan.height; ++y)
        copyRow(&file[plan.image + size_t(y) * plan.rowBytes], sprite.rowAddress(y), copied, bits);
    if (plan.maskForm == MaskForm::None)
        return sprite;
    Sprite& mask = sprite.ensureMask();
    for (int y = 0; y < plan.height; ++y) {
        const uint8_t* from = &file[plan.mask + size_t(y) * plan.maskRowBytes];
        switch (plan.maskForm) {
        case MaskForm::OneBit: copyRow(from, mask.rowAddress(y), plan.maskRowBytes, 1); break;
        case MaskForm::ImageDepth: packMaskRow(from, mask.rowAddress(y), plan.width, bits, 1); break;
        case MaskForm::Alpha: packMaskRow(from, mask.rowAddress(y), plan.width, 8, 128); break;
        case MaskForm::None: break;
        }
    }
    return sprite;
}

std::string counted(int n, const std::string& what)
{
    return std::to_string(n) + (n == 1 ? " sprite " : " sprites ") + what;
}

} // namespace

std::string SpriteFileContents::leftOut() const
{
    std::vector<std::string> parts;
    if (fourColour > 0)
        parts.push_back(counted(fourColour, "of 4 colours"));
    if (unknownKind > 0)
        parts.push_back(counted(unknownKind, "of a kind Celvane does not know"));
    if (damaged)
        parts.push_back("the end of the file, which is damaged");
    if (parts.empty())
        return {};
    std::string text = "Celvane left out ";
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text + ".";
}

SpriteFileContents readSpriteFile(ByteSpan file)
{
    SpriteFileContents contents;
    if (file.size() < 8)
        return contents;
    // Offsets count from the start of the sprite area, whose first word the file leaves out.
    const uint64_t first = loadLE32(&file[4]);
    std::vector<SpritePlan> plans;
    uint64_t bytes = 0;
    uint64_t largestArea = 0;
    for (uint64_t start = first >= 4 ? first - 4 : file.size(); start < file.size();) {
        if (file.size() - start < kHeaderSize)
            break; // a few bytes of padding after the last sprite
        const size_t at = size_t(start);
        const uint32_t next = loadLE32(&file[at]);
        const auto mode = decodeModeWord(loadLE32(&file[at + 40]));
        if (!mode) {
            ++contents.unknownKind;
        } else if (mode->bitsPerPixel == 2) {
            ++contents.fourColour;
        } else if (auto plan = planSprite(file, at, *mode)) {
            const uint64_t area = uint64_t(plan->width) * uint64_t(plan->height);
            bytes += area * uint64_t(plan->mode.bitsPerPixel) / 8 + area / 8 + kSpriteOverhead;
            largestArea = std::max(largestArea, area);
            plans.push_back(std::move(*plan));
        } else {
            contents.damaged = true;
            break;
        }
        if (next < kHeaderSize) {
            contents.damaged = true; // the next sprite would overlap this one
            break;
        }
        start += next;
    }
    if (bytes > kMemoryBudget || largestArea * plans.size() > kTotalAreaBudget)
        throw NotSupportedError("the sprites of this file would need " + std::to_string(bytes >> 20)
                                    + " MB and frames of " + std::to_string(largestArea) + " pixels",
                                IDS_CANNOT_LOAD_TYPE);

    DefaultPalettes defaults;
    contents.sprites.reserve(plans.size());
    for (const SpritePlan& plan : plans) {
        contents.sprites.push_back(decode(file, plan, defaults));
        contents.names.push_back(plan.name);
    }
    return contents;
}

} // namespace celvane
