#pragma once
// The interface every loadable picture kind implements: films now, bitmaps, sprite files,
// Drawfiles and metafiles as they arrive. The operations keep one fixed order.

#include <cstdint>
#include <string>

#include "base/ByteIO.h"
#include "film/FrameFade.h"
#include "film/ImageInfo.h"

namespace celvane {

class Sprite;
struct PlotRequest;

// What get summary reports and set summary takes: the ink and paper colour words, the frame
// period in milliseconds and the motion (0 loop, 1 yo-yo, 2 to end).
// Milliseconds a frame of a film whose file and settings name no speed of their own.
constexpr int kStandardFilmPeriod = 80;

struct GraphicSummary {
    int frameCount = 0;
    uint32_t ink = 0;
    uint32_t paper = 0;
    int period = 0;
    int motion = 0;
};

// One 16-byte sound entry of a frame, as stored (its meaning belongs to the sound code).
struct FrameSoundEntry {
    uint32_t words[4] = {};
    bool operator==(const FrameSoundEntry&) const = default;
};

class Graphic {
public:
    virtual ~Graphic() = default;

    virtual int needsMaskFlags() const = 0;
    // Adds this graphic's frame count to summary.frameCount and reports the rest.
    virtual void getSummary(GraphicSummary& summary) const = 0;
    virtual void getFrameDescription(int frame, ImageInfo& info) = 0;
    virtual int countSelectedFrames() const = 0;
    virtual void setFrameSelected(int frame, bool selected) = 0;
    virtual bool isFrameSelected(int frame) const = 0;
    virtual bool isModified() const { return false; }
    virtual void setModified(bool) {}
    // Loads at `insertAt` from a description, from data, or both.
    virtual void load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType) = 0;
    virtual void clear() = 0;
    virtual void deleteFrames(int first, int last) = 0;
    // Writes in `fileType` and returns the byte count; with no writer only counts.
    virtual size_t save(ByteWriter* out, int fileType, bool selectionOnly) = 0;
    virtual void insertFrame(int, bool /*duplicate*/) {}
    virtual void discardEdits() {}
    virtual void reserveGap(int /*beforeFrame*/, size_t /*bytes*/) {}
    virtual size_t gapSize() const { return 0; }
    virtual void closeGap() {}
    virtual void setSummary(const GraphicSummary&) {}
    virtual void playSounds(int /*frame*/) {}
    // The decoded picture of a frame, or null for kinds that have none.
    virtual Sprite* workingImage(int /*frame*/) { return nullptr; }
    // Plots a frame through a request (Sprite::plot's result; 0 when there is nothing to plot).
    // Pictures that can be drawn afresh at any size and turn do so; others plot their image.
    virtual int plotFrame(int frame, const PlotRequest& request);
    virtual bool soundEntry(int /*frame*/, int /*k*/, FrameSoundEntry&) const { return false; }
    virtual void setSoundEntry(int /*frame*/, int /*k*/, const FrameSoundEntry&) {}
    virtual void setName(const std::string&) {}
    // Names one frame (a stamp); kinds whose frames are numbered after one name take it as that.
    virtual void setFrameName(int /*frame*/, const std::string& name) { setName(name); }
    virtual FrameFade fade(int /*frame*/) const { return {}; }
    virtual void setFade(int /*frame*/, const FrameFade&, int /*fields*/) {}
    virtual bool isOfFileType(int) const { return false; }
};

} // namespace celvane
