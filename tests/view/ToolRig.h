#pragma once
// A film window for the tool tests: a real film and the real tools, with what the window would
// do recorded. Client pixels are frame pixels times `zoom`.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "view/ActionSoundHook.h"
#include "view/tools/FrameUndo.h"
#include "view/tools/ToolBox.h"
#include "view/tools/ToolEngine.h"

namespace celvane::test {

inline std::vector<std::string> soundsHeard;

struct ToolRig : ToolHost, DocumentObserver {
    CCelvaneDoc doc;
    FrameUndo undoer{*this};
    ToolBox box;
    std::unique_ptr<ToolEngine> engine;
    int zoom = 1;
    int gridStep = 0; // a locked grid of this step when positive
    std::vector<Rect> refreshed;
    std::vector<uint32_t> hints;     // to this film's windows
    std::vector<uint32_t> toolHints; // from the toolbox to every window
    std::vector<Point> pointer;
    std::vector<std::string> calls;
    const Sprite* shown = nullptr;
    std::optional<Rect> band;

    explicit ToolRig(int width = 64, int height = 48, int bits = 8)
    {
        doc.newDocument(ImageInfo::forFilm(width, height, bits));
        doc.addView(this);
        engine = std::make_unique<ToolEngine>(*this, box);
        box.broadcast = [this](uint32_t hint) { toolHints.push_back(hint); };
        soundsHeard.clear();
        // A stroke's sound is heard as "sound+repeated sound".
        ActionSounds::setPlayer([](const char* name, bool, const char* followOn) {
            soundsHeard.push_back(followOn ? std::string(name) + "+" + followOn : std::string(name));
        });
    }
    ~ToolRig() override
    {
        ActionSounds::setPlayer(nullptr);
        doc.removeView(this);
    }

    Film& film() { return *doc.film(); }
    uint32_t ink() { return frame().pixelValueOf(film().ink()); }
    uint32_t paper() { return frame().pixelValueOf(film().paper()); }
    uint32_t at(int x, int y) { return frame().pixelAt(x, y); }
    int count(uint32_t pixel, const Sprite* image = nullptr)
    {
        const Sprite& s = image ? *image : frame();
        int n = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                n += s.pixelAt(x, y) == pixel;
        return n;
    }
    // Rows of the frame inside r: '#' for the painting colour, '.' for anything else.
    std::vector<std::string> picture(const Rect& r)
    {
        std::vector<std::string> rows;
        for (int y = r.top; y < r.bottom; ++y) {
            std::string row;
            for (int x = r.left; x < r.right; ++x)
                row += at(x, y) == ink() ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }

    void press(Point p, unsigned keys = MouseKeys::LeftButton, bool right = false)
    {
        engine->mouse(MouseAction::Press, p, keys, right);
    }
    void move(Point p, unsigned keys = MouseKeys::LeftButton, bool right = false)
    {
        engine->mouse(MouseAction::Move, p, keys, right);
    }
    void release(Point p, unsigned keys = 0, bool right = false) { engine->mouse(MouseAction::Release, p, keys, right); }
    void click(Point p, bool right = false)
    {
        press(p, right ? MouseKeys::RightButton : MouseKeys::LeftButton, right);
        release(p, 0, right);
    }
    void drag(Point from, Point to, unsigned keys = MouseKeys::LeftButton)
    {
        press(from, keys);
        move(to, keys);
        release(to);
    }

    // ToolHost
    CCelvaneDoc& document() override { return doc; }
    Sprite& frame() override { return *film().workingImage(std::max(film().currentFrame(), 0)); }
    FrameUndo& undo() override { return undoer; }
    int currentFrame() override { return std::max(doc.film()->currentFrame(), 0); }
    void framesReplaced(int current) override { calls.push_back("frames " + std::to_string(current)); }
    void showFrame(int frame) override
    {
        film().makeCurrent(frame);
        doc.updateAllViews(nullptr, Hint::FrameChanged);
    }
    Point clientOf(Point f) const override { return {f.x * zoom, f.y * zoom}; }
    Point snapped(Point f) const override
    {
        if (gridStep <= 0)
            return f;
        return {gridStep * ((gridStep / 2 + f.x) / gridStep), gridStep * ((gridStep / 2 + f.y) / gridStep)};
    }
    void refreshRect(const Rect& r, bool) override { refreshed.push_back(r); }
    void showProvisional(const Sprite* image) override { shown = image; }
    void drawRubberBand(const Rect& r) override { band = r; }
    void eraseRubberBand() override { band.reset(); }
    void movePointer(Point f) override { pointer.push_back(f); }
    void setCursor(ToolCursor) override {}
    void zoomIn(Point c) override { calls.push_back("in " + std::to_string(c.x) + "," + std::to_string(c.y)); }
    void zoomOut(Point c) override { calls.push_back("out " + std::to_string(c.x) + "," + std::to_string(c.y)); }
    void zoomToRect(const Rect& r) override
    {
        calls.push_back("rect " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right)
                        + "," + std::to_string(r.bottom));
    }
    void toggleZoom() override { calls.push_back("toggle"); }

    void onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*) override
    {
        hints.push_back(hint);
        if (hint & Hint::CurrentFrame)
            undoer.frameChanged();
        engine->hint(hint);
    }
};

} // namespace celvane::test
