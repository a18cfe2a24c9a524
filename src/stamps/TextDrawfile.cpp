#include "stamps/TextDrawfile.h"

#include "base/Chunks.h"
#include "gfx/Colour.h"

namespace celvane {

namespace {
constexpr int32_t kBox = 76800; // every object's bounding box: 0, 0 to 120 points square

void box(ByteWriter& out)
{
    out.u32(0);
    out.u32(0);
    out.u32(kBox);
    out.u32(kBox);
}

void textObject(ByteWriter& out, const std::string& line, uint32_t colour, uint32_t background, int size, int x, int y)
{
    const size_t objectSize = (line.size() + 56) & ~size_t(3);
    out.u32(1);
    out.u32(uint32_t(objectSize));
    box(out);
    out.u32(rgbToColourWord(colour));
    out.u32(rgbToColourWord(background));
    out.u32(1); // font 1
    out.u32(uint32_t(size));
    out.u32(uint32_t(size));
    out.u32(uint32_t(x));
    out.u32(uint32_t(y));
    out.bytes(line.data(), line.size());
    out.zeros(objectSize - 52 - line.size());
}
} // namespace

std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            if (!line.empty())
                lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

Bytes buildTextDrawfile(const TextStampSpec& spec)
{
    const std::vector<std::string> lines = textLines(spec.text);
    if (lines.empty())
        return {};
    Bytes file;
    ByteWriter out(&file);
    out.bytes("Draw", 4);
    out.u32(201);
    out.u32(0);
    out.bytes("Celvane     ", 12);
    box(out);

    const size_t tableSize = (8 + 1 + spec.fontName.size() + 1 + 3) & ~size_t(3);
    out.u32(0);
    out.u32(uint32_t(tableSize));
    out.u8(1);
    out.bytes(spec.fontName.data(), spec.fontName.size());
    out.zeros(tableSize - 8 - 1 - spec.fontName.size());

    const int s = spec.size;
    const int n = int(lines.size());
    const int x = 2 * (s / 8);
    const int shadowStep = int(0.707 * (s / 8));
    for (int i = 0; i < n; ++i) {
        const std::string& line = lines[size_t(i)];
        const int y = s * (n - 1) + 2 * (s / 8) - i * s;
        const size_t textSize = (line.size() + 56) & ~size_t(3);
        if (spec.shadow) {
            out.u32(6);
            out.u32(uint32_t(36 + 2 * textSize));
            box(out);
            out.zeros(12);
            textObject(out, line, spec.shadowColour, spec.textColour, s, x + shadowStep, y - shadowStep);
        }
        textObject(out, line, spec.textColour, spec.shadowColour, s, x, y);
    }
    return file;
}

} // namespace celvane
