// The text panel's style and size lists, made from the faces of a font family.

#include <gtest/gtest.h>

#include "view/tools/FontFaces.h"

namespace celvane {
namespace {

std::vector<std::string> names(const std::vector<FontStyleChoice>& choices)
{
    std::vector<std::string> n;
    for (const FontStyleChoice& c : choices)
        n.push_back(c.name);
    return n;
}

TEST(FontFaces, OutlineFacesKeepTheirNamesAndMissingStylesAreMadeFromPresentOnes)
{
    // Regular and Bold faces: Italic and Bold Italic are slanted from the regular face.
    const std::vector<FontFace> plain = {{"Book", 400, false, true, {}}, {"Bold", 700, false, true, {}}};
    const auto styles = fontStyles(plain);
    EXPECT_EQ(names(styles), (std::vector<std::string>{"Book", "Bold", "Italic", "Bold Italic"}));
    EXPECT_EQ(styles[3].face, 0);
    EXPECT_EQ(styles[3].style, 3);
    const TextTool::Font boldItalic = styledFont({}, "Sans", plain, &styles[3]);
    EXPECT_EQ(boldItalic.weight, 700);
    EXPECT_TRUE(boldItalic.italic);
    EXPECT_TRUE(boldItalic.scalable);
    // A light face keeps its own weight unless made bold.
    const std::vector<FontFace> light = {{"Light", 300, false, true, {}}};
    EXPECT_EQ(styledFont({}, "Thin", light, &fontStyles(light)[0]).weight, 300);
    // A new family starts at the face it gives when no style is asked for, else its first plain
    // face as it is.
    std::vector<FontFace> serif = {{"Condensed Italic", 400, true, true, {}}, {"Condensed", 400, false, true, {}},
                                   {"Bold", 700, false, true, {}}, {"Book", 400, false, true, {}}};
    serif[3].regular = true;
    EXPECT_EQ(fontStyles(serif)[size_t(regularStyle(fontStyles(serif), serif))].name, "Book");
    serif[3].regular = false;
    EXPECT_EQ(fontStyles(serif)[size_t(regularStyle(fontStyles(serif), serif))].name, "Condensed");
    EXPECT_EQ(regularStyle({}, {}), 0);
    EXPECT_EQ(fontSizes(plain).size(), 16u);
    EXPECT_EQ(fontSizes(plain).front(), 8);
    EXPECT_EQ(fontSizes(plain).back(), 72);
}

TEST(FontFaces, BitmapFacesGoByTheirStyleNamesAndOwnSizesAndMayHaveNone)
{
    const std::vector<FontFace> fixed = {{"Medium", 500, false, false, {13, 10}}, {"Oblique", 400, true, false, {10}}};
    EXPECT_EQ(names(fontStyles(fixed)), (std::vector<std::string>{"Regular", "Italic", "Bold", "Bold Italic"}));
    EXPECT_EQ(fontSizes(fixed), (std::vector<int>{10, 13}));
    EXPECT_FALSE(styledFont({}, "Fixed", fixed, &fontStyles(fixed)[0]).scalable);
    // A bitmap face without sizes lists none; a family without faces has no styles either.
    EXPECT_TRUE(fontSizes({{"Regular", 400, false, false, {}}}).empty());
    EXPECT_TRUE(fontStyles({}).empty());
    EXPECT_TRUE(fontSizes({}).empty());
    const TextTool::Font none = styledFont({}, "Gone", {}, nullptr);
    EXPECT_EQ(none.face, "Gone");
    EXPECT_EQ(none.weight, 400);
    EXPECT_FALSE(none.italic);
}

} // namespace
} // namespace celvane
