#include "view/tools/PenRaster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "gfx/Sprite.h"

namespace celvane {

void PenRaster::setPen(int width, int height, bool round)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    footprint_.clear();
    const int left = -(width_ / 2), top = -(height_ / 2);
    const bool ellipse = round && width_ > 2 && height_ > 2;
    const double a = width_ / 2.0, b = height_ / 2.0;
    for (int j = 0; j < height_; ++j) {
        if (!ellipse) {
            footprint_.push_back({top + j, left, left + width_});
            continue;
        }
        // Pixel centres inside the ellipse that fills the pen's box.
        const double y = (j + 0.5 - b) / b;
        const double half = a * std::sqrt(std::max(0.0, 1 - y * y));
        const int first = int(std::ceil(a - half - 0.5)), last = int(std::floor(a + half - 0.5));
        if (first <= last)
            footprint_.push_back({top + j, left + first, left + last + 1});
    }
}

void PenRaster::dab(Spans& out, Point at) const
{
    for (const Span& s : footprint_)
        out.push_back({at.y + s.y, at.x + s.left, at.x + s.right});
}

void PenRaster::sweep(Spans& out, Point a, Point b)
{
    if (footprint_.empty())
        return;
    const int top = std::min(a.y, b.y) + footprint_.front().y;
    const int rows = std::abs(b.y - a.y) + footprint_.back().y - footprint_.front().y + 1;
    low_.assign(size_t(rows), INT_MAX);
    high_.assign(size_t(rows), INT_MIN);
    const auto stamp = [&](int x, int y) {
        for (const Span& s : footprint_) {
            const size_t row = size_t(y + s.y - top);
            low_[row] = std::min(low_[row], x + s.left);
            high_[row] = std::max(high_[row], x + s.right);
        }
    };
    // The footprint at every point of the digital line covers the swept area: it moves at most
    // one pixel a step, and each row's runs join up.
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy, x = a.x, y = a.y;
    for (;;) {
        stamp(x, y);
        if (x == b.x && y == b.y)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    for (int row = 0; row < rows; ++row)
        if (low_[size_t(row)] < high_[size_t(row)])
            out.push_back({top + row, low_[size_t(row)], high_[size_t(row)]});
}

void PenRaster::ellipse(Spans& out, Point c, double rx, double ry, bool outline) const
{
    const double outerX = rx + width_ / 2.0, outerY = ry + height_ / 2.0;
    const double innerX = rx - width_ / 2.0, innerY = ry - height_ / 2.0;
    const bool hollow = outline && innerX > 0 && innerY > 0;
    const int reach = int(std::ceil(outerY));
    for (int dy = -reach; dy <= reach; ++dy) {
        const double t = 1 - (dy / outerY) * (dy / outerY);
        if (t < 0)
            continue;
        const int half = int(std::floor(outerX * std::sqrt(t)));
        const int left = c.x - half, right = c.x + half + 1;
        const double u = 1 - (dy / innerY) * (dy / innerY);
        if (!hollow || u <= 0) {
            out.push_back({c.y + dy, left, right});
            continue;
        }
        // Pixels strictly inside the shrunk ellipse stay as they are.
        const int hole = int(std::ceil(innerX * std::sqrt(u)));
        out.push_back({c.y + dy, left, std::max(left, c.x - hole + 1)});
        out.push_back({c.y + dy, std::min(right, c.x + hole), right});
    }
}

void PenRaster::rectangle(Spans& out, Point a, Point b, bool outline) const
{
    const int x0 = std::min(a.x, b.x) - width_ / 2, x1 = std::max(a.x, b.x) - width_ / 2 + width_;
    const int y0 = std::min(a.y, b.y) - height_ / 2, y1 = std::max(a.y, b.y) - height_ / 2 + height_;
    const int innerLeft = x0 + width_, innerRight = x1 - width_;
    const int innerTop = y0 + height_, innerBottom = y1 - height_;
    const bool hollow = outline && innerLeft < innerRight && innerTop < innerBottom;
    for (int y = y0; y < y1; ++y) {
        if (hollow && y >= innerTop && y < innerBottom) {
            out.push_back({y, x0, innerLeft});
            out.push_back({y, innerRight, x1});
        } else {
            out.push_back({y, x0, x1});
        }
    }
}

Rect PenRaster::bounds(const Spans& spans)
{
    if (spans.empty())
        return {};
    Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Span& s : spans) {
        if (s.left >= s.right)
            continue;
        r.left = std::min(r.left, s.left);
        r.right = std::max(r.right, s.right);
        r.top = std::min(r.top, s.y);
        r.bottom = std::max(r.bottom, s.y + 1);
    }
    return r.isEmpty() ? Rect{} : r;
}

Rect PenRaster::fill(Sprite& sprite, const Spans& spans, uint32_t pixel)
{
    const int w = sprite.width(), h = sprite.height(), bits = sprite.bitsPerPixel();
    Rect drawn{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Span& s : spans) {
        const int left = std::max(s.left, 0), right = std::min(s.right, w);
        if (s.y < 0 || s.y >= h || left >= right)
            continue;
        uint8_t* row = sprite.rowAddress(s.y);
        switch (bits) {
        case 8: std::memset(row + left, int(pixel), size_t(right - left)); break;
        case 16: std::fill(reinterpret_cast<uint16_t*>(row) + left, reinterpret_cast<uint16_t*>(row) + right, uint16_t(pixel)); break;
        case 32: std::fill(reinterpret_cast<uint32_t*>(row) + left, reinterpret_cast<uint32_t*>(row) + right, pixel); break;
        default:
            for (int x = left; x < right; ++x)
                sprite.setPixelAt(x, s.y, pixel);
        }
        drawn.left = std::min(drawn.left, left);
        drawn.right = std::max(drawn.right, right);
        drawn.top = std::min(drawn.top, s.y);
        drawn.bottom = std::max(drawn.bottom, s.y + 1);
    }
    return drawn.isEmpty() ? Rect{} : drawn;
}

} // namespace celvane
