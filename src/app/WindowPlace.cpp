#include "app/WindowPlace.h"

#include <algorithm>

namespace celvane {

namespace {
long long area(const QRect& a, const QRect& b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : (long long)both.width() * both.height();
}
} // namespace

QPoint WindowPlace::inside(QPoint topLeft, QSize frame) const
{
    const QRect& s = at_.screen;
    return {std::clamp(topLeft.x(), s.left(), std::max(s.left(), s.right() + 1 - frame.width())),
            std::clamp(topLeft.y(), s.top(), std::max(s.top(), s.bottom() + 1 - frame.height()))};
}

long long WindowPlace::covered(const QRect& window) const
{
    // A bar under a window cannot be used at all; a film partly covered still can.
    constexpr long long kBarWeight = 16;
    long long cost = area(window, at_.film) + kBarWeight * area(window, at_.toolbox);
    for (const QRect& bar : at_.bars)
        cost += kBarWeight * area(window, bar);
    return cost;
}

QPoint WindowPlace::best(const std::vector<QPoint>& candidates, QSize frame) const
{
    QPoint chosen = inside(candidates.front(), frame);
    long long least = -1;
    for (const QPoint& candidate : candidates) {
        const QPoint place = inside(candidate, frame);
        const long long cost = covered(QRect(place, frame));
        if (cost == 0)
            return place;
        if (least < 0 || cost < least) {
            least = cost;
            chosen = place;
        }
    }
    return chosen;
}

QPoint WindowPlace::panel(QSize frame, const QRect& button) const
{
    const QRect& box = at_.toolbox.isEmpty() ? at_.main : at_.toolbox;
    if (box.width() > box.height()) {
        // A toolbox along the top or foot is one down the side with x and y swapped.
        const auto swap = [](const QRect& r) { return QRect(r.y(), r.x(), r.height(), r.width()); };
        ScreenLayout across{swap(at_.screen), swap(at_.main), swap(at_.toolbox), {}, swap(at_.film)};
        for (const QRect& bar : at_.bars)
            across.bars.push_back(swap(bar));
        const QPoint at = WindowPlace(across).panel(frame.transposed(), swap(button));
        return {at.y(), at.x()};
    }
    const QRect& film = at_.film.isEmpty() ? at_.main : at_.film;
    const QRect& by = button.isEmpty() ? box : button;
    // Left or right of the toolbox, away from the film first; a side too near the screen's edge
    // has no room (both count when neither has).
    std::vector<int> xs;
    const bool filmRight = film.center().x() >= box.center().x();
    for (const int x : {filmRight ? box.left() - frame.width() : box.right() + 1,
                        filmRight ? box.right() + 1 : box.left() - frame.width()})
        if (x >= at_.screen.left() && x + frame.width() <= at_.screen.right() + 1)
            xs.push_back(x);
    if (xs.empty())
        xs = {box.right() + 1, box.left() - frame.width()};
    // Level with the button, then along the toolbox, then past the film's or the main window's ends.
    std::vector<QPoint> places;
    for (const int y : {by.top(), box.bottom() + 1 - frame.height(), film.bottom() + 1, film.top() - frame.height(),
                        at_.main.bottom() + 1, at_.main.top() - frame.height()})
        for (const int x : xs)
            places.push_back({x, y});
    return best(places, frame);
}

QPoint WindowPlace::picker(QSize frame) const
{
    const QRect& m = at_.main;
    const QRect& s = at_.screen;
    const QRect& film = at_.film.isEmpty() ? m : at_.film;
    return best({{m.right() + 1, m.top()},
                 {m.left() - frame.width(), m.top()},
                 {m.left(), m.bottom() + 1},
                 {m.left(), m.top() - frame.height()},
                 {film.right() + 1, film.top()},
                 {film.left() - frame.width(), film.top()},
                 {film.left(), film.bottom() + 1},
                 {film.left(), film.top() - frame.height()},
                 {s.right() + 1 - frame.width(), s.top()},
                 {s.right() + 1 - frame.width(), s.bottom() + 1 - frame.height()},
                 {s.left(), s.bottom() + 1 - frame.height()},
                 {s.left(), s.top()}},
                frame);
}

} // namespace celvane
