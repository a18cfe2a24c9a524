#include "import/ImportKinds.h"

#include "film/FileType.h"
#include "film/GraphicList.h"
#include "import/DrawfileGraphic.h"
#include "import/GifGraphic.h"
#include "import/MetafileGraphic.h"
#include "import/PictureFileGraphic.h"
#include "import/SpriteFileGraphic.h"

namespace celvane {

void registerImportKinds()
{
    registerGraphicKind(FileType::Gif, []() -> std::unique_ptr<Graphic> { return std::make_unique<GifGraphic>(); });
    for (int picture : {int(FileType::Png), int(FileType::Jpeg)})
        registerGraphicKind(picture, []() -> std::unique_ptr<Graphic> { return std::make_unique<PictureFileGraphic>(); });
    registerGraphicKind(FileType::RiscOsSprite,
                        []() -> std::unique_ptr<Graphic> { return std::make_unique<SpriteFileGraphic>(); });
    for (int type : {FileType::Metafile, FileType::EnhancedMetafile})
        registerGraphicKind(type, []() -> std::unique_ptr<Graphic> { return std::make_unique<MetafileGraphic>(); });
    registerGraphicKind(FileType::Drawfile, []() -> std::unique_ptr<Graphic> { return std::make_unique<DrawfileGraphic>(); });
}

} // namespace celvane
