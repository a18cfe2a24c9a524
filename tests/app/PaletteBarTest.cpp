#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CColourPalette.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {
// A started program whose first film has the given depth, on a settings file of its own.
struct Program : test::StartedProgram {
    explicit Program(int depth) : StartedProgram({.filmWidth = 32, .filmHeight = 24, .filmDepth = depth}) {}
    CColourPalette& bar() { return *app.mainFrame()->findChild<CColourPalette*>(); }
    CCelvaneDoc& document() { return app.mainFrame()->activeView()->document(); }
    Film& film() { return *document().film(); }
    Palette& palette() { return *film().palette(); }
};

// Everything the views of a document are told.
struct HintLog : DocumentObserver {
    CCelvaneDoc& document;
    std::vector<uint32_t> hints;
    explicit HintLog(CCelvaneDoc& d) : document(d) { document.addView(this); }
    ~HintLog() override { document.removeView(this); }
    void onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*) override { hints.push_back(hint); }
};

void pressAt(CColourPalette& bar, int x, int y, Qt::MouseButton button)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x + 0.5, y + 0.5), bar.surface()->mapToGlobal(QPointF(x, y)),
                      button, button, Qt::NoModifier);
    QApplication::sendEvent(bar.surface(), &press);
}

void clickCell(CColourPalette& bar, int index, Qt::MouseButton button)
{
    const Rect r = bar.layout().cellRect(index);
    pressAt(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2, button);
}

QSpinBox& spin(ColourEditor& editor, const char* name) { return *editor.findChild<QSpinBox*>(name); }
QPushButton& button(ColourEditor& editor, const char* name) { return *editor.findChild<QPushButton*>(name); }
} // namespace

TEST(PaletteBar, ShownAtFirstAlongTheBottomWithCellsLargeEnoughToHit)
{
    Program p(8);
    CMainFrame& frame = *p.app.mainFrame();
    CColourPalette& bar = p.bar();
    QApplication::processEvents();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_TRUE(frame.commandState(ID_VIEW_PALETTE).checked);
    EXPECT_EQ(frame.toolBarArea(&bar), Qt::BottomToolBarArea);
    EXPECT_TRUE(bar.layout().alternate());
    EXPECT_EQ(bar.document(), &p.document());
    EXPECT_EQ(bar.layout().cellCount(), 256);

    // The 256 cells grow square with the window, within reach of its edge.
    const auto cellSide = [&] { return bar.layout().cellRect(0).width(); };
    frame.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(cellSide(), 12);
    EXPECT_EQ(bar.layout().cellRect(0).height(), 12);
    EXPECT_LE(bar.surface()->width(), frame.width());
    // A narrower window is not held open by the bar; its cells shrink to the smallest bar's.
    frame.resize(200, 500);
    QApplication::processEvents();
    EXPECT_LT(frame.width(), 400);
    EXPECT_LT(cellSide(), 12);
    EXPECT_GE(cellSide(), 6);
    EXPECT_LE(bar.surface()->width(), frame.width());

    EXPECT_TRUE(frame.runCommand(ID_VIEW_PALETTE));
    EXPECT_TRUE(bar.isHidden());
    EXPECT_FALSE(frame.commandState(ID_VIEW_PALETTE).checked);
    EXPECT_TRUE(frame.runCommand(ID_VIEW_PALETTE));
    EXPECT_TRUE(frame.commandState(ID_VIEW_PALETTE).checked);

    bar.setOrientation(Qt::Vertical);
    EXPECT_FALSE(bar.layout().alternate());
    EXPECT_LT(bar.layout().width(), bar.layout().height());
    EXPECT_FALSE(bar.surface()->grab().isNull());

    // A new film replaces the old one; the bar lets go of the closed document.
    frame.runCommand(ID_FILE_NEW);
    EXPECT_EQ(bar.document(), &p.document());
    EXPECT_EQ(std::count(p.document().views().begin(), p.document().views().end(), &bar), 1);
}

TEST(PaletteBar, ClicksSetPencilAndPaperAndTellTheViews)
{
    Program p(8);
    CColourPalette& bar = p.bar();
    HintLog log(p.document());
    p.film().setModified(false);

    // Left button: the pencil (ink), hint 10.
    clickCell(bar, 37, Qt::LeftButton);
    EXPECT_EQ(p.film().ink(), rgbToColourWord(p.palette().colourOfIndex(37) & 0xFFFFFF, 37));
    EXPECT_EQ(log.hints, std::vector<uint32_t>{10});
    EXPECT_TRUE(p.film().isModified());
    // The same cell again changes nothing and tells nobody.
    clickCell(bar, 37, Qt::LeftButton);
    EXPECT_EQ(log.hints.size(), 1u);

    // Right button: the paper, hint 18; the pencil stays.
    clickCell(bar, 200, Qt::RightButton);
    EXPECT_EQ(indexOfWord(p.film().paper()), 200);
    EXPECT_EQ(indexOfWord(p.film().ink()), 37);
    EXPECT_EQ(log.hints, (std::vector<uint32_t>{10, 18}));

    // Outside the cells nothing happens.
    pressAt(bar, 0, 0, Qt::LeftButton);
    EXPECT_EQ(log.hints.size(), 2u);
    EXPECT_EQ(bar.editor(), nullptr);
}

TEST(PaletteBar, CellsOfAPaletteShorterThanTheGridAreNotColours)
{
    Program p(8);
    CColourPalette& bar = p.bar();
    p.palette().setCount(100);
    HintLog log(p.document());
    EXPECT_FALSE(bar.chooseCell(150, PaintingColour::Pencil));
    clickCell(bar, 150, Qt::LeftButton);
    EXPECT_LT(indexOfWord(p.film().ink()), 100);
    EXPECT_TRUE(log.hints.empty());
    EXPECT_FALSE(bar.surface()->grab().isNull());
}

TEST(PaletteBar, EditorChangesThePaletteEntryUnderThePencil)
{
    Program p(8);
    CColourPalette& bar = p.bar();
    bar.chooseCell(40, PaintingColour::Pencil);
    bar.chooseCell(50, PaintingColour::Paper);
    HintLog log(p.document());
    p.film().setModified(false);

    // The front square of the well opens the editor on the pencil.
    const Rect well = bar.layout().wellRect();
    pressAt(bar, well.left + 2, well.top + 2, Qt::LeftButton);
    ASSERT_NE(bar.editor(), nullptr);
    ColourEditor& editor = *bar.editor();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.editing(), PaintingColour::Pencil);

    const uint32_t stamp = p.palette().changeStamp();
    spin(editor, "red").setValue(255);
    spin(editor, "green").setValue(0);
    spin(editor, "blue").setValue(0);
    EXPECT_EQ(p.palette().colourOfIndex(40) & 0xFFFFFF, rgb(255, 0, 0));
    EXPECT_NE(p.palette().changeStamp(), stamp);
    EXPECT_EQ(p.film().ink(), rgbToColourWord(rgb(255, 0, 0), 40));
    EXPECT_TRUE(p.film().isModified());
    ASSERT_FALSE(log.hints.empty());
    EXPECT_EQ(log.hints.back(), uint32_t(Hint::RepaintAll));
    // Hue, saturation and luminosity keep in step, and drive red, green and blue.
    EXPECT_EQ(spin(editor, "hue").value(), 0);
    EXPECT_EQ(spin(editor, "saturation").value(), 255);
    EXPECT_EQ(spin(editor, "luminosity").value(), QColor(255, 0, 0).lightness());
    spin(editor, "hue").setValue(120);
    const QColor green = QColor::fromHsl(120, 255, spin(editor, "luminosity").value());
    EXPECT_EQ(p.palette().colourOfIndex(40) & 0xFFFFFF, rgb(green.red(), green.green(), green.blue()));
    EXPECT_EQ(spin(editor, "green").value(), green.green());
    EXPECT_EQ(spin(editor, "red").value(), green.red());
    EXPECT_EQ(spin(editor, "hue").value(), 120);

    // The back square edits the paper; a cell's entry changes only that entry.
    pressAt(bar, well.right - 2, well.bottom - 2, Qt::LeftButton);
    EXPECT_EQ(editor.editing(), PaintingColour::Paper);
    EXPECT_EQ(spin(editor, "red").value(), redOf(p.palette().colourOfIndex(50)));
    spin(editor, "red").setValue(0);
    spin(editor, "green").setValue(0);
    spin(editor, "blue").setValue(250);
    EXPECT_EQ(p.palette().colourOfIndex(50) & 0xFFFFFF, rgb(0, 0, 250));
    EXPECT_EQ(p.palette().colourOfIndex(40) & 0xFFFFFF, rgb(green.red(), green.green(), green.blue()));

    // Make range grades 40 ... 50 between the two.
    const uint32_t before39 = p.palette().colourOfIndex(39);
    button(editor, "makeRange").click();
    const auto step = [](int first, int last, int k) { return first + k * (last - first) / 10; };
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(p.palette().colourOfIndex(40 + k) & 0xFFFFFF,
                  rgb(step(green.red(), 0, k), step(green.green(), 0, k), step(green.blue(), 250, k)))
            << k;
    EXPECT_EQ(p.palette().colourOfIndex(39), before39);

    // Default puts the paper's entry back.
    PaletteRef defaults = PaletteRef::make();
    defaults->setDefault(8);
    button(editor, "default").click();
    EXPECT_EQ(p.palette().colourOfIndex(50), defaults->colourOfIndex(50));
    EXPECT_EQ(rgbOfWord(p.film().paper()), defaults->colourOfIndex(50) & 0xFFFFFF);

    // A change made elsewhere shows in the editor.
    bar.chooseCell(60, PaintingColour::Paper);
    EXPECT_EQ(spin(editor, "blue").value(), blueOf(p.palette().colourOfIndex(60)));

    button(editor, "disable").click();
    EXPECT_FALSE(editor.isVisible());
}

TEST(PaletteBar, DeepFilmsTakeTheColourItself)
{
    Program p(32);
    CColourPalette& bar = p.bar();
    EXPECT_EQ(bar.layout().cellCount(), 256);
    HintLog log(p.document());
    const uint32_t cellColour = p.palette().colourOfIndex(37) & 0xFFFFFF;
    clickCell(bar, 37, Qt::LeftButton);
    EXPECT_EQ(p.film().ink(), rgbToColourWord(cellColour));
    EXPECT_EQ(log.hints, std::vector<uint32_t>{10});

    bar.openEditor(PaintingColour::Pencil);
    ColourEditor& editor = *bar.editor();
    EXPECT_FALSE(button(editor, "makeRange").isEnabled());
    const uint32_t stamp = p.palette().changeStamp();
    spin(editor, "red").setValue(1);
    spin(editor, "green").setValue(2);
    spin(editor, "blue").setValue(3);
    EXPECT_EQ(p.film().ink(), rgbToColourWord(rgb(1, 2, 3)));
    EXPECT_EQ(p.palette().changeStamp(), stamp);
    EXPECT_EQ(p.palette().colourOfIndex(37) & 0xFFFFFF, cellColour);
    button(editor, "default").click();
    EXPECT_EQ(p.film().ink(), rgbToColourWord(0));
}
