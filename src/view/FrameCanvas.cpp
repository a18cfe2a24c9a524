#include "view/FrameCanvas.h"

#include "view/ViewLayout.h"

namespace celvane {

void FrameCanvas::addChanged(const Rect& r)
{
    if (r.isEmpty())
        return;
    changed_ = changed_.isEmpty() ? r
                                  : Rect{std::min(changed_.left, r.left), std::min(changed_.top, r.top),
                                         std::max(changed_.right, r.right), std::max(changed_.bottom, r.bottom)};
}

void FrameCanvas::setRubberBand(const Rect& band)
{
    const bool none = band.left == kNoValue || band.top == kNoValue || band.right == kNoValue || band.bottom == kNoValue;
    band_ = none ? std::nullopt : std::optional<Rect>(band);
}

std::vector<Rect> FrameCanvas::bandEdges(const Rect& c)
{
    // From a start to an end (excluded) along one axis, as a half-open span.
    const auto span = [](int start, int end) {
        return start < end ? std::pair{start, end} : std::pair{end + 1, start + 1};
    };
    std::vector<Rect> edges;
    const auto horizontal = [&](int y, int from, int to) {
        if (from != to) {
            const auto [a, b] = span(from, to);
            edges.push_back({a, y, b, y + 1});
        }
    };
    const auto vertical = [&](int x, int from, int to) {
        if (from != to) {
            const auto [a, b] = span(from, to);
            edges.push_back({x, a, x + 1, b});
        }
    };
    horizontal(c.top, c.left, c.right);
    vertical(c.right, c.top, c.bottom);
    horizontal(c.bottom, c.right, c.left);
    vertical(c.left, c.bottom, c.top);
    return edges;
}

} // namespace celvane
