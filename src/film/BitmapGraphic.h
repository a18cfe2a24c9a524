#pragma once
// A single picture held as a sprite: a bitmap file, or a bitmap from the clipboard. It offers
// one frame that can be described and drawn, which is all a merge into a film needs.

#include "film/OneFrameGraphic.h"
#include "gfx/Sprite.h"

namespace celvane {

class BitmapGraphic : public OneFrameGraphic {
public:

    int needsMaskFlags() const override { return 0; }
    void getSummary(GraphicSummary& summary) const override;
    void getFrameDescription(int frame, ImageInfo& info) override;
    // Data is a whole bitmap file (with its 14-byte file header), followed for the two stamp
    // kinds by the transparent colour or the mask's bitmap file.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    void clear() override { image_.reset(); }
    void deleteFrames(int, int) override { clear(); }
    size_t save(ByteWriter* out, int fileType, bool selectionOnly) override;
    Sprite* workingImage(int frame) override { return frame == 0 ? &image_ : nullptr; }
    void setName(const std::string& name) override { name_ = name; }
    bool isOfFileType(int type) const override;

private:
    Sprite image_;
    std::string name_;
};

} // namespace celvane
