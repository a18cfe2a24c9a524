#include "import/DrawFonts.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/ByteIO.h"
#include "import/FontFaces.h"

namespace celvane {

namespace {

constexpr size_t kRecordSize = 60; // the platform's logical font record
constexpr size_t kFaceAt = 28;

std::string upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

DrawFont decode(const std::string& name)
{
    DrawFont font;
    font.encodedFlag = name[1];
    uint8_t record[kRecordSize] = {};
    for (size_t i = 0; i < kRecordSize; ++i) {
        const int low = name[2 + 2 * i] - 'a', high = name[3 + 2 * i] - 'a';
        record[i] = uint8_t((low & 15) | ((high & 15) << 4));
    }
    font.weight = int32_t(loadLE32(record + 16));
    font.italic = record[20] != 0;
    font.underline = record[21] != 0;
    font.strikeOut = record[22] != 0;
    for (size_t i = kFaceAt; i < kRecordSize && record[i] != 0; ++i)
        font.face.append(QChar(record[i]));
    return font;
}

bool isEncoded(const std::string& name)
{
    if (name.size() != 2 + 2 * kRecordSize || name[0] != ':' || (name[1] != 'N' && name[1] != 'R'))
        return false;
    return std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= 'a' && c <= 'p'; });
}

} // namespace

QFont DrawFont::qfont(double pixels, double widthRatio) const
{
    QFont font(familyForFace(face, 0));
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setWeight(QFont::Weight(std::clamp(weight == 0 ? 400 : weight, 100, 900)));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    if (std::abs(widthRatio - 1) > 0.01)
        font.setStretch(std::clamp(int(std::lround(widthRatio * 100)), 1, 4000));
    return font;
}

DrawFont systemDrawFont()
{
    DrawFont font;
    font.face = "Fixedsys";
    return font;
}

DrawFont drawFontFromName(const std::string& name)
{
    if (isEncoded(name))
        return decode(name);
    const std::string key = upper(name);
    DrawFont font;
    if (key.rfind("HOMERTON", 0) == 0)
        font.face = "Arial";
    else if (key.rfind("TRINITY", 0) == 0)
        font.face = "Times New Roman";
    else if (key.rfind("CORPUS", 0) == 0)
        font.face = "Courier New";
    else
        font.face = QString::fromLatin1(name.substr(0, std::min<size_t>(name.find('.'), 32)).c_str());
    font.italic = contains(key, ".ITALIC") || contains(key, ".OBLIQUE") || contains(key, ".SLANTED");
    // Checked in this order, the later match winning.
    static const std::pair<const char*, int> weights[] = {{".THIN", 100},     {".LIGHT", 300}, {".SEMIBOLD", 600},
                                                          {".DEMIBOLD", 600}, {".DEMI", 600},  {".BOLD", 700},
                                                          {".HEAVY", 900},    {".BLACK", 900}};
    for (const auto& [part, weight] : weights)
        if (contains(key, part))
            font.weight = weight;
    return font;
}

std::string encodeDrawFont(const DrawFont& font, char flag)
{
    uint8_t record[kRecordSize] = {};
    storeLE32(record + 16, uint32_t(font.weight));
    record[20] = font.italic;
    record[21] = font.underline;
    record[22] = font.strikeOut;
    const QByteArray face = font.face.toLatin1().left(31);
    std::copy(face.begin(), face.end(), record + kFaceAt);
    std::string out = {':', flag};
    for (uint8_t b : record) {
        out += char('a' + (b & 15));
        out += char('a' + (b >> 4));
    }
    return out;
}

} // namespace celvane
