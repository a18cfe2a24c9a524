#pragma once
// How a film's frames go onto paper: a grid of frames, in film order, chosen to fit the paper
// best either at a given scale or with a given number of frames per page, and centred. All
// lengths are in tenths of a millimetre. A flick book gives each frame a binding strip on its
// left; crop marks replace the frame borders and the gaps between frames.

#include <optional>

namespace celvane {

class PrintLayout {
public:
    enum Flag : int {
        Created = 0x01,
        // The chosen arrangement uses the page turned through a right angle (landscape).
        Turned = 0x02,
        // Only arrangements that match the printer's orientation are considered.
        MatchOrientation = 0x04,
        // The number of frames per page is fixed and the scale follows, rather than the reverse.
        FramesPerPageMode = 0x08,
        CropMarks = 0x10,
        FlickBook = 0x20,
        // Each frame's number printed beside it, so that cut-out frames can be put in order.
        FrameNumbers = 0x40,
    };
    static constexpr int kMargin = 150;
    // Screen pixels are taken to be 90 to the inch.
    static constexpr double kTenthsPerPixel = 254.0 / 90.0;
    static constexpr int kMinScalePercent = 10;
    static constexpr int kMaxScalePercent = 1600;
    static constexpr int kMaxFramesPerPage = 999;

    // The frames to print: their pixel size, and how many (marked ones, or all).
    void setFrames(int pixelWidth, int pixelHeight, int count);
    // Takes the choices of an earlier print of the same film. A request for every frame of the
    // film then stays a request for every frame, however many there are now.
    void restoreChoices(const PrintLayout& stored);
    // The paper as the printer reports it, in its own orientation.
    void setPaper(int widthTenths, int heightTenths, bool landscape);

    // Chooses the grid: for `target` frames per page (at most that many when `atMost`, then only
    // at a scale larger than the present one), or at `scale`; with neither, in the present mode.
    void layOut(std::optional<int> target = std::nullopt, bool atMost = false,
                std::optional<double> scale = std::nullopt);

    // What the print dialog's controls do.
    void changeScalePercent(int percent);
    // Stepping down from `from` to `to` moves to the next larger scale with fewer frames;
    // stepping up finds the largest scale giving at least `to` frames.
    void changeFramesPerPage(int from, int to);
    // Frame numbers come with a flick book and go with it, until chosen otherwise.
    void setFlickBook(bool on);
    void setCropMarks(bool on);
    void setFrameNumbers(bool on);

    int flags() const { return flags_; }
    bool has(Flag flag) const { return (flags_ & flag) != 0; }
    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }
    int left() const { return left_; }
    int top() const { return top_; }
    int right() const { return right_; }
    int bottom() const { return bottom_; }
    int rows() const { return rows_; }
    int columns() const { return columns_; }
    double scale() const { return scale_; }
    int scalePercent() const { return scalePercent_; }
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    int frameCount() const { return frameCount_; }
    int framesPerPage() const { return framesPerPage_; }
    int requestedFramesPerPage() const { return requestedFramesPerPage_; }
    // Pages needed; -1 when no frame fits.
    int pageCount() const { return pageCount_; }
    // A frame's box on paper, with its gap or strip, at scale 1.
    int cellWidth() const;
    int cellHeight() const;

private:
    struct Candidate {
        int arrangement = -1;
        int along = 0;
        int across = 0;
        int percent = 0;
        int total = 0;
    };
    void considerFramesPerPage(int arrangement, int target, bool atMost, Candidate& best) const;
    void considerScale(int arrangement, int percent, Candidate& best) const;
    void place(const Candidate& best);
    void centre();

    int flags_ = Created | FramesPerPageMode;
    int paperWidth_ = 0;
    int paperHeight_ = 0;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    int left_ = kMargin;
    int top_ = kMargin;
    int right_ = kMargin;
    int bottom_ = kMargin;
    int rows_ = 0;
    int columns_ = 0;
    double scale_ = 1.0;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    int frameCount_ = -1;
    int pageCount_ = -1;
    int scalePercent_ = 0;
    int framesPerPage_ = -1;
    int requestedFramesPerPage_ = -1;
};

} // namespace celvane
