#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "gfx/PaletteDisplay.h"
#include "gfx/PaletteSelection.h"

using namespace celvane;

namespace {

uint32_t word(int r, int g, int b) { return rgbToColourWord(rgb(r, g, b)); }

// Plays a display for as long as it lives.
class DisplayScope {
public:
    explicit DisplayScope(DisplayDescription display) { setCurrentDisplay(std::move(display)); }
    ~DisplayScope() { setCurrentDisplay(saved_); }

private:
    DisplayDescription saved_ = currentDisplay();
};

// A 256-colour display keeping 20 static colours; slightly off the usual ones so that the
// test can tell the display's own from the usual set.
DisplayDescription staticDisplay()
{
    DisplayDescription d;
    d.bitsPerPixel = 8;
    d.staticColours = true;
    d.reservedCount = 20;
    d.entries.assign(256, rgb(50, 50, 50));
    for (int i = 0; i < 10; ++i) {
        d.entries[size_t(i)] = rgb(i, 0, 0);
        d.entries[size_t(246 + i)] = rgb(0, 0, 246 + i);
    }
    d.entries[0] = rgb(0, 0, 0);
    d.entries[255] = rgb(255, 255, 255);
    return d;
}

DisplayDescription displayWithoutStatics()
{
    DisplayDescription d;
    d.bitsPerPixel = 8;
    return d;
}

class RecordingContext : public PaletteDrawingContext {
public:
    Rect toDevice(const Rect& r) const override { return r; }
    void stretchCopy(const Sprite&, const Rect&, const Rect&) override {}
    const PlatformPalette* selectPalette(const PlatformPalette* palette) override
    {
        selections.push_back(palette);
        return std::exchange(selected, palette);
    }

    const PlatformPalette* selected = nullptr;
    std::vector<const PlatformPalette*> selections;
};

class DirectContext : public DrawingContext {
public:
    Rect toDevice(const Rect& r) const override { return r; }
    void stretchCopy(const Sprite&, const Rect&, const Rect&) override {}
};

} // namespace

TEST(PaletteDisplay, EightBitDefaultMovesItsGapsOntoTheReservedColours)
{
    const DisplayScope display(staticDisplay());
    PaletteRef p = PaletteRef::make();
    p->setDefault(8);
    EXPECT_EQ(p->reservedCount(), 20);
    const int reservedPlaces[20] = {0, 32, 64, 96, 128, 160, 192, 224, 194, 226,
                                    195, 227, 1, 33, 65, 97, 129, 161, 193, 225};
    for (int k = 0; k < 20; ++k) {
        const int stored = k < 10 ? k : 236 + k;
        EXPECT_EQ(p->storedIndex(reservedPlaces[k]), stored) << k;
        EXPECT_EQ(rgbOfWord(p->entry(stored)), currentDisplay().entries[size_t(stored)]) << k;
    }
    // The other colours keep their order in between, and none collapses onto a reserved one.
    EXPECT_EQ(p->storedIndex(2), 10);
    EXPECT_EQ(p->storedIndex(34), 40);
    EXPECT_EQ(p->storedIndex(255), 245);
    EXPECT_EQ(p->entry(10), word(0, 0, 1));       // the default's black at 2
    EXPECT_EQ(p->entry(245), word(255, 255, 254)); // its white at 255
    EXPECT_EQ(p->entry(p->storedIndex(3)), word(0, 0, 123));
    for (int logical = 0; logical < 256; ++logical)
        EXPECT_EQ(p->logicalIndex(p->storedIndex(logical)), logical);

    // Palette depths of sprites follow it; deeper sprites draw without the display palette.
    p->setDefault(32);
    EXPECT_TRUE(p->indexMap().empty());
    EXPECT_EQ(p->reservedCount(), 0);
}

TEST(PaletteDisplay, MissingReservedColoursComeFromTheUsualSet)
{
    const DisplayScope display(displayWithoutStatics());
    PaletteRef p = PaletteRef::make();
    p->setDefault(4); // black and white, completed to 16 usual colours: the 16-colour default
    PaletteRef plain = PaletteRef::make();
    {
        const DisplayScope deep{DisplayDescription{}};
        plain->setDefault(4);
    }
    EXPECT_EQ(p->reservedCount(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(p->entry(i), plain->entry(i)) << i;

    p->setDefault(8);
    EXPECT_EQ(p->reservedCount(), 20);
    EXPECT_EQ(p->entry(1), word(128, 0, 0));
    EXPECT_EQ(p->entry(9), word(166, 202, 240));
    EXPECT_EQ(p->entry(246), word(255, 251, 240));
    EXPECT_EQ(p->entry(254), word(0, 255, 255));

    // A display of few static colours keeps them where it has them.
    DisplayDescription four = staticDisplay();
    four.reservedCount = 4;
    setCurrentDisplay(four);
    p->setDefault(8);
    EXPECT_EQ(p->entry(1), word(1, 0, 0));
    EXPECT_EQ(p->entry(2), word(0, 128, 0));
    EXPECT_EQ(p->entry(254), word(0, 0, 254));
    EXPECT_EQ(p->entry(253), word(255, 0, 255));
}

TEST(PaletteDisplay, ReservedCountHoldsOnlyWhileTheEndsMatch)
{
    const DisplayScope display(staticDisplay());
    PaletteRef p = PaletteRef::make();
    p->setDefault(8);
    p->checkDisplayMatch(currentDisplay());
    EXPECT_EQ(p->reservedCount(), 20);
    p->setEntry(250, word(1, 1, 1));
    p->checkDisplayMatch(currentDisplay());
    EXPECT_EQ(p->reservedCount(), 0);
    p->setEntry(250, rgbToColourWord(currentDisplay().entries[250]));
    p->checkDisplayMatch(currentDisplay());
    EXPECT_EQ(p->reservedCount(), 20);
}

TEST(PaletteDisplay, PlatformPalette)
{
    PaletteRef p = PaletteRef::make();
    p->setDefault(8);
    // Without maps or reserved colours the platform takes the entries last first, unflagged.
    const PlatformPalette& plain = p->platformPalette();
    ASSERT_EQ(plain.size(), 256u);
    EXPECT_EQ(plain[0], (PlatformPaletteEntry{255, 255, 255, false}));
    EXPECT_EQ(plain[255 - 3], (PlatformPaletteEntry{0, 0, 123, false}));
    p->setEntry(255, word(1, 2, 3));
    EXPECT_EQ(p->platformPalette()[0], (PlatformPaletteEntry{1, 2, 3, false})); // rebuilt on change

    const DisplayScope display(staticDisplay());
    p->setDefault(8);
    const PlatformPalette& fitted = p->platformPalette();
    EXPECT_EQ(fitted[0], (PlatformPaletteEntry{0, 0, 0, false}));
    EXPECT_EQ(fitted[9], (PlatformPaletteEntry{9, 0, 0, false}));
    EXPECT_EQ(fitted[10], (PlatformPaletteEntry{0, 0, 1, true}));
    EXPECT_EQ(fitted[245].noCollapse, true);
    EXPECT_EQ(fitted[246], (PlatformPaletteEntry{0, 0, 246, false}));

    PaletteRef empty = PaletteRef::make(); // the palette of a direct-colour bitmap
    EXPECT_EQ(empty->platformPalette().size(), 256u);
}

TEST(PaletteDisplay, SelectionOnlyOnPaletteContextsAndRestored)
{
    PaletteRef p = PaletteRef::make();
    p->setDefault(4);
    RecordingContext screen;
    const PlatformPalette before;
    screen.selected = &before;
    {
        const SelectedPalette selected(*p, screen);
        EXPECT_EQ(screen.selected, &p->platformPalette());
        EXPECT_EQ(screen.selected->size(), 16u);
    }
    EXPECT_EQ(screen.selected, &before);
    EXPECT_EQ(screen.selections.size(), 2u);

    DirectContext direct;
    EXPECT_EQ(p->selectInto(direct), nullptr);
    const SelectedPalette nothing(*p, direct);
}

TEST(PaletteDisplay, ContrastMarks)
{
    EXPECT_EQ(contrastForBackground(rgb(255, 255, 0), 2.2, 172), 0u);
    EXPECT_EQ(contrastForBackground(rgb(0, 0, 255), 2.2, 172), 0xFFFFFFu);
    EXPECT_EQ(contrastForBackground(rgb(172, 172, 172), 2.2, 172), 0u); // the threshold itself is light
    EXPECT_EQ(contrastForBackground(rgb(171, 171, 171), 2.2, 172), 0xFFFFFFu);
}

TEST(Palette, LogicalIndexOperations)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(4);
    p->setIndexMap({3, 2, 1, 0});
    p->setEntryRgb(0, rgb(10, 20, 30));
    EXPECT_EQ(p->entry(3), word(10, 20, 30));
    EXPECT_EQ(p->colourOfIndex(0), 0x021E140Au);
    EXPECT_EQ(p->nearest(rgb(11, 20, 30)), 0);     // logical, through the inverse map
    std::vector<bool> excluded(4, false);
    EXPECT_EQ(p->nearest(rgb(11, 20, 30), &excluded), 3); // exclusion lists speak stored indices
}
