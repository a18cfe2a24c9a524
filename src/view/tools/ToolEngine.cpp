#include "view/tools/ToolEngine.h"

#include <cmath>
#include <cstring>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "view/tools/FrameUndo.h"
#include "view/tools/ToolBox.h"

namespace celvane {

using namespace ToolFlag;

void ToolApply::addChanged(const Rect& r) { changed = changed.united(r); }

ToolEngine::ToolEngine(ToolHost& host, ToolBox& tools)
    : host_(host), tools_(tools), dragMinDist_(Settings::instance().dragMinDistance())
{
    tools_.addEngine(this);
}

ToolEngine::~ToolEngine() { tools_.removeEngine(this); }

bool ToolEngine::drawsOnFrame() const
{
    const Tool* tool = tools_.current();
    return tool && (tool->flags() & DrawsOnFrame);
}

Point ToolEngine::position(const Tool& tool, Point at) const
{
    return (tool.flags() & SnapsToGrid) ? host_.snapped(at) : at;
}

void ToolEngine::mouse(MouseAction action, Point at, unsigned keys, bool right)
{
    Tool* tool = tools_.current();
    if (!tool)
        return;
    const Point client = host_.clientOf(at);
    keys_ = keys;
    switch (action) {
    case MouseAction::Press:
        if (!held_)
            right_ = right != 0;
        press(*tool, at, client);
        break;
    case MouseAction::Release: release(*tool, at, client); break;
    case MouseAction::DoubleClick:
        if (!held_)
            right_ = right != 0;
        doubleClick(*tool, at, client);
        break;
    case MouseAction::Move:
        if (!held_)
            right_ = right != 0;
        move(*tool, at, client);
        break;
    }
    refreshCursor();
}

void ToolEngine::refreshCursor()
{
    if (const Tool* tool = tools_.current())
        host_.setCursor(tool->cursor());
}

void ToolEngine::press(Tool& tool, Point at, Point client)
{
    if (held_)
        return;
    tool.startOperation();
    held_ = true;
    lastAppliedClient_ = client;
    at = position(tool, at);
    tool.press(event(at));
    const unsigned f = tool.flags();
    if ((f & ChangesFrame) && ((f & Capture) || (f & UndoEveryPress) || anchor_))
        host_.undo().take(ToolBox::stepName(tools_.currentNumber()), true);
    if (!(f & Drag)) {
        apply(tool, at, {.moved = bool(f & TellMoved), .first = true});
    } else if (!anchor_) {
        anchor_ = at;
        anchorClient_ = client;
        if (f & ActsWithoutAnchor)
            stretchBand(at);
    } else {
        stretchBand(at);
        apply(tool, at, {.final = true});
        if (f & EndOnRelease)
            endOperation(false);
    }
}

void ToolEngine::move(Tool& tool, Point at, Point client)
{
    const unsigned f = tool.flags();
    at = position(tool, at);
    if (f & Drag) {
        if (anchor_)
            stretchBand(at);
        return;
    }
    if (!held_)
        return;
    if ((f & DragMinDistMoves) && std::hypot(client.x - lastAppliedClient_.x, client.y - lastAppliedClient_.y) < dragMinDist_)
        return;
    lastAppliedClient_ = client;
    apply(tool, at, {.moved = bool(f & TellMoved)});
}

bool ToolEngine::isClick(Point client) const
{
    return std::hypot(client.x - anchorClient_.x, client.y - anchorClient_.y) < dragMinDist_;
}

void ToolEngine::release(Tool& tool, Point at, Point client)
{
    if (!held_)
        return;
    const unsigned f = tool.flags();
    at = position(tool, at);
    if (f & Drag) {
        if (anchor_) {
            if (isClick(client)) {
                if (f & ActsWithoutAnchor) {
                    held_ = false;
                    tool.release(event(at));
                    endOperation(false);
                    host_.undo().changeEnded();
                    return;
                }
                at = *anchor_;
            }
            apply(tool, at, {.final = true});
        }
    } else {
        apply(tool, at, {.final = true});
    }
    held_ = false;
    tool.release(event(at));
    if (f & EndOnRelease)
        endOperation(false);
    host_.undo().changeEnded();
}

void ToolEngine::doubleClick(Tool& tool, Point at, Point client)
{
    if (!(tool.flags() & DoubleClickEnds)) {
        press(tool, at, client);
        return;
    }
    endOperation(true);
    tool.startOperation();
    at = position(tool, at);
    if (tool.flags() & ChangesFrame)
        host_.undo().take(ToolBox::stepName(tools_.currentNumber()), true);
    apply(tool, at, {.final = true, .doubleClick = true});
}

void ToolEngine::stretchBand(Point to)
{
    if (!anchor_)
        return;
    host_.drawRubberBand({anchor_->x, anchor_->y, to.x, to.y});
    bandShown_ = true;
}

Sprite& ToolEngine::provisional()
{
    Sprite& frame = host_.frame();
    if (!provisionalLive_) {
        if (provisional_.empty() || provisional_.width() != frame.width() || provisional_.height() != frame.height()
            || provisional_.bitsPerPixel() != frame.bitsPerPixel() || provisional_.palette() != frame.palette())
            provisional_.create(frame.width(), frame.height(), frame.logicalWidth(), frame.logicalHeight(),
                                frame.bitsPerPixel(), frame.palette());
        provisional_.copyPixelsFrom(frame);
        provisionalLive_ = true;
        previewArea_ = {};
        host_.showProvisional(&provisional_);
    }
    return provisional_;
}

void ToolEngine::dropProvisional()
{
    if (!provisionalLive_)
        return;
    provisionalLive_ = false;
    host_.showProvisional(nullptr);
}

void ToolEngine::apply(Tool& tool, Point at, ToolStep step)
{
    const unsigned f = tool.flags();
    Film* film = host_.document().film();
    if (!film)
        return;
    const bool useInk = (f & PaintingColour) || (!(f & PaperColour) && !right_);
    const uint32_t colour = useInk ? film->ink() : film->paper();
    const bool preview = held_ && !step.final && (f & Provisional);
    Rect stale;
    Sprite* image = &host_.frame();
    if (preview) {
        image = &provisional();
        if (tool.redrawsPreview()) {
            image->copyAreaFrom(host_.frame(), previewArea_);
            stale = previewArea_;
            previewArea_ = {};
        }
    } else if (provisionalLive_) {
        // The final apply: what the drag added becomes the frame's; a redrawn preview is only
        // taken off the screen.
        if (!tool.redrawsPreview())
            host_.frame().swapPixelsWith(provisional_);
        stale = previewArea_;
        previewArea_ = {};
    }
    ToolApply a{step, *this, host_, *image, at, right_, colour, {}};
    tool.prepare(a);
    tool.apply(a);
    tool.finish(a);
    const Rect bounds{0, 0, image->width(), image->height()};
    const Rect drawn = a.changed.intersected(bounds);
    if (preview)
        previewArea_ = tool.redrawsPreview() ? drawn : previewArea_.united(drawn);
    if (step.final)
        dropProvisional();
    const Rect changed = drawn.united(stale);
    if (!changed.isEmpty())
        host_.refreshRect(changed, false);
}

void ToolEngine::endOperation(bool force)
{
    Tool* tool = tools_.current();
    if (force || !tool || !(tool->flags() & KeepsAnchor))
        anchor_.reset();
    if (bandShown_) {
        host_.eraseRubberBand();
        bandShown_ = false;
    }
    held_ = false;
    dropProvisional();
    previewArea_ = {};
    if (tool)
        tool->operationEnded();
    refreshCursor();
}

bool ToolEngine::takesText() const
{
    const Tool* tool = tools_.current();
    return tool && tool->takesText();
}

void ToolEngine::character(char32_t c)
{
    if (c == 0x1B) {
        endOperation(true);
        return;
    }
    if (Tool* tool = tools_.current())
        tool->character(event({}), c);
}

bool ToolEngine::keyDown(ToolKey key)
{
    Tool* tool = tools_.current();
    return tool && tool->keyDown(event({}), key);
}

void ToolEngine::hint(uint32_t hint)
{
    if (hint & Hint::CurrentFrame)
        endOperation(true);
}

} // namespace celvane
