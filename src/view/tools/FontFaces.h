#pragma once
// The styles and sizes the text panel offers for a font family, from the faces the font
// database lists for it: outline faces by their own style names, others by the name of their
// style (Regular, Italic, Bold, Bold Italic), and the styles a present one can be made into by
// slanting or thickening it; the standard sizes for scalable faces, a bitmap face's own sizes.

#include <QString>
#include <string>
#include <vector>

#include "view/tools/TextTool.h"

namespace celvane {

struct FontFace {
    std::string style; // its own style name ("Book", "Bold Oblique")
    int weight = 400;
    bool italic = false;
    bool outline = true;     // scalable: names its own style
    std::vector<int> points; // the sizes of a bitmap face
    bool regular = false;    // the face the family gives when no style is asked for
};

// One entry of the style list.
struct FontStyleChoice {
    std::string name;
    int face = 0;  // the face it is drawn from
    int style = 0; // the style asked for: 1 italic, 2 bold
};

// The family's faces in the font database.
std::vector<FontFace> fontFaces(const QString& family);
// The style list; empty when the family has no faces ("<No styles>").
std::vector<FontStyleChoice> fontStyles(const std::vector<FontFace>& faces);
// The entry of the style list a newly chosen family starts with: its regular face as it is (not
// "Condensed Italic" because the font database lists that first), else its first plain style.
int regularStyle(const std::vector<FontStyleChoice>& styles, const std::vector<FontFace>& faces);
// The size list in points; empty when none can be listed ("<No sizes>").
std::vector<int> fontSizes(const std::vector<FontFace>& faces);

// The font of a family in a chosen style (none: the family's plain face), the face's own weight
// and slant, slanted or made bold when the style asks for more than the face has. Size,
// underline and strikeout are left as they are in `font`.
TextTool::Font styledFont(TextTool::Font font, const QString& family, const std::vector<FontFace>& faces,
                          const FontStyleChoice* choice);

} // namespace celvane
