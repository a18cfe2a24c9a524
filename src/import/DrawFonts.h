#pragma once
// The fonts of a Drawfile: RISC OS outline font names and the platform font descriptions the
// text tool encodes into font tables, turned into fonts this system has.

#include <QFont>
#include <QString>
#include <string>

namespace celvane {

struct DrawFont {
    QString face;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // 'N' or 'R' for an encoded platform font, 0 for a RISC OS name; kept, not drawn.
    char encodedFlag = 0;

    // The font at `pixels` high, its characters stretched by `widthRatio`.
    QFont qfont(double pixels, double widthRatio = 1) const;
};

// Font 0 of every table: the platform's fixed system font.
DrawFont systemDrawFont();
// A font table entry: an encoded description (":N" or ":R" and 120 letters) or a RISC OS font
// name such as "Homerton.Bold.Oblique".
DrawFont drawFontFromName(const std::string& name);
// The encoded form of a font, as the text tool writes it into its font table.
std::string encodeDrawFont(const DrawFont& font, char flag);

} // namespace celvane
