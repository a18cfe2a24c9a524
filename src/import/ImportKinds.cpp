#include "import/ImportKinds.h"

#include "film/FileType.h"
#include "film/GraphicList.h"
#include "import/SpriteFileGraphic.h"

namespace celvane {

void registerImportKinds()
{
    registerGraphicKind(FileType::RiscOsSprite,
                        []() -> std::unique_ptr<Graphic> { return std::make_unique<SpriteFileGraphic>(); });
}

} // namespace celvane
