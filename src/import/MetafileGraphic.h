#pragma once
// A Windows or enhanced metafile as a graphic of one frame.

#include "import/MetafileData.h"
#include "import/VectorGraphic.h"

namespace celvane {

class MetafileGraphic : public VectorGraphic {
public:
    // ArchiveError with IDS_CANNOT_LOAD_METAFILE for data that is no metafile we play.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    // As .wmf (with a placeable header), .emf, or a stamp file's chunk.
    size_t save(ByteWriter* out, int fileType, bool selectionOnly) override;
    bool isOfFileType(int type) const override;

    int pictureWidth() const override { return data_.displayWidth; }
    int pictureHeight() const override { return data_.displayHeight; }
    void draw(QPainter& painter, const QRectF& into) const override;

private:
    const char* frameName() const override { return "MetaFile"; }
    void forgetPicture() override { data_ = {}; }

    MetafileData data_;
};

} // namespace celvane
