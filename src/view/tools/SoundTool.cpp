#include "view/tools/SoundTool.h"

#include "film/CelvaneDoc.h"
#include "film/Film.h"

namespace celvane {

SoundTool::SoundTool() : Tool(ToolFlag::EndOnRelease) {}

void SoundTool::apply(ToolApply& a)
{
    if (!a.final)
        return;
    if (const Film* film = a.host.document().film())
        film->hearSound(a.host.currentFrame());
}

} // namespace celvane
