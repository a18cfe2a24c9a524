#pragma once
// Typed text as a stamp: the text tool builds a Drawfile of the text in the chosen font, puts it
// into the stamp picker's stamps as "Text stamp" and then places it as the stamp tool does. The
// stamp is built again when the text, the font or the colours change.

#include <functional>
#include <optional>
#include <string>

#include "view/tools/StampTool.h"

namespace celvane {

class TextTool : public StampTool {
public:
    struct Font {
        std::string face = "Arial";
        int weight = 400; // 700 bold
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        int points = 12;
        bool scalable = true; // false: the family has bitmap faces
    };

    TextTool();

    ToolCursor cursor() const override;
    bool character(const ToolEvent& e, char32_t c) override;
    void press(const ToolEvent& e) override;
    bool takesText() const override { return true; }

    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    bool shadow() const { return shadow_; }
    void setShadow(bool on);
    // The panel hears of typed text through this.
    std::function<void(const std::string&)> textChanged;

private:
    // Makes the stamp again when something it shows has changed; false when there is no text.
    bool rebuild(uint32_t textColour, uint32_t shadowColour);

    std::string text_;
    Font font_;
    bool shadow_ = false;
    bool rebuildNeeded_ = true;
    std::optional<uint32_t> builtText_;
    std::optional<uint32_t> builtShadow_;
};

} // namespace celvane
