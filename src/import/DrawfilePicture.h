#pragma once
// A RISC OS Drawfile kept as its bytes: checked once, measured, and drawn object by object onto
// a QPainter through a drawing matrix (Draw units, y upwards, to the painter's coordinates).

#include <QPainter>
#include <QRectF>

#include "base/ByteIO.h"

namespace celvane {

class DrawfilePicture {
public:
    // ArchiveError for data that is no Drawfile or whose objects do not fit it.
    explicit DrawfilePicture(ByteSpan file);

    const Bytes& bytes() const { return bytes_; }
    // The picture's size in pixels (512 Draw units to a pixel), from its measured bounds.
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws the picture so that its measured bounds fill `into`.
    void draw(QPainter& painter, const QRectF& into) const;

private:
    Bytes bytes_;
    // The measured bounds in pixels under the plain matrix (y downwards, no translation).
    QRectF box_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace celvane
