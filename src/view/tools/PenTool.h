#pragma once
// The pencil and the eraser: dots, freehand, lines, connected lines and eight figures, with a
// round or square pen of any size up to 164 x 164. Shift or Ctrl at the press drags the pen's
// size instead of drawing.

#include "view/tools/PenRaster.h"
#include "view/tools/Tool.h"

namespace celvane {

struct Pen {
    static constexpr int kMaxSide = 164;
    int shape = 1; // 0 dots, 1 freehand, 2 line, 3 connected lines, 4 ... 11 figures
    bool round = true;
    int width = 16;
    int height = 16;
    bool operator==(const Pen&) const = default;
};

class PenTool : public Tool {
public:
    explicit PenTool(bool eraser);

    bool isEraser() const { return eraser_; }
    const Pen& pen() const { return pen_; }
    // Sides are kept within 1 ... 164; the flags follow the shape.
    void setPen(const Pen& pen);
    // 0 none, 1 round size drag, 2 rectangular.
    int sizeDrag() const { return sizeMode_; }

    void press(const ToolEvent& e) override;
    void release(const ToolEvent& e) override;
    ToolCursor cursor() const override;
    bool character(const ToolEvent& e, char32_t c) override;
    bool keyDown(const ToolEvent& e, ToolKey key) override;
    void apply(ToolApply& a) override;
    bool redrawsPreview() const override { return pen_.shape >= 2 && sizeMode_ == 0; }
    void operationEnded() override { sizeMode_ = 0; }

private:
    void changePen(const ToolEvent& e, Pen pen);
    void dragSize(Point at);
    void freehand(ToolApply& a);
    void figure(Point from, Point to);
    void draw(ToolApply& a);
    void strokeSound() const;
    void dabSound() const;

    bool eraser_;
    Pen pen_;
    PenRaster raster_;
    Spans spans_;
    int sizeMode_ = 0;
    Point sizeStart_;
    Point sizeHandle_;
    bool sizeMoved_ = false;
    bool stroked_ = false;
    Point lastDirection_;
};

} // namespace celvane
