#pragma once
// Palettes on displays that draw through a palette of their own (256 colours or fewer): a
// context of that kind takes the platform palette before drawing, and gets its previous one
// back afterwards. Other contexts show colours directly and need neither.

#include "gfx/DrawingContext.h"
#include "gfx/Palette.h"

namespace celvane {

class PaletteDrawingContext : public DrawingContext {
public:
    bool paletteBased() const final { return true; }
    // Selects and realises `palette` (null: the context's own); returns the one selected before.
    virtual const PlatformPalette* selectPalette(const PlatformPalette* palette) = 0;
};

// Keeps a palette selected into a context for as long as it lives.
class SelectedPalette {
public:
    SelectedPalette(Palette& palette, DrawingContext& context);
    ~SelectedPalette();
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;

private:
    PaletteDrawingContext* context_ = nullptr;
    const PlatformPalette* previous_ = nullptr;
};

} // namespace celvane
