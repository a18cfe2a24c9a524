#pragma once
// Where a film's frame lies in its window: the zoom scale, centring and scrolling, and the
// mapping between window (client) pixels and frame pixels. Plain arithmetic, so that the
// window only asks and paints.

#include <optional>

#include "gfx/Rect.h"
#include "view/GridSettings.h"

namespace celvane {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A coordinate holding this has no value (anchors, rubber-band corners).
constexpr int kNoValue = int(0xAAAAAAAA);

class ViewLayout {
public:
    static constexpr int kMinScale = 10;
    static constexpr int kMaxScale = 1600;
    static int clampScale(int scale);
    // The zoom steps 25 ... 1600 percent.
    static int zoomIn(int scale);
    static int zoomOut(int scale);

    void setFrameSize(int pixelWidth, int pixelHeight, int logicalWidth, int logicalHeight);
    void setClientSize(int width, int height);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }

    int scale() const { return scale_; }
    // Stores the scale; the centre point (frame pixels) stays in the middle of the window, the
    // middle of the frame when none is given. Returns false when nothing changed.
    bool setScale(int scale, std::optional<Point> centre = std::nullopt);
    // The scale that shows a client rectangle large, for the zoom tool.
    int scaleForRect(const Rect& clientRect) const;

    // The scaled frame size, which is also the scroll extent.
    int scaledWidth() const;
    int scaledHeight() const;
    int scrollX() const { return scrollX_; }
    int scrollY() const { return scrollY_; }
    void setScroll(int x, int y);
    // The frame's rectangle in client coordinates (after scrolling).
    Rect frameRect() const;
    // The client size that shows the whole frame at the current scale.
    int neededWidth() const { return scaledWidth(); }
    int neededHeight() const { return scaledHeight(); }

    // Client point to frame pixels. Rounding also clamps to 0 ... size (the size itself
    // allowed); snapping applies a locked, visible grid.
    Point clientToFrame(Point client, bool roundAndClamp, const GridSettings* snapGrid = nullptr) const;
    // Frame pixels to a client point; with clamp the result stays inside the frame rectangle.
    Point frameToClient(Point frame, bool clamp) const;
    Rect frameToClient(const Rect& frame) const;

private:
    void applyScroll();

    int pixelWidth_ = 1, pixelHeight_ = 1, logicalWidth_ = 1, logicalHeight_ = 1;
    int clientWidth_ = 0, clientHeight_ = 0;
    int scale_ = 100;
    Point centre_{};
    bool scrollApplied_ = false;
    int scrollX_ = 0, scrollY_ = 0;
};

} // namespace celvane
