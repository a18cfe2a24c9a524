#include "print/PrintLayout.h"

#include <algorithm>
#include <cmath>

namespace celvane {

namespace {

// Scales are whole percentages, so that every truncation below is exact integer arithmetic.
constexpr int kMaxSteps = 100000;

// The page is turned for arrangements 1 and 2.
bool turnedFor(int arrangement) { return (((arrangement >> 1) ^ arrangement) & 1) != 0; }

// A length at a scale, truncated; never 0, so that it can divide.
int scaled(int length, int percent) { return std::max(1, length * percent / 100); }

// The largest whole percentage at which `cell` fits into `page` `count` times (at least 1 %).
int fittingPercent(int page, int cell, int count)
{
    return std::max(1, page * 100 / std::max(1, count * cell));
}

} // namespace

void PrintLayout::setFrames(int pixelWidth, int pixelHeight, int count)
{
    frameWidth_ = int(pixelWidth * kTenthsPerPixel);
    frameHeight_ = int(pixelHeight * kTenthsPerPixel);
    frameCount_ = count;
}

void PrintLayout::restoreChoices(const PrintLayout& stored)
{
    flags_ = stored.flags_;
    scale_ = stored.scale_;
    scalePercent_ = stored.scalePercent_;
    framesPerPage_ = stored.framesPerPage_;
    requestedFramesPerPage_ = stored.requestedFramesPerPage_ == stored.frameCount_ ? frameCount_
                                                                                  : stored.requestedFramesPerPage_;
}

void PrintLayout::setPaper(int widthTenths, int heightTenths, bool landscape)
{
    // Kept upright: the arrangements below decide whether the page is turned.
    paperWidth_ = landscape ? heightTenths : widthTenths;
    paperHeight_ = landscape ? widthTenths : heightTenths;
    flags_ |= MatchOrientation;
    flags_ = landscape ? flags_ | Turned : flags_ & ~Turned;
}

int PrintLayout::cellWidth() const
{
    return has(CropMarks) && !has(FlickBook) ? frameWidth_ : frameWidth_ + frameWidth_ / 10;
}

int PrintLayout::cellHeight() const
{
    return has(CropMarks) || has(FlickBook) ? frameHeight_ : frameHeight_ + frameHeight_ / 10;
}

void PrintLayout::layOut(std::optional<int> target, bool atMost, std::optional<double> scale)
{
    if (scale)
        flags_ &= ~FramesPerPageMode;
    if (target)
        flags_ |= FramesPerPageMode;
    const int percent = int(std::lround((scale ? *scale : scalePercent_ > 0 ? scalePercent_ * 0.01 : 1.0) * 100));
    left_ = top_ = right_ = bottom_ = kMargin;

    Candidate best;
    for (int arrangement = 0; arrangement < 4; ++arrangement) {
        if (has(MatchOrientation) && turnedFor(arrangement) != has(Turned))
            continue;
        if (has(FramesPerPageMode))
            considerFramesPerPage(arrangement, target.value_or(requestedFramesPerPage_), atMost, best);
        else if (arrangement < 2)
            considerScale(arrangement, std::max(1, percent), best);
    }
    place(best);
    centre();
}

void PrintLayout::considerFramesPerPage(int arrangement, int target, bool atMost, Candidate& best) const
{
    const int width = paperWidth_ - left_ - right_, height = paperHeight_ - top_ - bottom_;
    const int alongPage = arrangement < 2 ? width : height, acrossPage = arrangement < 2 ? height : width;
    const int alongCell = arrangement % 2 == 0 ? cellWidth() : cellHeight();
    const int acrossCell = arrangement % 2 == 0 ? cellHeight() : cellWidth();
    const int present = int(std::lround(scale_ * 100));

    for (int along = 1; along <= kMaxSteps; ++along) {
        const int percent = fittingPercent(alongPage, alongCell, along);
        const int across = acrossPage / scaled(acrossCell, percent);
        const int total = across > 0 ? along * across : 0;
        if (atMost) {
            if (total > target)
                break;
            if (across > 0 && (total > best.total || (total == best.total && percent > best.percent)) && percent > present)
                best = {arrangement, along, across, percent, total};
        } else {
            if (across > 0 && total >= target && (percent > best.percent || (percent == best.percent && total > best.total)))
                best = {arrangement, along, across, percent, total};
            if (total > target && total > best.total)
                break;
        }
        // At the smallest scale nothing changes any more but the count along.
        if (percent == 1 && across <= 0)
            break;
    }
}

void PrintLayout::considerScale(int arrangement, int percent, Candidate& best) const
{
    const int width = paperWidth_ - left_ - right_, height = paperHeight_ - top_ - bottom_;
    const int alongPage = arrangement < 2 ? width : height, acrossPage = arrangement < 2 ? height : width;
    const int alongCell = arrangement % 2 == 0 ? cellWidth() : cellHeight();
    const int acrossCell = arrangement % 2 == 0 ? cellHeight() : cellWidth();

    int along = alongPage / scaled(alongCell, percent);
    if (along < 1) {
        along = 1;
        percent = fittingPercent(alongPage, alongCell, 1);
    }
    int across = acrossPage / scaled(acrossCell, percent);
    if (across < 1) {
        across = 1;
        percent = fittingPercent(acrossPage, acrossCell, 1);
        along = std::max(1, alongPage / scaled(alongCell, percent));
    }
    if (percent > best.percent || (percent == best.percent && along * across > best.total))
        best = {arrangement, along, across, percent, along * across};
}

void PrintLayout::place(const Candidate& best)
{
    if (best.arrangement >= 0) {
        const bool odd = best.arrangement % 2 != 0;
        columns_ = odd ? best.across : best.along;
        rows_ = odd ? best.along : best.across;
        scale_ = best.percent / 100.0;
        flags_ = turnedFor(best.arrangement) ? flags_ | Turned : flags_ & ~Turned;
    }
    pageWidth_ = has(Turned) ? paperHeight_ : paperWidth_;
    pageHeight_ = has(Turned) ? paperWidth_ : paperHeight_;
}

void PrintLayout::centre()
{
    scalePercent_ = std::max(1, int(scale_ * 100 + 0.5));
    left_ = right_ = (pageWidth_ - columns_ * scaled(cellWidth(), scalePercent_)) >> 1;
    top_ = bottom_ = (pageHeight_ - rows_ * scaled(cellHeight(), scalePercent_)) >> 1;
    framesPerPage_ = rows_ * columns_;
    pageCount_ = framesPerPage_ < 1 ? -1 : (frameCount_ + framesPerPage_ - 1) / framesPerPage_;
}

void PrintLayout::changeScalePercent(int percent)
{
    layOut(std::nullopt, false, std::clamp(percent, kMinScalePercent, kMaxScalePercent) * 0.01);
}

void PrintLayout::changeFramesPerPage(int from, int to)
{
    if (to > from)
        layOut(to, false);
    else if (to < from)
        layOut(to + 1, true);
    else
        return;
    requestedFramesPerPage_ = framesPerPage_;
}

void PrintLayout::setFlickBook(bool on)
{
    flags_ = on ? flags_ | FlickBook | FrameNumbers : flags_ & ~(FlickBook | FrameNumbers);
    layOut();
}

void PrintLayout::setFrameNumbers(bool on)
{
    // The numbers take no room of their own: the grid stays as it is.
    flags_ = on ? flags_ | FrameNumbers : flags_ & ~FrameNumbers;
}

void PrintLayout::setCropMarks(bool on)
{
    flags_ = on ? flags_ | CropMarks : flags_ & ~CropMarks;
    layOut();
}

} // namespace celvane
