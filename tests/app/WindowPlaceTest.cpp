// Where panels and pickers open, on a 1366 x 768 screen laid out as the program lays it out.

#include <gtest/gtest.h>

#include "app/WindowPlace.h"

using namespace celvane;

namespace {
// A maximised main window: a tool bar at the top, the toolbox down the left, the palette and the
// play bar at the bottom, the film in the middle.
ScreenLayout maximised(QRect film)
{
    ScreenLayout at;
    at.screen = QRect(0, 0, 1366, 740);
    at.main = at.screen;
    at.toolbox = QRect(0, 60, 88, 560);
    at.bars = {QRect(0, 20, 1366, 40), QRect(0, 620, 1366, 60), QRect(0, 680, 1366, 60)};
    at.film = film;
    return at;
}

long long covered(const QRect& a, const QRect& b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : (long long)both.width() * both.height();
}
} // namespace

TEST(WindowPlace, PanelsGoBesideTheToolboxOffTheBarsAndTheFilm)
{
    const QSize panel(260, 150);
    const QRect button(0, 100, 40, 40);
    // The film in the middle leaves room between it and the toolbox, whose left side is the
    // screen's edge: the panel goes to its right, level with the button.
    const QRect film(400, 150, 640, 400);
    EXPECT_EQ(WindowPlace(maximised(film)).panel(panel, button), QPoint(88, 100));

    // A toolbox floating at the right of the film: the panel goes on its far side.
    ScreenLayout right = maximised(film);
    right.toolbox = QRect(1045, 100, 60, 300);
    EXPECT_EQ(WindowPlace(right).panel(panel), QPoint(1105, 100));
    // Docked along the top: below it, over the gap above the film.
    ScreenLayout top = maximised(QRect(100, 300, 640, 300));
    top.toolbox = QRect(0, 60, 560, 44);
    EXPECT_EQ(WindowPlace(top).panel(panel, QRect(80, 60, 40, 40)), QPoint(80, 104));

    // A film that reaches the toolbox: along the toolbox, below the film and above the palette.
    const QRect wide(90, 70, 1200, 390);
    EXPECT_EQ(WindowPlace(maximised(wide)).panel(panel, button), QPoint(88, 470));

    // No room anywhere: never over a bar, and over as little of the film as can be.
    const QRect big(90, 60, 1276, 560);
    const QRect placed(WindowPlace(maximised(big)).panel(panel, button), panel);
    EXPECT_TRUE(QRect(0, 0, 1366, 740).contains(placed));
    for (const QRect& bar : maximised(big).bars)
        EXPECT_FALSE(placed.intersects(bar));
    EXPECT_FALSE(placed.intersects(maximised(big).toolbox));
    EXPECT_LE(covered(placed, big), (long long)panel.width() * panel.height());

    // A panel taller than the room slides up the screen rather than off its foot.
    const QPoint tall = WindowPlace(maximised(film)).panel(QSize(260, 700), button);
    EXPECT_LE(tall.y() + 700, 740);
}

TEST(WindowPlace, PickersGoBesideTheMainWindowOrOverTheLeastOfTheFilm)
{
    const QSize picker(440, 480);
    // A main window with room to its right: there, level with its top.
    ScreenLayout small = maximised(QRect(150, 150, 320, 240));
    small.main = QRect(0, 0, 800, 700);
    small.bars = {QRect(0, 20, 800, 40), QRect(0, 580, 800, 60), QRect(0, 640, 800, 60)};
    EXPECT_EQ(WindowPlace(small).picker(picker), QPoint(800, 0));

    // Maximised: off the bars and the film where the film leaves room...
    const QRect film(300, 120, 560, 400);
    const QRect beside(WindowPlace(maximised(film)).picker(picker), picker);
    for (const QRect& bar : maximised(film).bars)
        EXPECT_FALSE(beside.intersects(bar));
    EXPECT_FALSE(beside.intersects(film));
    EXPECT_FALSE(beside.intersects(maximised(film).toolbox));

    // ... and over as little of it as can be when it fills the window.
    const QRect big(90, 60, 1276, 560);
    const QRect over(WindowPlace(maximised(big)).picker(picker), picker);
    EXPECT_TRUE(QRect(0, 0, 1366, 740).contains(over));
    EXPECT_LE(covered(over, big), covered(QRect(QPoint(300, 100), picker), big));
}
