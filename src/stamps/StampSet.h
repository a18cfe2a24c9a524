#pragma once
// The stamps on offer: a list of graphics whose frames, over all its items, are the stamps,
// each with a name and possibly a transform of its own (flipped, turned, sized). Stamp n is
// global frame n of the list.

#include <optional>
#include <string>
#include <vector>

#include "film/GraphicList.h"
#include "gfx/PlotRequest.h"

namespace celvane {

class StampSet {
public:
    GraphicList& graphics() { return list_; }
    int count() const { return list_.frameCount(); }

    std::string name(int n);
    void rename(int n, const std::string& name);
    bool isSelected(int n) const { return list_.isFrameSelected(n); }
    void select(int n, bool on) { list_.setFrameSelected(n, on); }
    void selectAll(bool on);
    // The stamp the stamp tool places: the first selected, else the first.
    int current() const { return list_.firstSelectedOrZero(); }
    // The selected stamps, or stamp 0 when none is selected (what the image commands change).
    std::vector<int> chosen() const;

    // The stamp's picture; null when its kind has no bitmap.
    Sprite* image(int n);
    // Plots the stamp (drawn afresh at the plot's size and turn when it can be).
    int plot(int n, const PlotRequest& request);

    // None: the stamp as it is.
    const std::optional<PlotTransform>& transform(int n) const;
    // The stamp's transform followed by `t`; a result that changes nothing removes the record.
    void combine(int n, const PlotTransform& t);
    // Back to its own size, the right way up (a record of no change is kept).
    void resetTransform(int n);
    void setTransform(int n, const std::optional<PlotTransform>& transform);

    // Adds the graphics of a file (or clipboard data) of a kind; returns the number of stamps
    // added. Failures are the list's.
    int add(int fileType, ByteSpan data);
    void removeSelected();
    // A stamp file of every stamp or of the selected ones; the byte count (only counted with no
    // writer). An empty set writes nothing.
    size_t save(ByteWriter* out, bool selectionOnly);

private:
    // One record per stamp, in step with the stamps.
    void fitTransforms();

    GraphicList list_;
    std::vector<std::optional<PlotTransform>> transforms_;
};

} // namespace celvane
