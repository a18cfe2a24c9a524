#pragma once
// A vector picture (a metafile, a Drawfile) plotted as an image: drawn into a sprite of its
// size after the plot's transform, once on a key colour and once on white, so that the mask
// marks every pixel the picture drew, whatever its colour. The sprite is kept until the size
// or the transform changes.

#include <QPainter>
#include <functional>
#include <optional>

#include "gfx/PlotGeometry.h"
#include "gfx/Sprite.h"

namespace celvane {

class VectorImage {
public:
    // Draws the whole picture so that it fills `into` (painter coordinates).
    using Painting = std::function<void(QPainter&, const QRectF& into)>;

    // Plots the picture of `width` x `height` pixels through the request: without a transform
    // it fills the request's destination (mirrored when its edges are), as a bitmap would; with
    // one, the transform turns and scales the picture itself, centred on the destination.
    int plot(const PlotRequest& request, int width, int height, const Painting& paint);
    void forget() { image_.reset(); }

private:
    void render(int width, int height, const std::optional<PlotMatrix>& matrix, const Painting& paint);

    Sprite image_;
    int width_ = 0;
    int height_ = 0;
    std::optional<PlotMatrix> matrix_;
};

// The matrix of a request's transform and its further axis scale; none for neither.
std::optional<PlotMatrix> requestMatrix(const PlotRequest& request);

} // namespace celvane
