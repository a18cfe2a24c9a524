#include "view/tools/TextTool.h"

#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "import/DrawFonts.h"
#include "stamps/StampPickerModel.h"
#include "stamps/TextDrawfile.h"
#include "view/ActionSoundHook.h"

namespace celvane {

namespace {
constexpr const char* kStampName = "Text stamp";
constexpr int kUnitsPerPoint = 640;
} // namespace

TextTool::TextTool() = default;

ToolCursor TextTool::cursor() const
{
    const ToolCursor placing = StampTool::cursor();
    return placing == ToolCursor::Stamp ? ToolCursor::Text : placing;
}

bool TextTool::character(const ToolEvent&, char32_t c)
{
    std::string text = text_;
    if (c == 0x08) {
        if (text.empty())
            return true;
        // A new line goes whole: a CR left behind would still break the line, unseen.
        text.erase(text.size() >= 2 && text.ends_with("\r\n") ? text.size() - 2 : text.size() - 1);
    } else if (c == U'\r' || c == U'\n') {
        text += "\r\n";
    } else if (c == 0x7F) {
        if (text.empty())
            return true;
        text.clear();
    } else if ((c >= 32 && c <= 126) || (c >= 128 && c <= 255)) {
        text += char(c);
    } else {
        return false;
    }
    ActionSounds::play("Typing");
    setText(text);
    if (textChanged)
        textChanged(text_);
    return true;
}

void TextTool::setText(const std::string& text)
{
    text_ = text;
    rebuildNeeded_ = true;
}

void TextTool::setFont(const Font& font)
{
    font_ = font;
    rebuildNeeded_ = true;
}

void TextTool::setShadow(bool on)
{
    shadow_ = on;
    rebuildNeeded_ = true;
}

void TextTool::press(const ToolEvent& e)
{
    const Film* film = e.host.document().film();
    if (!film)
        return;
    // The text takes the colour the button draws with; its shadow the paper's.
    const uint32_t paper = rgbOfWord(film->paper());
    if (rebuild(e.right ? paper : rgbOfWord(film->ink()), paper))
        StampTool::press(e);
}

bool TextTool::rebuild(uint32_t textColour, uint32_t shadowColour)
{
    StampPickerModel* p = picker();
    if (!p)
        return false;
    StampSet& stamps = p->stamps();
    int existing = -1;
    for (int n = 0; n < stamps.count() && existing < 0; ++n)
        if (stamps.name(n) == kStampName)
            existing = n;
    const bool needed = rebuildNeeded_ || existing < 0 || builtText_ != textColour
        || (shadow_ && builtShadow_ != shadowColour);
    if (needed) {
        DrawFont font;
        font.face = QString::fromStdString(font_.face);
        font.weight = font_.weight;
        font.italic = font_.italic;
        font.underline = font_.underline;
        font.strikeOut = font_.strikeOut;
        const Bytes drawfile = buildTextDrawfile(
            {text_, encodeDrawFont(font, font_.scalable ? 'R' : 'N'), font_.points * kUnitsPerPoint, shadow_, textColour, shadowColour});
        rebuildNeeded_ = false;
        builtText_ = textColour;
        builtShadow_ = shadowColour;
        // The new stamp keeps the flip, turn and size the old one had.
        const std::optional<PlotTransform> placement = existing >= 0 ? stamps.transform(existing) : std::nullopt;
        for (int n = 0; n < stamps.count(); ++n)
            stamps.select(n, stamps.name(n) == kStampName);
        stamps.removeSelected();
        existing = -1;
        if (!drawfile.empty()) {
            existing = stamps.count();
            stamps.add(FileType::Drawfile, drawfile);
            stamps.rename(existing, kStampName);
            stamps.setTransform(existing, placement);
        }
    }
    if (existing < 0)
        return false;
    stamps.selectAll(false);
    stamps.select(existing, true);
    return true;
}

} // namespace celvane
