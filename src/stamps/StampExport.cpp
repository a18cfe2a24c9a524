#include "stamps/StampExport.h"

#include <algorithm>

#include "base/StringTable.h"
#include "export/GifErrors.h"
#include "export/GifWriter.h"
#include "export/NumberedNames.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "import/MetafileExport.h"
#include "stamps/StampSet.h"

namespace celvane {

namespace {

constexpr StampExportKind kKinds[] = {
    {"Stamp file", ".stp", FileType::StampFile},
    {"GIF files", ".gif", FileType::Gif},
    {"Bitmap files", ".bmp", FileType::Bitmap},
    {"Metafiles", ".wmf", FileType::Metafile},
    {"Enhanced metafiles", ".emf", FileType::EnhancedMetafile},
};

std::vector<int> stampsToWrite(StampSet& stamps, bool selectionOnly)
{
    std::vector<int> which;
    for (int n = 0; n < stamps.count(); ++n)
        if (!selectionOnly || stamps.isSelected(n))
            which.push_back(n);
    return which;
}

Bytes stampAs(StampSet& stamps, int n, int fileType)
{
    Graphic* graphic;
    int local;
    if (!stamps.graphics().locate(n, &graphic, &local))
        throw NotSupportedError("no stamp " + std::to_string(n), IDS_CANNOT_EXPORT_FORMAT);
    Bytes data;
    ByteWriter out(&data);
    if (fileType == FileType::Bitmap) {
        const Sprite* image = graphic->workingImage(local);
        if (!image)
            throw NotSupportedError("this stamp has no bitmap", IDS_CANNOT_EXPORT_FORMAT);
        image->write(&out, SpriteWriteKind::Bitmap, true);
    } else {
        saveFrameAsMetafile(*graphic, local, fileType, out);
    }
    return data;
}

} // namespace

std::span<const StampExportKind> stampExportKinds() { return kKinds; }

void exportStamps(StampSet& stamps, const std::string& path, int fileType, bool selectionOnly)
{
    if (fileType == FileType::StampFile) {
        Bytes data;
        ByteWriter out(&data);
        stamps.save(&out, selectionOnly);
        writeFileAtomically(path, data);
        return;
    }
    const std::vector<int> which = stampsToWrite(stamps, selectionOnly);
    if (fileType == FileType::Gif) {
        if (which.empty())
            throwGifNotSupported("There were no frames to export to the GIF file, so it wasn't saved.");
        writeFileAtomically(path, writeGif(*stampsAsFilm(stamps, which)));
        return;
    }
    // Every file is made before the first is written: a stamp that cannot be written leaves
    // no half a set behind.
    std::vector<Bytes> files;
    for (int n : which)
        files.push_back(stampAs(stamps, n, fileType));
    NumberedNames further(path);
    for (size_t k = 0; k < files.size(); ++k)
        writeFileAtomically(k == 0 ? path : further.next(), files[k]);
}

std::unique_ptr<Film> stampsAsFilm(StampSet& stamps, const std::vector<int>& which)
{
    int width = 1, height = 1;
    for (int n : which)
        if (const Sprite* image = stamps.image(n)) {
            width = std::max(width, image->logicalWidth());
            height = std::max(height, image->logicalHeight());
        }
    auto film = std::make_unique<Film>();
    const ImageInfo description = ImageInfo::forFilm(width, height, 32);
    film->load(0, &description, nullptr, FileType::Film);
    for (size_t k = 0; k < which.size(); ++k) {
        const auto draw = [&](Sprite& into) {
            const Sprite* image = stamps.image(which[k]);
            if (!image)
                return;
            const int w = image->logicalWidth(), h = image->logicalHeight();
            PlotRequest request;
            request.destinationSprite = &into;
            request.destination = Rect{(width - w) / 2, (height - h) / 2, (width - w) / 2 + w, (height - h) / 2 + h};
            request.flags = kPlotMasked;
            stamps.plot(which[k], request);
        };
        if (k == 0) {
            draw(*film->workingImage(0));
            film->markCurrentModified();
            film->storeCurrentFrame();
        } else {
            film->insertFrameDrawnBy(int(k), false, draw);
        }
    }
    return film;
}

} // namespace celvane
