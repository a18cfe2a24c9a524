#pragma once
// A drawing context over a QPainter: a window, a printer page or a sprite's drawing surface.

#include <QPainter>

#include "gfx/DrawingContext.h"

namespace celvane {

class QtDrawingContext : public DrawingContext {
public:
    explicit QtDrawingContext(QPainter& painter) : painter_(painter) {}

    // Through the painter's transform; the smallest whole-pixel rectangle covering the result.
    Rect toDevice(const Rect& logical) const override;
    // Nearest-pixel sampling, whatever the painter's hints say.
    void stretchCopy(const Sprite& source, const Rect& sourcePixels, const Rect& destination) override;

    QPainter& painter() const { return painter_; }

private:
    QPainter& painter_;
};

} // namespace celvane
