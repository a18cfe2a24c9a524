#include "view/tools/FontFaces.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QStringList>
#include <algorithm>

namespace celvane {

namespace {
constexpr const char* kStyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
constexpr int kItalic = 1, kBold = 2;
constexpr int kStandardPoints[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

int styleOf(const FontFace& face) { return (face.italic ? kItalic : 0) | (face.weight >= 700 ? kBold : 0); }
} // namespace

std::vector<FontFace> fontFaces(const QString& family)
{
    std::vector<FontFace> faces;
    const QString regular = QFontInfo(QFont(family)).styleName();
    for (const QString& style : QFontDatabase::styles(family)) {
        FontFace face;
        face.style = style.toStdString();
        face.regular = style == regular;
        face.weight = QFontDatabase::weight(family, style);
        face.italic = QFontDatabase::italic(family, style);
        face.outline = QFontDatabase::isSmoothlyScalable(family, style);
        if (!face.outline)
            for (int points : QFontDatabase::pointSizes(family, style))
                face.points.push_back(points);
        faces.push_back(std::move(face));
    }
    return faces;
}

std::vector<FontStyleChoice> fontStyles(const std::vector<FontFace>& faces)
{
    std::vector<FontStyleChoice> choices;
    const auto add = [&](const std::string& name, int face, int style) {
        if (std::none_of(choices.begin(), choices.end(), [&](const FontStyleChoice& c) { return c.name == name; }))
            choices.push_back({name, face, style});
    };
    int faceOfStyle[4] = {-1, -1, -1, -1};
    for (size_t f = 0; f < faces.size(); ++f) {
        const int style = styleOf(faces[f]);
        if (faceOfStyle[style] < 0)
            faceOfStyle[style] = int(f);
        add(faces[f].outline ? faces[f].style : kStyleNames[style], int(f), style);
    }
    // What a present style becomes slanted or thickened, where the family has no face for it.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; faceOfStyle[i] >= 0 && j < 4; ++j)
            if (faceOfStyle[i | j] < 0)
                add(kStyleNames[i | j], faceOfStyle[i], i | j);
    return choices;
}

int regularStyle(const std::vector<FontStyleChoice>& styles, const std::vector<FontFace>& faces)
{
    int plain = -1;
    for (size_t i = 0; i < styles.size(); ++i) {
        const FontStyleChoice& c = styles[i];
        if (c.face < 0 || c.face >= int(faces.size()) || c.style != styleOf(faces[size_t(c.face)]))
            continue; // slanted or thickened from another face
        if (faces[size_t(c.face)].regular)
            return int(i);
        if (plain < 0 && c.style == 0)
            plain = int(i);
    }
    return std::max(plain, 0);
}

std::vector<int> fontSizes(const std::vector<FontFace>& faces)
{
    std::vector<int> points;
    for (const FontFace& face : faces) {
        if (face.outline)
            points.insert(points.end(), std::begin(kStandardPoints), std::end(kStandardPoints));
        else
            points.insert(points.end(), face.points.begin(), face.points.end());
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

TextTool::Font styledFont(TextTool::Font font, const QString& family, const std::vector<FontFace>& faces,
                          const FontStyleChoice* choice)
{
    font.face = family.toStdString();
    font.weight = 400;
    font.italic = false;
    font.scalable = std::all_of(faces.begin(), faces.end(), [](const FontFace& f) { return f.outline; });
    if (!choice || choice->face < 0 || choice->face >= int(faces.size()))
        return font;
    const FontFace& face = faces[size_t(choice->face)];
    font.weight = face.weight;
    font.italic = face.italic || (choice->style & kItalic);
    if (choice->style & kBold)
        font.weight = std::max(font.weight, 700);
    return font;
}

} // namespace celvane
