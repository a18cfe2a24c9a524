#include "view/tools/PenTool.h"

#include <algorithm>
#include <cmath>

#include "film/UpdateHint.h"
#include "gfx/Sprite.h"
#include "view/ActionSoundHook.h"
#include "view/tools/ToolBox.h"
#include "view/tools/ToolEngine.h"

namespace celvane {

using namespace ToolFlag;

PenTool::PenTool(bool eraser) : Tool(0), eraser_(eraser)
{
    if (eraser_)
        pen_.width = pen_.height = 32;
    setPen(pen_);
}

void PenTool::setPen(const Pen& pen)
{
    pen_ = pen;
    pen_.shape = std::clamp(pen_.shape, 0, 11);
    pen_.width = std::clamp(pen_.width, 1, Pen::kMaxSide);
    pen_.height = std::clamp(pen_.height, 1, Pen::kMaxSide);
    raster_.setPen(pen_.width, pen_.height, pen_.round);
    unsigned flags = Provisional | ChangesFrame | DrawsOnFrame | (eraser_ ? PaperColour : SnapsToGrid);
    if (pen_.shape <= 1)
        flags |= Capture;
    if (pen_.shape == 3)
        flags |= KeepsAnchor;
    else
        flags |= EndOnRelease;
    setBaseFlags(flags);
}

void PenTool::changePen(const ToolEvent& e, Pen pen)
{
    setPen(pen);
    e.engine.tools().notify(Hint::PenSize);
}

ToolCursor PenTool::cursor() const
{
    if (sizeMode_)
        return ToolCursor::Size;
    return eraser_ ? ToolCursor::Eraser : ToolCursor::Pencil;
}

void PenTool::strokeSound() const
{
    // A stroke starts with one sound of its pair and repeats the other until it ends.
    if (eraser_)
        ActionSounds::play("Erasing again", false, "Erasing");
    else
        ActionSounds::play("Pencilling", false, "Pencilling again");
}

void PenTool::dabSound() const { ActionSounds::play(eraser_ ? "Erasing" : "Pencilling"); }

void PenTool::press(const ToolEvent& e)
{
    sizeMode_ = (e.keys & MouseKeys::Shift) ? 1 : (e.keys & MouseKeys::Control) ? 2 : 0;
    if (sizeMode_) {
        // The size drag takes no undo image and draws nothing.
        setFlags((flags() & ~(DoubleClickEnds | ChangesFrame)) | (eraser_ ? 0u : PaintingColour));
        sizeStart_ = e.at;
        sizeMoved_ = false;
        if (sizeMode_ == 1) {
            const double w = pen_.width, h = pen_.height;
            sizeHandle_ = {e.at.x + int(std::sqrt((w * w + h * h) / 16 + 0.5)), e.at.y};
        } else {
            sizeHandle_ = {e.at.x + pen_.width / 2, e.at.y + pen_.height / 2};
        }
        e.host.movePointer(sizeHandle_);
        return;
    }
    if (pen_.shape == 1) {
        e.engine.setAnchor(e.at);
        stroked_ = false;
        lastDirection_ = {};
        strokeSound();
    } else if (pen_.shape >= 2 && !e.engine.anchor()) {
        e.engine.setAnchor(e.at);
    }
}

void PenTool::dragSize(Point at)
{
    if (at == sizeHandle_ && !sizeMoved_)
        return;
    sizeMoved_ = true;
    const int dx = at.x - sizeStart_.x, dy = at.y - sizeStart_.y;
    Pen pen = pen_;
    if (sizeMode_ == 1) {
        pen.width = pen.height = int(std::sqrt(4.0 * (double(dx) * dx + double(dy) * dy) + 0.5));
    } else {
        pen.width = 2 * std::abs(dx);
        pen.height = 2 * std::abs(dy);
    }
    setPen(pen);
}

void PenTool::release(const ToolEvent& e)
{
    if (!sizeMode_) {
        // The stroke's repeating sound ends with the stroke.
        if (pen_.shape == 1)
            ActionSounds::endLoop();
        return;
    }
    sizeMode_ = 0;
    e.host.movePointer(sizeStart_);
    e.engine.tools().notify(Hint::PenSize);
}

void PenTool::apply(ToolApply& a)
{
    if (sizeMode_) {
        if (!a.first)
            dragSize(a.at);
        return;
    }
    spans_.clear();
    const auto anchor = a.engine.anchor();
    switch (pen_.shape) {
    case 0:
        raster_.dab(spans_, a.at);
        dabSound();
        break;
    case 1: freehand(a); break;
    default:
        if (!anchor)
            return;
        figure(*anchor, a.at);
        if (pen_.shape == 3 && a.final)
            a.engine.setAnchor(a.at);
    }
    draw(a);
}

void PenTool::freehand(ToolApply& a)
{
    const auto anchor = a.engine.anchor();
    if (!anchor) {
        // A double click acts without a press before it.
        if (a.final)
            raster_.dab(spans_, a.at);
        return;
    }
    if (a.first)
        return;
    const int dx = a.at.x - anchor->x, dy = a.at.y - anchor->y;
    // Square pens wait for a longer step, so that their bevels do not pile up.
    const double least = pen_.round ? 1 : 4;
    if (std::hypot(dx, dy) < least) {
        if (a.final && !stroked_)
            raster_.dab(spans_, *anchor);
        return;
    }
    if (lastDirection_.x * dx + lastDirection_.y * dy < 0)
        strokeSound();
    raster_.sweep(spans_, *anchor, a.at);
    a.engine.setAnchor(a.at);
    lastDirection_ = {dx, dy};
    stroked_ = true;
}

void PenTool::figure(Point from, Point to)
{
    const int shape = pen_.shape;
    if (shape <= 3) {
        raster_.sweep(spans_, from, to);
        return;
    }
    const bool equal = shape % 2 == 0;
    const bool outline = shape <= 7;
    const bool ellipse = shape == 4 || shape == 5 || shape == 8 || shape == 9;
    int dx = to.x - from.x, dy = to.y - from.y;
    if (ellipse) {
        double rx = std::abs(dx), ry = std::abs(dy);
        if (equal)
            rx = ry = std::hypot(dx, dy);
        raster_.ellipse(spans_, from, rx, ry, outline);
        return;
    }
    if (equal) {
        const int side = std::max(std::abs(dx), std::abs(dy));
        dx = dx < 0 ? -side : side;
        dy = dy < 0 ? -side : side;
    }
    raster_.rectangle(spans_, from, {from.x + dx, from.y + dy}, outline);
}

void PenTool::draw(ToolApply& a)
{
    if (spans_.empty())
        return;
    a.addChanged(PenRaster::fill(a.image, spans_, a.image.pixelValueOf(a.colour)));
}

bool PenTool::character(const ToolEvent& e, char32_t c)
{
    Pen pen = pen_;
    if (c == U'.') {
        pen.width = pen.height = 1;
    } else if (c == U'h' || c == U'H') {
        pen.round = !pen.round;
    } else {
        return false;
    }
    changePen(e, pen);
    return true;
}

bool PenTool::keyDown(const ToolEvent& e, ToolKey key)
{
    Pen pen = pen_;
    switch (key) {
    case ToolKey::Up: ++pen.width, ++pen.height; break;
    case ToolKey::Down: --pen.width, --pen.height; break;
    case ToolKey::KeypadPlus: pen.width *= 2, pen.height *= 2; break;
    case ToolKey::KeypadMinus: pen.width /= 2, pen.height /= 2; break;
    }
    changePen(e, pen);
    return true;
}

} // namespace celvane
