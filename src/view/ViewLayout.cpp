#include "view/ViewLayout.h"

#include <algorithm>
#include <cstdint>

namespace celvane {

namespace {
constexpr int kSteps[] = {25, 50, 100, 200, 400, 800, 1600};

// The smallest step not below the scale (1600 above 800).
int stepAtOrAbove(int scale)
{
    for (int s : kSteps)
        if (s >= scale)
            return s;
    return 1600;
}

int muldiv(int a, int b, int c) { return c == 0 ? 0 : int(int64_t(a) * b / c); }
} // namespace

int ViewLayout::clampScale(int scale) { return std::clamp(scale, kMinScale, kMaxScale); }

int ViewLayout::zoomIn(int scale)
{
    const int s = stepAtOrAbove(scale);
    return (s < 1600 && scale >= s) ? s * 2 : s;
}

int ViewLayout::zoomOut(int scale)
{
    const int s = stepAtOrAbove(scale);
    return s > 25 ? s / 2 : s;
}

void ViewLayout::setFrameSize(int pixelWidth, int pixelHeight, int logicalWidth, int logicalHeight)
{
    const bool first = scrollApplied_ == false && centre_ == Point{};
    // Frames added or replaced at the same size keep the window where the user scrolled it.
    if (!first && pixelWidth == pixelWidth_ && pixelHeight == pixelHeight_ && logicalWidth == logicalWidth_
        && logicalHeight == logicalHeight_)
        return;
    pixelWidth_ = std::max(pixelWidth, 1);
    pixelHeight_ = std::max(pixelHeight, 1);
    logicalWidth_ = std::max(logicalWidth, 1);
    logicalHeight_ = std::max(logicalHeight, 1);
    if (first)
        centre_ = {pixelWidth_ / 2, pixelHeight_ / 2};
    scrollApplied_ = false;
    applyScroll();
}

void ViewLayout::setClientSize(int width, int height)
{
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    applyScroll();
}

bool ViewLayout::setScale(int scale, std::optional<Point> centre)
{
    scale = clampScale(scale);
    if (scale == scale_ && !centre)
        return false;
    scale_ = scale;
    centre_ = centre ? *centre : Point{pixelWidth_ / 2, pixelHeight_ / 2};
    scrollApplied_ = false;
    applyScroll();
    return true;
}

int ViewLayout::scaleForRect(const Rect& r) const
{
    const int w = std::max(std::abs(r.width()), 1), h = std::max(std::abs(r.height()), 1);
    const int fit = std::min(muldiv(clientWidth_, 100, w), muldiv(clientHeight_, 100, h)) * 3 / 4;
    int s = 25;
    while (s <= scale_)
        s *= 2;
    while (s <= fit)
        s *= 2;
    return std::min(s, kMaxScale);
}

int ViewLayout::scaledWidth() const { return scale_ == 100 ? pixelWidth_ : muldiv(pixelWidth_, scale_, 100); }
int ViewLayout::scaledHeight() const { return scale_ == 100 ? pixelHeight_ : muldiv(pixelHeight_, scale_, 100); }

void ViewLayout::setScroll(int x, int y)
{
    scrollX_ = std::clamp(x, 0, std::max(0, scaledWidth() - clientWidth_));
    scrollY_ = std::clamp(y, 0, std::max(0, scaledHeight() - clientHeight_));
}

void ViewLayout::applyScroll()
{
    if (scrollApplied_ || clientWidth_ == 0 || clientHeight_ == 0) {
        setScroll(scrollX_, scrollY_);
        return;
    }
    setScroll(muldiv(scaledWidth(), centre_.x, pixelWidth_) - clientWidth_ / 2,
              muldiv(scaledHeight(), centre_.y, pixelHeight_) - clientHeight_ / 2);
    scrollApplied_ = true;
}

Rect ViewLayout::frameRect() const
{
    const int left = std::max(0, clientWidth_ - scaledWidth()) / 2 - scrollX_;
    const int top = std::max(0, clientHeight_ - scaledHeight()) / 2 - scrollY_;
    return {left, top, left + scaledWidth(), top + scaledHeight()};
}

Point ViewLayout::clientToFrame(Point p, bool round, const GridSettings* grid) const
{
    const Rect r = frameRect();
    int x = p.x - r.left, y = p.y - r.top;
    if (round || r.width() != logicalWidth_ || r.height() != logicalHeight_) {
        x = int((int64_t(logicalWidth_) * x + (round ? r.width() / 2 : 0)) / std::max(r.width(), 1));
        y = int((int64_t(logicalHeight_) * y + (round ? r.height() / 2 : 0)) / std::max(r.height(), 1));
    }
    if (grid && grid->lock) {
        x = grid->snapX(x);
        y = grid->snapY(y);
    }
    x = muldiv(pixelWidth_, x, logicalWidth_);
    y = muldiv(pixelHeight_, y, logicalHeight_);
    if (round) {
        x = std::clamp(x, 0, pixelWidth_);
        y = std::clamp(y, 0, pixelHeight_);
    }
    return {x, y};
}

Point ViewLayout::frameToClient(Point p, bool clamp) const
{
    const Rect r = frameRect();
    const auto map = [&](int v, int start, int extent, int size, int end) {
        if (v == kNoValue)
            return v;
        if (clamp)
            return std::clamp(start + int(int64_t(v) * extent / size), start, end - 1);
        const int64_t half = v < 0 ? -size / 2 : size / 2;
        return start + int((int64_t(v) * extent + half) / size);
    };
    return {map(p.x, r.left, r.width(), pixelWidth_, r.right), map(p.y, r.top, r.height(), pixelHeight_, r.bottom)};
}

Rect ViewLayout::frameToClient(const Rect& f) const
{
    const Point a = frameToClient({f.left, f.top}, true);
    const Point b = frameToClient({f.right, f.bottom}, true);
    return {a.x, a.y, b.x, b.y};
}

} // namespace celvane
