#include "stamps/StampSet.h"

#include "film/FileType.h"
#include "gfx/PlotGeometry.h"

namespace celvane {

std::string StampSet::name(int n)
{
    ImageInfo info;
    list_.getFrameDescription(n, info);
    return info.name;
}

void StampSet::rename(int n, const std::string& name)
{
    Graphic* graphic;
    int local;
    if (list_.locate(n, &graphic, &local))
        graphic->setFrameName(local, name);
}

void StampSet::selectAll(bool on)
{
    for (int n = 0; n < count(); ++n)
        list_.setFrameSelected(n, on);
}

std::vector<int> StampSet::chosen() const
{
    std::vector<int> stamps;
    for (int n = list_.findNextSelected(0); n >= 0; n = list_.findNextSelected(n + 1))
        stamps.push_back(n);
    if (stamps.empty() && count() > 0)
        stamps.push_back(0);
    return stamps;
}

Sprite* StampSet::image(int n)
{
    Graphic* graphic;
    int local;
    return list_.locate(n, &graphic, &local) ? graphic->workingImage(local) : nullptr;
}

int StampSet::plot(int n, const PlotRequest& request)
{
    Graphic* graphic;
    int local;
    return list_.locate(n, &graphic, &local) ? graphic->plotFrame(local, request) : 0;
}

const std::optional<PlotTransform>& StampSet::transform(int n) const
{
    static const std::optional<PlotTransform> none;
    return n >= 0 && n < int(transforms_.size()) ? transforms_[size_t(n)] : none;
}

void StampSet::combine(int n, const PlotTransform& t)
{
    fitTransforms();
    if (n < 0 || n >= int(transforms_.size()))
        return;
    auto& record = transforms_[size_t(n)];
    record = combineTransforms(record.value_or(PlotTransform{}), t);
}

void StampSet::resetTransform(int n) { setTransform(n, PlotTransform{}); }

void StampSet::setTransform(int n, const std::optional<PlotTransform>& transform)
{
    fitTransforms();
    if (n >= 0 && n < int(transforms_.size()))
        transforms_[size_t(n)] = transform;
}

int StampSet::add(int fileType, ByteSpan data)
{
    fitTransforms();
    const int before = count();
    list_.load(fileType, data);
    fitTransforms();
    return count() - before;
}

void StampSet::removeSelected()
{
    fitTransforms();
    std::vector<std::optional<PlotTransform>> kept;
    for (int n = 0; n < int(transforms_.size()); ++n)
        if (!isSelected(n))
            kept.push_back(transforms_[size_t(n)]);
    list_.deleteSelectedFrames();
    transforms_ = std::move(kept);
    fitTransforms();
}

size_t StampSet::save(ByteWriter* out, bool selectionOnly) { return list_.save(out, FileType::StampFile, selectionOnly); }

void StampSet::fitTransforms() { transforms_.resize(size_t(count())); }

} // namespace celvane
