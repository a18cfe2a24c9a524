#pragma once
// A vector picture (a metafile, a Drawfile) as a graphic of one frame: the picture drawn at its
// own size on white, so that it opens as a film or imports into one; plotted through a request
// it is drawn afresh at the request's size and turn, so that a stamp made from it stays sharp.

#include <QPainter>
#include <optional>
#include <string>

#include "film/OneFrameGraphic.h"
#include "gfx/Sprite.h"
#include "import/MetafileData.h"
#include "import/VectorImage.h"

namespace celvane {

class VectorGraphic : public OneFrameGraphic {
public:
    int needsMaskFlags() const override { return 0; }
    void getSummary(GraphicSummary& summary) const override;
    void getFrameDescription(int frame, ImageInfo& info) override;
    void clear() override;
    void deleteFrames(int first, int last) override;
    Sprite* workingImage(int frame) override;
    int plotFrame(int frame, const PlotRequest& request) override { return frame == 0 ? plot(request) : 0; }
    void setName(const std::string& name) override { name_ = name; }

    // The picture's own size in pixels; 0 when nothing is loaded.
    virtual int pictureWidth() const = 0;
    virtual int pictureHeight() const = 0;
    // Draws the whole picture so that it fills `into`.
    virtual void draw(QPainter& painter, const QRectF& into) const = 0;
    // Plots the picture as an image with its mask (see VectorImage).
    int plot(const PlotRequest& request);
    // The picture drawn into a new metafile of a kind, at its own size.
    Bytes recorded(MetafileKind kind) const;

protected:
    // The name a frame is described by.
    virtual const char* frameName() const = 0;
    // Called by subclasses when their picture changes or goes.
    void pictureChanged();
    // Drops the picture itself (clear).
    virtual void forgetPicture() = 0;

private:
    bool loaded() const { return pictureWidth() > 0; }

    Sprite image_;
    VectorImage plotted_;
    // Given by a stamp file's names; the kind's own name until then.
    std::optional<std::string> name_;
};

} // namespace celvane
