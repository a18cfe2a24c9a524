#include "view/PreviewMode.h"

#include <algorithm>

#include "film/Film.h"

namespace celvane {

void PreviewMode::setLevels(int ghosting, int inBetweening)
{
    ghosting_ = std::clamp(ghosting, 0, 2);
    inBetweening_ = std::clamp(inBetweening, 0, 2);
}

PreviewMode::Switch PreviewMode::request(int mode)
{
    if (mode == mode_)
        mode = None;
    const int level = mode == Ghosting ? ghosting_ : mode == InBetweening ? inBetweening_ + 3 : -1;
    Switch result;
    if (level == level_)
        return result;
    if (level >= 0 && !(explained_ & (1u << level))) {
        explained_ |= 1u << level;
        result.explain = level;
    }
    mode_ = mode;
    level_ = level;
    result.changed = true;
    dirtyAll();
    return result;
}

bool PreviewMode::hide(bool hidden)
{
    if (hidden == hidden_)
        return false;
    hidden_ = hidden;
    dirtyAll();
    return mode_ != None;
}

void PreviewMode::onHint(uint32_t hint, const ChangeRecord* change)
{
    if (hint & Hint::CurrentFrame)
        cache_.markStale();
    if (hint & (Hint::RepaintAll | Hint::PaletteRepaint | Hint::FrameRect))
        dirtyAll();
    if ((hint & Hint::RepaintRect) && change) {
        const Rect& r = change->rect;
        dirty_ = dirty_.isEmpty() ? r
                                  : Rect{std::min(dirty_.left, r.left), std::min(dirty_.top, r.top),
                                         std::max(dirty_.right, r.right), std::max(dirty_.bottom, r.bottom)};
    }
}

const Sprite& PreviewMode::image(const Film& film, int current, const Sprite& source)
{
    const auto frames = PreviewLevels::neighbours(level_, current, film.frameCount(), film.motion() == Film::Loop);
    if (cache_.buildBlend(film, frames, kBlendDepth) || &source != lastSource_)
        dirtyAll();
    lastSource_ = &source;
    if (!dirty_.isEmpty()) {
        cache_.buildComposite(source, dirty_);
        dirty_ = {};
    }
    return cache_.composite();
}

} // namespace celvane
