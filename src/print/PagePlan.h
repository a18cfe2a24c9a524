#pragma once
// What one printed page holds, in tenths of a millimetre on the page: each frame's picture with
// the film frame it shows, the borders, the registration crosses and crop marks as lines, and
// the frame and page numbers.
// Kept apart from any drawing device so that the arithmetic can be checked on its own.

#include <string>
#include <vector>

#include "gfx/Rect.h"
#include "print/PrintLayout.h"

namespace celvane {

struct PageLine {
    int x1, y1, x2, y2;
    bool operator==(const PageLine&) const = default;
};

struct PagePicture {
    int frame;  // the film's frame number
    Rect place; // where its picture goes, stretched
};

// A line of small text, centred in its box and no taller than it.
struct PageText {
    Rect box;
    std::string text;
};

struct PagePlan {
    std::vector<PagePicture> pictures;
    std::vector<Rect> borders;
    std::vector<PageLine> lines;
    std::vector<PageText> texts;
};

// Small print stands at most this tall (2.5 mm).
constexpr int kPageTextHeight = 25;

// Page `page` (from 1) of `layout`; `frames` lists the film frames printed, in order (the marked
// ones when any are marked, otherwise all of them).
PagePlan planPage(const PrintLayout& layout, int page, const std::vector<int>& frames);

} // namespace celvane
