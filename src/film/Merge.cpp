#include "film/Merge.h"

#include <algorithm>

#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "gfx/PlotRequest.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

// An entry of another film names a sound of that film's library: the sound joins this film's.
FrameSoundEntry carriedOver(const FrameSoundEntry& entry, const Film* from, Film& into)
{
    const int number = int(entry.words[0] & FilmSoundTable::kSoundNumber);
    if (!from || !FilmSoundTable::namesASound(entry) || number >= from->soundLibrary().count())
        return entry;
    const int held = into.soundLibrary().hold(from->soundLibrary().sound(number), from->soundLibrary().name(number));
    return FilmSoundTable::withSoundNumber(entry, held);
}

// The graphic that holds global frame `frame` of a list, or null.
Graphic* graphicOf(const GraphicList& list, int frame, int* local)
{
    Graphic* graphic = nullptr;
    return list.locate(frame, &graphic, local) ? graphic : nullptr;
}

void createFilmFor(GraphicList& target, GraphicList& source, const ImageInfo& defaults)
{
    ImageInfo description;
    source.getFrameDescription(0, description);
    description.mask &= ~ImageInfo::HasName;
    description.merge(defaults);
    target.loadNew(FileType::Film, description);
    GraphicSummary s;
    source.getSummary(s);
    if (s.frameCount >= 2 && s.period > 0) {
        Film& film = *target.film();
        GraphicSummary mine;
        film.getSummary(mine);
        mine.period = s.period;
        mine.motion = s.motion;
        film.setSummary(mine);
    }
}

// Draws a source picture scaled to the whole of `into`.
void drawScaled(GraphicList& source, int frame, Sprite& into)
{
    int local = 0;
    Graphic* graphic = graphicOf(source, frame, &local);
    Sprite* picture = graphic ? graphic->workingImage(local) : nullptr;
    if (!picture)
        return;
    PlotRequest request;
    request.destinationSprite = &into;
    request.destination = Rect{0, 0, into.logicalWidth(), into.logicalHeight()};
    picture->plot(request);
}

} // namespace

int backgroundSource(int k, int n, int m, int use, bool sourceTravelsBack)
{
    if (m <= 1 || n <= 1 || use == ImportOptions::UseFirst)
        return 0;
    const int e = sourceTravelsBack ? 2 * m - 2 : m;
    const int f = use == ImportOptions::CycleAround ? k % e + 1 : int(double(e) / n * k) + 1;
    return f <= m ? f - 1 : e - f + 1;
}

int mergeBackground(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults,
                    const ImportOptions& options)
{
    if (target.itemCount() == 0)
        createFilmFor(target, source, defaults);
    Film* film = target.film();
    if (!film)
        throw NotSupportedError("backgrounds go into films", IDS_CANNOT_LOAD_TYPE);
    std::vector<int> frames;
    for (int i = 0; i < film->frameCount(); ++i)
        if (options.applyTo == ImportOptions::EntireFilm
            || (options.applyTo == ImportOptions::SelectedFrames && film->isFrameSelected(i))
            || (options.applyTo == ImportOptions::CurrentFrame && i == frame))
            frames.push_back(i);
    GraphicSummary theirs, ours;
    source.getSummary(theirs);
    film->getSummary(ours);
    const bool travelsBack = theirs.motion == Film::YoYo && ours.motion != Film::YoYo;

    Sprite scratch, drawing;
    scratch.create(film->width(), film->height(), film->width(), film->height(), film->bitsPerPixel(), film->palette());
    drawing.create(film->width(), film->height(), film->width(), film->height(), film->bitsPerPixel(), film->palette());
    drawing.setTransparentColour(film->paper(), true);
    const int n = int(frames.size());
    for (int k = 0; k < n; ++k) {
        Sprite* into = film->workingImage(frames[size_t(k)]);
        scratch.fillColour(film->paper());
        drawScaled(source, backgroundSource(k, n, theirs.frameCount, options.use, travelsBack), scratch);
        // The frame's own drawing on top, its paper letting the picture through.
        drawing.copyPixelsFrom(*into);
        PlotRequest request;
        request.destinationSprite = &scratch;
        request.flags = kPlotMasked;
        drawing.plot(request);
        into->copyPixelsFrom(scratch);
        film->markCurrentModified();
    }
    return frame;
}

int mergeFrames(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults,
                const Progress& progress)
{
    const int n = source.frameCount();
    if (n == 0)
        return frame;
    if (target.itemCount() == 0)
        createFilmFor(target, source, defaults);
    Film* film = target.film();
    if (!film)
        throw NotSupportedError("frames can only be merged into a film", IDS_CANNOT_LOAD_TYPE);

    const int first = frame + 1;
    int last = frame;
    for (int f = 0; f < n; ++f) {
        int at;
        if (film->isEmpty() && f == 0 && !film->currentModified()) {
            // A new film's untouched blank frame takes the first picture. Once drawn on (by a
            // person or by an earlier merge) it is a frame of its own, and the pictures follow it.
            at = 0;
            drawScaled(source, f, *film->workingImage(0));
            film->markCurrentModified();
        } else {
            at = std::min(first + f, film->frameCount());
            film->insertFrameDrawnBy(at, false, [&](Sprite& into) { drawScaled(source, f, into); });
        }
        int local = 0;
        if (Graphic* graphic = graphicOf(source, f, &local)) {
            FrameSoundEntry sound;
            for (int k = 0; graphic->soundEntry(local, k, sound); ++k)
                film->setSoundEntry(at, k, carriedOver(sound, dynamic_cast<const Film*>(graphic), *film));
            film->setFade(at, graphic->fade(local), FrameFade::AllFields);
        }
        last = at;
        if (progress && !progress(f + 1, n))
            throw UserCancel();
    }
    film->closeGap();
    return last;
}

} // namespace celvane
