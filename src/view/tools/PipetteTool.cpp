#include "view/tools/PipetteTool.h"

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "view/ActionSoundHook.h"
#include "view/tools/FrameUndo.h"
#include "view/tools/ToolHost.h"

namespace celvane {

using namespace ToolFlag;

PipetteTool::PipetteTool() : Tool(Capture | DrawsOnFrame) {}

void PipetteTool::apply(ToolApply& a)
{
    const Sprite& image = a.image;
    if (a.at.x < 0 || a.at.y < 0 || a.at.x >= image.width() || a.at.y >= image.height())
        return;
    Film* film = a.host.document().film();
    if (!film)
        return;
    uint32_t word = image.colourWordOf(image.pixelAt(a.at.x, a.at.y));
    GraphicSummary summary;
    film->getSummary(summary);
    uint32_t& target = a.right ? summary.paper : summary.ink;
    const bool pick = a.first || a.final;
    if (!pick && target == word)
        return;
    uint32_t hint = a.right ? Hint::PaperColour : Hint::PaintingColour;
    a.host.undo().changeSettings("Pipette", [&] {
        if (film->bitsPerPixel() > 15) {
            // Deep films keep their painting and paper colours in entries of the colour table.
            const int index = indexOfWord(target);
            film->palette()->setEntryRgb(index, rgbOfWord(word));
            word = rgbToColourWord(rgbOfWord(word), index);
            hint |= Hint::PaletteRepaint;
        }
        target = word;
        film->setSummary(summary);
    });
    a.host.document().updateAllViews(nullptr, hint);
    if (pick) {
        ActionSounds::play("Dropping");
        a.host.document().updateAllViews(nullptr, Hint::ColourPicked);
    }
}

} // namespace celvane
