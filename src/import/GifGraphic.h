#pragma once
// A GIF file as a graphic: its frames served one at a time from the animation store, so that
// a film can be made from it (frame period from the shortest delay, longer delays as pauses,
// motion from the loop extension).

#include <map>
#include <optional>
#include <vector>

#include "import/GifAnimation.h"
#include "film/ManyFrameGraphic.h"
#include "gfx/Sprite.h"

namespace celvane {

class GifGraphic : public ManyFrameGraphic {
public:
    int needsMaskFlags() const override { return 0; }
    void getSummary(GraphicSummary& summary) const override;
    void getFrameDescription(int frame, ImageInfo& info) override;
    // Data is a whole GIF file.
    void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) override;
    void clear() override;
    void deleteFrames(int first, int last) override;
    // The frame unpacked; transparent pixels take the common palette's free entry.
    Sprite* workingImage(int frame) override;
    FrameFade fade(int frame) const override;
    void setName(const std::string& name) override { name_ = name; }
    bool isOfFileType(int type) const override;

private:
    bool valid(int frame) const { return animation_ && frame >= 0 && frame < animation_->frameCount(); }
    void measureDelays();
    PaletteRef paletteOf(const GifPalette& colours);
    // Paints a rectangle of the stored pixels into the picture, through the frame's map;
    // with a free entry, transparent pixels take it.
    void paint(const Rect& rect, const AnimationFrame& record, int free);

    std::optional<Animation> animation_;
    std::map<GifPalette, PaletteRef> palettes_;
    Sprite image_;
    int imageFrame_ = -1; // what the picture and the buffers below hold
    bool shownCommon_ = false;
    Bytes pixels_; // the frame as stored, kept from one frame to the next
    Bytes mask_;
    int shortestDelay_ = 0;
    std::string name_;
};

} // namespace celvane
