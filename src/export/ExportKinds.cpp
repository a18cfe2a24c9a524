#include "export/ExportKinds.h"

#include "export/GifGraphic.h"
#include "film/FileType.h"
#include "film/GraphicList.h"

namespace celvane {

void registerExportKinds()
{
    registerGraphicKind(FileType::Gif, []() -> std::unique_ptr<Graphic> { return std::make_unique<GifGraphic>(); });
}

} // namespace celvane
