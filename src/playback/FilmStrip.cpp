#include "playback/FilmStrip.h"

#include <algorithm>
#include <cstdlib>

namespace celvane {

void FilmStrip::follow(int frame)
{
    if (mode_ == None)
        offset_ = -kPitch * frame;
}

void FilmStrip::press(int x, int frame, Mode mode)
{
    mode_ = mode;
    pressX_ = x;
    pressFrame_ = frame;
    warp_ = 0;
    started_ = false;
    offset_ = -kPitch * frame;
}

std::optional<int> FilmStrip::move(int x, int frameCount, int minDistance)
{
    if (mode_ == None)
        return std::nullopt;
    if (!started_ && std::abs(x - pressX_) < minDistance)
        return std::nullopt;
    started_ = true;
    offset_ = std::clamp(x - pressX_ - kPitch * pressFrame_ + warp_, -kPitch * std::max(frameCount - 1, 0), 0);
    return frameAt(offset_);
}

int FilmStrip::warpAtEdge(int x, int left, int right)
{
    const int half = (right - left) / 2;
    int by = 0;
    if (x <= left)
        by = half;
    else if (x >= right - 1)
        by = -half;
    warp_ -= by;
    return by;
}

int FilmStrip::release(int frame)
{
    mode_ = None;
    offset_ = -kPitch * frame;
    const int undo = warp_;
    warp_ = 0;
    return undo;
}

} // namespace celvane
