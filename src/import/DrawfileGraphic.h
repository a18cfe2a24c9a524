#pragma once
// A RISC OS Drawfile as a graphic of one frame; its bytes are kept as they came.

#include <optional>

#include "import/DrawfilePicture.h"
#include "import/VectorGraphic.h"

namespace celvane {

class DrawfileGraphic : public VectorGraphic {
public:
    // ArchiveError for data that is no Drawfile.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    // As a Drawfile or a stamp file's chunk: the bytes it was loaded from.
    size_t save(ByteWriter* out, int fileType, bool selectionOnly) override;
    bool isOfFileType(int type) const override;

    int pictureWidth() const override { return picture_ ? picture_->width() : 0; }
    int pictureHeight() const override { return picture_ ? picture_->height() : 0; }
    void draw(QPainter& painter, const QRectF& into) const override;

private:
    const char* frameName() const override { return "Drawfile"; }
    void forgetPicture() override { picture_.reset(); }

    std::optional<DrawfilePicture> picture_;
};

} // namespace celvane
