#include "film/FrameEditing.h"

#include <algorithm>

#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"

namespace celvane::FrameEditing {

int insertAfter(Film& film, int current, bool duplicate, const std::function<void(Sprite&)>& draw)
{
    if (duplicate)
        film.makeCurrent(current);
    const int at = std::min(current + 1, film.isEmpty() ? 1 : film.frameCount());
    film.insertFrameDrawnBy(at, duplicate, draw);
    return film.currentFrame();
}

int deleteSelection(Film& film, int current)
{
    if (!anyMarked(film)) {
        film.deleteFrames(current, current);
    } else {
        for (;;) {
            const int count = film.frameCount();
            int f = 0;
            while (f < count && !film.isFrameSelected(f))
                ++f;
            if (f >= count || film.isEmpty())
                break;
            int g = f;
            while (g < count && film.isFrameSelected(g))
                ++g;
            film.deleteFrames(f, g - 1);
            if (current >= f)
                current = std::max(current - (g - f), f);
            if (film.isEmpty())
                break;
        }
    }
    return std::clamp(current, 0, film.frameCount() - 1);
}

bool anyMarked(const Film& film) { return film.countSelectedFrames() > 0; }

bool allMarked(const Film& film) { return film.countSelectedFrames() == film.frameCount(); }

void mark(Film& film, int k)
{
    const int count = film.frameCount();
    int s = 0;
    while (s < count && !film.isFrameSelected(s))
        ++s;
    if (s == count) {
        film.setFrameSelected(k, true);
        return;
    }
    int e = s;
    while (e + 1 < count && film.isFrameSelected(e + 1))
        ++e;
    const auto setRange = [&](int a, int b, bool on) {
        for (int i = a; i <= b; ++i)
            film.setFrameSelected(i, on);
    };
    if ((s + e) / 2 < k) {
        if (k > e)
            setRange(e + 1, k, true);
        else if (k < e)
            setRange(k + 1, e, false);
        else
            film.setFrameSelected(k, false);
    } else {
        if (k < s)
            setRange(k, s - 1, true);
        else if (k > s)
            setRange(s, k - 1, false);
        else
            film.setFrameSelected(k, false);
    }
}

void selectAll(Film& film)
{
    for (int i = 0; i < film.frameCount(); ++i)
        film.setFrameSelected(i, true);
}

void clearSelection(Film& film)
{
    for (int i = 0; i < film.frameCount(); ++i)
        film.setFrameSelected(i, false);
}

void selectRange(Film& film, int current, int target)
{
    clearSelection(film);
    if (target == current)
        return;
    for (int i = std::min(current, target); i <= std::max(current, target); ++i)
        film.setFrameSelected(i, true);
}

Bytes copyAsStamps(GraphicList& list, int current)
{
    Film* film = list.film();
    if (film && !anyMarked(*film))
        film->setFrameSelected(current, true);
    Bytes data;
    ByteWriter out(&data);
    list.save(&out, FileType::StampFile, true);
    out.u32(0xFFFFFFFFu);
    return data;
}

} // namespace celvane::FrameEditing
