#pragma once
// A PNG or JPEG picture, read through the platform's image readers into a bitmap.

#include "film/BitmapGraphic.h"

namespace celvane {

class PictureFileGraphic : public BitmapGraphic {
public:
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    bool isOfFileType(int type) const override;
};

} // namespace celvane
