#include "FuzzSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "base/Errors.h"
#include "film/GraphicList.h"
#include "import/ImportKinds.h"
#include "import/VectorGraphic.h"

namespace celvane::fuzz {

void startQt()
{
    if (QGuiApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "celvane-fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives as long as the process
    registerImportKinds();
}

bool drewShrunk(Graphic& graphic)
{
    constexpr int kThumbnail = 128;
    auto* vector = dynamic_cast<VectorGraphic*>(&graphic);
    if (!vector || int64_t(vector->pictureWidth()) * vector->pictureHeight() <= kThumbnail * kThumbnail)
        return false;
    const double scale = double(kThumbnail) / std::max(vector->pictureWidth(), vector->pictureHeight());
    QImage thumbnail(kThumbnail, kThumbnail, QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    QPainter painter(&thumbnail);
    vector->draw(painter, QRectF(0, 0, vector->pictureWidth() * scale, vector->pictureHeight() * scale));
    return true;
}

void loadAndShow(int fileType, ByteSpan data)
{
    GraphicList list;
    try {
        list.load(fileType, data);
    } catch (const Error&) {
        return;
    }
    GraphicSummary summary;
    list.getSummary(summary);
    for (int frame = 0; frame < list.frameCount(); ++frame) {
        Graphic* graphic;
        int local;
        if (!list.locate(frame, &graphic, &local))
            std::abort(); // the list counts a frame it cannot find
        try {
            if (!drewShrunk(*graphic)) {
                ImageInfo info;
                list.getFrameDescription(frame, info);
                graphic->workingImage(local);
            }
            list.fade(frame);
            FrameSoundEntry entry;
            for (int k = 0; graphic->soundEntry(local, k, entry); ++k) {
            }
        } catch (const Error&) {
            // A frame that does not decode is refused on its own; the others still show.
        }
    }
}

} // namespace celvane::fuzz
