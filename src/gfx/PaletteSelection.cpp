#include "gfx/PaletteSelection.h"

namespace celvane {

namespace {
PaletteDrawingContext* paletteContext(DrawingContext& context)
{
    return context.paletteBased() ? dynamic_cast<PaletteDrawingContext*>(&context) : nullptr;
}
} // namespace

const PlatformPalette* Palette::selectInto(DrawingContext& context)
{
    PaletteDrawingContext* target = paletteContext(context);
    return target ? target->selectPalette(&platformPalette()) : nullptr;
}

SelectedPalette::SelectedPalette(Palette& palette, DrawingContext& context)
    : context_(paletteContext(context)), previous_(palette.selectInto(context))
{
}

SelectedPalette::~SelectedPalette()
{
    if (context_)
        context_->selectPalette(previous_);
}

} // namespace celvane
