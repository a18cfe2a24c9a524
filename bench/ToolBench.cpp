// The drawing tools on a 1920 x 1080 8-bit frame. PencilMove: one move event of a freehand
// stroke with a 16 x 16 round pen: drawing the segment, reporting the changed rectangle and
// repainting it at 100%; "direct" draws into the frame, "provisional" goes through the engine,
// which draws into the copy shown while the button is held. FloodFill: pouring into a large
// region, ours against a plain breadth-first fill of four neighbours. UndoStep/hd: what the
// window does at the start of a stroke: the stroke before becomes a step of the history (only
// the rectangle it touched, coded) and the frame is copied for the next one. Goal: under 5 ms.
// Autosave/hd100: a child draws while a 100-frame film of that size is written to its recovery
// file: the time is the worst pencil move while the worker writes (goal: under 1 ms), beside the
// worst of as many moves with nothing written; copy_ms is how long the window's thread takes to
// take its snapshot of the film first (goal: well under 1 ms).
//
// The benchmark links only the engine libraries; the tool sources it runs are compiled in here,
// as they are in the window's library.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstring>
#include <cmath>
#include <functional>
#include <queue>

#include <QElapsedTimer>
#include <QtGlobal>
#include <algorithm>

#include "BenchSupport.h"
#include "app/Autosave.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "view/FramePainter.h"

#include "../src/view/ActionSoundHook.cpp"
#include "../src/view/tools/FloodFill.cpp"
#include "../src/view/tools/FloodFillTool.cpp"
#include "../src/view/tools/FrameUndo.cpp"
#include "../src/view/tools/PenRaster.cpp"
#include "../src/view/tools/PenTool.cpp"
#include "../src/view/tools/PipetteTool.cpp"
#include "../src/view/tools/ToolBox.cpp"
#include "../src/view/tools/ToolEngine.cpp"
#include "../src/view/tools/ZoomTool.cpp"

namespace {

using namespace celvane;

constexpr int kWidth = 1920, kHeight = 1080;

// A film window that repaints what the tool reports, as the window does.
struct BenchHost : ToolHost {
    CCelvaneDoc doc;
    FrameUndo undoer{*this};
    FramePainter painter;
    QImage window{kWidth, kHeight, QImage::Format_RGB32};
    const Sprite* shown = nullptr;

    BenchHost() { doc.newDocument(ImageInfo::forFilm(kWidth, kHeight, 8)); }
    CCelvaneDoc& document() override { return doc; }
    Sprite& frame() override { return *doc.film()->workingImage(0); }
    FrameUndo& undo() override { return undoer; }
    int currentFrame() override { return 0; }
    void framesReplaced(int) override {}
    void showFrame(int) override {}
    Point clientOf(Point f) const override { return f; }
    Point snapped(Point f) const override { return f; }
    void refreshRect(const Rect& r, bool) override
    {
        QPainter p(&window);
        painter.paint(p, shown ? *shown : frame(), {0, 0, kWidth, kHeight}, r);
    }
    void showProvisional(const Sprite* image) override { shown = image; }
    void drawRubberBand(const Rect&) override {}
    void eraseRubberBand() override {}
    void movePointer(Point) override {}
    void setCursor(ToolCursor) override {}
    void zoomIn(Point) override {}
    void zoomOut(Point) override {}
    void zoomToRect(const Rect&) override {}
    void toggleZoom() override {}
};

// The stroke wanders over the frame in steps of a few pixels, as a hand does.
Point strokePoint(int64_t i)
{
    const int k = int(i % 4000);
    const int x = 100 + (k < 2000 ? k * 17 / 20 : (4000 - k) * 17 / 20);
    return {x, 540 + int(300 * std::sin(k / 90.0))};
}

void PencilMoveDirect(benchmark::State& state)
{
    BenchHost host;
    ToolBox tools;
    ToolEngine engine(host, tools);
    PenTool& pencil = tools.pencil();
    int64_t i = 0;
    Point last = strokePoint(0);
    engine.setAnchor(last);
    for (auto _ : state) {
        const Point at = strokePoint(++i);
        ToolApply a{{.moved = true}, engine, host, host.frame(), at, false, host.doc.film()->ink(), {}};
        pencil.apply(a);
        host.refreshRect(a.changed, false);
        benchmark::DoNotOptimize(a.changed);
    }
}

void PencilMoveProvisional(benchmark::State& state)
{
    BenchHost host;
    ToolBox tools;
    ToolEngine engine(host, tools);
    int64_t i = 0;
    engine.mouse(MouseAction::Press, strokePoint(0), MouseKeys::LeftButton, 0);
    engine.mouse(MouseAction::Move, strokePoint(++i), MouseKeys::LeftButton, 0); // the copy is made once
    for (auto _ : state)
        engine.mouse(MouseAction::Move, strokePoint(++i), MouseKeys::LeftButton, 0);
    engine.mouse(MouseAction::Release, strokePoint(i), 0, 0);
}

// A school drawing: paper with a house, a sun and strokes, leaving one large paper region.
void makeDrawing(Sprite& s)
{
    s.fillPixel(255);
    const auto box = [&](int l, int t, int r, int b, uint8_t v) {
        for (int y = t; y < b; ++y)
            std::memset(s.rowAddress(y) + l, v, size_t(r - l));
    };
    box(0, 900, kWidth, kHeight, 2);
    box(300, 300, 700, 800, 4);
    box(1500, 80, 1720, 300, 3);
    for (int k = 0; k < 40; ++k)
        box(100 + k * 40, 100 + (k * 53) % 600, 110 + k * 40, 160 + (k * 53) % 600, uint8_t(k % 16));
}

uint32_t other(uint32_t v) { return v == 255 ? 9 : 255; }

void FloodFillCelvane(benchmark::State& state)
{
    Sprite s;
    s.create(kWidth, kHeight, 0, 0, 8);
    makeDrawing(s);
    FloodFill fill;
    for (auto _ : state)
        benchmark::DoNotOptimize(fill.area(s, {960, 200}, other(s.pixelAt(960, 200))));
}

void FloodFillReference(benchmark::State& state)
{
    Sprite s;
    s.create(kWidth, kHeight, 0, 0, 8);
    makeDrawing(s);
    for (auto _ : state) {
        const uint32_t target = s.pixelAt(960, 200), pour = other(target);
        std::queue<Point> queue;
        queue.push({960, 200});
        s.setPixelAt(960, 200, pour);
        while (!queue.empty()) {
            const Point p = queue.front();
            queue.pop();
            for (const Point n : {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}})
                if (n.x >= 0 && n.y >= 0 && n.x < kWidth && n.y < kHeight && s.pixelAt(n.x, n.y) == target) {
                    s.setPixelAt(n.x, n.y, pour);
                    queue.push(n);
                }
        }
        benchmark::ClobberMemory();
    }
}

} // namespace

void UndoStepHd(benchmark::State& state)
{
    BenchHost host;
    ToolBox tools;
    ToolEngine engine(host, tools);
    makeDrawing(host.frame());
    PenTool& pencil = tools.pencil();
    // Each pass along the path in the other of the painting colour and the paper's, so that
    // every stroke changes the frame.
    const uint32_t colours[] = {host.doc.film()->ink(), host.doc.film()->paper()};
    int64_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A stroke of a hundred moves.
        engine.setAnchor(strokePoint(i));
        const uint32_t colour = colours[(i / 4000) % 2];
        for (int k = 0; k < 100; ++k) {
            ToolApply a{{.moved = true}, engine, host, host.frame(), strokePoint(++i), false, colour, {}};
            pencil.apply(a);
        }
        state.ResumeTiming();
        host.undoer.take("Pencil", false);
    }
    state.counters["steps"] = double(host.undoer.history().size());
    state.counters["history_KB"] = double(host.undoer.history().bytes()) / 1024;
}

// A 100-frame film of the drawing, each frame with a line of its own.
Film& makeHd100(BenchHost& host)
{
    Film& film = *host.doc.film();
    makeDrawing(host.frame());
    film.markCurrentModified();
    for (int k = 1; k < 100; ++k)
        film.insertFrameDrawnBy(k, true, [k](Sprite& s) { std::memset(s.rowAddress(k * 10), 1, kWidth); });
    film.makeCurrent(0);
    return film;
}

// Twenty New Frame commands on the 100-frame film, each a step of the history: the time is one
// command's step (taking the film before, keeping what the film no longer holds); history_KB is
// what the twenty keep, film_KB the film's file, which each step kept whole before.
void UndoStepFilmCommand(benchmark::State& state)
{
    BenchHost host;
    Film& film = makeHd100(host);
    for (auto _ : state) {
        for (int k = 0; k < 20; ++k) {
            host.undoer.beforeFilmChange("New Frame");
            state.PauseTiming();
            film.insertFrame(50 + k, false);
            state.ResumeTiming();
            host.undoer.afterFilmChange();
        }
        state.PauseTiming();
        state.counters["history_KB"] = double(host.undoer.history().bytes()) / 1024;
        for (int k = 0; k < 20; ++k)
            host.undoer.undo();
        state.ResumeTiming();
    }
    state.counters["steps"] = double(host.undoer.history().size());
    state.counters["film_KB"] = double(film.snapshot().fileBytes().size()) / 1024;
}

void AutosaveHd100(benchmark::State& state)
{
    bench::application();
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(bench::scratchPath("state")));
    BenchHost host;
    Film& film = makeHd100(host);
    ToolBox tools;
    ToolEngine engine(host, tools);
    PenTool& pencil = tools.pencil();
    Autosave autosave([&] { return std::vector<Autosave::OpenFilm>{{&host.doc, "HD film"}}; });
    int64_t i = 0;
    // The slowest of `moves` pencil moves, or of those made while `going` holds.
    const auto worstMove = [&](int moves, const std::function<bool()>& going) {
        double worst = 0;
        int made = 0;
        engine.setAnchor(strokePoint(i));
        for (QElapsedTimer clock; going ? going() : made < moves; ++made) {
            clock.start();
            ToolApply a{{.moved = true}, engine, host, host.frame(), strokePoint(++i), false, film.ink(), {}};
            pencil.apply(a);
            host.refreshRect(a.changed, false);
            worst = std::max(worst, double(clock.nsecsElapsed()) / 1e6);
        }
        return std::pair(worst, made);
    };
    double copyMs = 0, alone = 0;
    for (auto _ : state) {
        film.markCurrentModified();
        QElapsedTimer clock;
        clock.start();
        autosave.saveNow();
        copyMs = std::max(copyMs, double(clock.nsecsElapsed()) / 1e6);
        const auto [worst, moves] = worstMove(0, [&] { return autosave.writing(); });
        autosave.finishWriting();
        state.SetIterationTime(worst / 1000);
        // The same moves with nothing being written, for the machine's own hiccups.
        alone = std::max(alone, worstMove(moves, {}).first);
    }
    state.counters["copy_ms"] = copyMs;
    state.counters["worst_without_save_ms"] = alone;
    std::filesystem::remove_all(bench::scratchPath("state"));
}

BENCHMARK(PencilMoveDirect)->Name("PencilMove/direct");
BENCHMARK(PencilMoveProvisional)->Name("PencilMove/provisional");
BENCHMARK(FloodFillCelvane)->Name("FloodFill/large/celvane")->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFillReference)->Name("FloodFill/large/reference")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoStepHd)->Name("UndoStep/hd")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoStepFilmCommand)->Name("UndoStep/filmCommand")->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(AutosaveHd100)->Name("Autosave/hd100")->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
