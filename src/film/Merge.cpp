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

// Finds the graphic that holds global frame `frame` of a list.
Graphic* graphicOf(GraphicList& list, int frame, int* local)
{
    for (int i = 0; i < list.itemCount(); ++i) {
        GraphicSummary s;
        list.item(i).getSummary(s);
        if (frame < s.frameCount) {
            *local = frame;
            return &list.item(i);
        }
        frame -= s.frameCount;
    }
    return nullptr;
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

} // namespace

int mergeFrames(GraphicList& target, int frame, GraphicList& source, const ImageInfo& defaults)
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
        if (film->isEmpty() && f == 0) {
            at = 0; // a new film's blank frame takes the first picture
        } else {
            at = std::min(first + f, film->frameCount());
            film->insertFrame(at, false);
        }
        int local = 0;
        Graphic* graphic = graphicOf(source, f, &local);
        Sprite* picture = graphic ? graphic->workingImage(local) : nullptr;
        Sprite* into = film->workingImage(at);
        if (picture && into) {
            PlotRequest request;
            request.destinationSprite = into;
            request.destination = Rect{0, 0, into->logicalWidth(), into->logicalHeight()};
            picture->plot(request);
            film->markCurrentModified();
        }
        if (graphic) {
            FrameSoundEntry sound;
            for (int k = 0; graphic->soundEntry(local, k, sound); ++k)
                film->setSoundEntry(at, k, sound);
            film->setFade(at, graphic->fade(local), FrameFade::AllFields);
        }
        last = at;
    }
    film->closeGap();
    return last;
}

} // namespace celvane
