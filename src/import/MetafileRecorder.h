#pragma once
// A paint device that records what is painted on it as a metafile, so that any picture the
// program can paint (a stamp, a played metafile) can be saved as .emf or .wmf. Shapes keep
// their outlines (curves stay curves in enhanced metafiles), text becomes its outlines, and
// images keep their transparency.

#include <QImage>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPen>
#include <memory>
#include <vector>

#include "base/ByteIO.h"
#include "import/MetafileData.h"

namespace celvane {

class RecordingEngine;

class MetafileRecorder : public QPaintDevice {
public:
    // A picture of width x height pixels at 96 dots per inch.
    MetafileRecorder(int width, int height);
    ~MetafileRecorder() override;

    QPaintEngine* paintEngine() const override;
    // The metafile of everything painted so far: an enhanced metafile, or a Windows metafile
    // with its placeable header.
    Bytes finish(MetafileKind kind) const;

    // What the engine records, in the picture's pixels.
    struct Shape {
        QPainterPath path;
        std::optional<QPen> pen; // width in pixels; 0 = one pixel
        std::optional<QColor> fill;
        QImage image; // an image instead of a shape, drawn into `target`
        QRectF target;
    };

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class RecordingEngine;

    int width_;
    int height_;
    std::vector<Shape> shapes_;
    std::unique_ptr<RecordingEngine> engine_;
};

} // namespace celvane
