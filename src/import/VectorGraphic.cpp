#include "import/VectorGraphic.h"

#include "gfx/Colour.h"
#include "import/MetafileRecorder.h"
#include "platform/DrawingSurface.h"

namespace celvane {

void VectorGraphic::getSummary(GraphicSummary& summary) const { summary.frameCount += loaded() ? 1 : 0; }

void VectorGraphic::getFrameDescription(int frame, ImageInfo& info)
{
    if (Sprite* image = workingImage(frame))
        info = ImageInfo::describing(*image, name_ ? *name_ : frameName());
}

void VectorGraphic::clear()
{
    forgetPicture();
    pictureChanged();
    selected_ = false;
}

void VectorGraphic::deleteFrames(int first, int last)
{
    if (first <= 0 && last >= 0)
        clear();
}

void VectorGraphic::pictureChanged()
{
    image_.reset();
    plotted_.forget();
}

Sprite* VectorGraphic::workingImage(int frame)
{
    if (frame != 0 || !loaded())
        return nullptr;
    if (image_.empty()) {
        Sprite image;
        image.create(pictureWidth(), pictureHeight(), 0, 0, 32);
        image.fillPixel(image.pixelValueForRgb(rgb(255, 255, 255)));
        SurfaceLease lease = drawingSurface(image);
        lease.painter().setRenderHint(QPainter::Antialiasing);
        lease.painter().setRenderHint(QPainter::TextAntialiasing);
        draw(lease.painter(), QRectF(0, 0, pictureWidth(), pictureHeight()));
        lease.release();
        image_ = std::move(image);
    }
    return &image_;
}

Bytes VectorGraphic::recorded(MetafileKind kind) const
{
    MetafileRecorder recorder(pictureWidth(), pictureHeight());
    {
        QPainter painter(&recorder);
        draw(painter, QRectF(0, 0, pictureWidth(), pictureHeight()));
    }
    return recorder.finish(kind);
}

int VectorGraphic::plot(const PlotRequest& request)
{
    return plotted_.plot(request, pictureWidth(), pictureHeight(),
                         [this](QPainter& painter, const QRectF& into) { draw(painter, into); });
}

} // namespace celvane
