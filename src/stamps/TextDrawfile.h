#pragma once
// The Drawfile the text tool makes of typed text: one text object per line in one font, with
// a shadow behind each line when asked for. Coordinates in 1/640 point.

#include <string>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

struct TextStampSpec {
    std::string text;
    // The font table's name for font 1 (an encoded platform font description).
    std::string fontName;
    int size = 7680; // 12 points
    bool shadow = false;
    uint32_t textColour = 0;   // RGB values
    uint32_t shadowColour = 0;
};

// The lines of a text: runs of control characters (below 32, and 127) break lines, so empty
// lines are dropped.
std::vector<std::string> textLines(const std::string& text);

// The Drawfile; empty when the text has no lines.
Bytes buildTextDrawfile(const TextStampSpec& spec);

} // namespace celvane
