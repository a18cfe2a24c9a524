#include "export/ExportKinds.h"

#include "export/GifGraphic.h"
#include "export/PictureFileGraphic.h"
#include "film/FileType.h"
#include "film/GraphicList.h"

namespace celvane {

void registerExportKinds()
{
    registerGraphicKind(FileType::Gif, []() -> std::unique_ptr<Graphic> { return std::make_unique<GifGraphic>(); });
    for (int picture : {int(FileType::Png), int(FileType::Jpeg)})
        registerGraphicKind(picture, []() -> std::unique_ptr<Graphic> { return std::make_unique<PictureFileGraphic>(); });
}

} // namespace celvane
