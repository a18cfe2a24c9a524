#pragma once
// Somewhere a sprite can be drawn that is not itself a sprite: the screen, a printer page, a
// sprite's drawing surface. The platform layer provides the implementations; the plotting
// engine only needs these few services.

#include "gfx/Rect.h"

namespace celvane {

class Sprite;

class DrawingContext {
public:
    virtual ~DrawingContext() = default;

    // Logical units of the context to device pixels (for bounds computed in logical units).
    virtual Rect toDevice(const Rect& logical) const = 0;
    // Copies `sourcePixels` (in source pixels, top-down) of a sprite stretched onto
    // `destination` (logical units of this context; a negative width or height mirrors),
    // colour on colour with no smoothing.
    virtual void stretchCopy(const Sprite& source, const Rect& sourcePixels, const Rect& destination) = 0;
    // True when the context draws through a palette of its own (an 8-bit display).
    virtual bool paletteBased() const { return false; }
    // Finishes drawing still pending, before pixels behind the context are read or written.
    virtual void flush() {}
};

} // namespace celvane
