#pragma once
// A RISC OS sprite file as a graphic: one frame per sprite it could read, so that it opens as a
// film, imports into one, or serves as a set of stamps.

#include <vector>

#include "film/ManyFrameGraphic.h"
#include "import/SpriteFileReader.h"

namespace celvane {

class SpriteFileGraphic : public ManyFrameGraphic {
public:
    int needsMaskFlags() const override { return 0; }
    void getSummary(GraphicSummary& summary) const override;
    void getFrameDescription(int frame, ImageInfo& info) override;
    // Data is a whole sprite file. Sprites left out are told once; a file with none to show
    // is then refused.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    void clear() override;
    void deleteFrames(int first, int last) override;
    Sprite* workingImage(int frame) override;
    void setFrameName(int frame, const std::string& name) override;
    bool isOfFileType(int type) const override;

private:
    bool valid(int frame) const { return frame >= 0 && size_t(frame) < contents_.sprites.size(); }

    SpriteFileContents contents_;
};

} // namespace celvane
