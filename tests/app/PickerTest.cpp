// The picker window's grid, mouse and folder links, driven with a picker of plain items.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QScreen>
#include <QTest>
#include <set>

#include "QtTestSupport.h"
#include "app/CColourPalette.h"
#include "app/CMainFrame.h"
#include "app/CStampPicker.h"
#include "app/CTools.h"
#include "app/sound/CSoundPicker.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "playback/CPlayTool.h"
#include "view/CCelvaneView.h"
#include "app/picker/CPickerWindow.h"
#include "app/picker/PickerFolders.h"
#include "app/picker/PickerGrid.h"
#include "app/picker/PickerItems.h"
#include "app/picker/PickerMouse.h"
#include "film/FileType.h"
#include "stamps/StampSet.h"

namespace celvane {
namespace {

struct PlainItems : PickerItems {
    int count = 0;
    std::set<int> selected;
    std::set<std::string> folders; // the folders that have items
    std::vector<std::string> opened;

    int itemCount() const override { return count; }
    PickerLook describe(int i) const override { return {40, 40, "x", selected.count(i) > 0, true}; }
    void paintIcon(int, QPainter&, const QRect&) override {}
    void select(PickerSelect op, int i) override
    {
        switch (op) {
        case PickerSelect::Select: selected.insert(i); break;
        case PickerSelect::Deselect: selected.erase(i); break;
        case PickerSelect::Toggle:
            if (!selected.erase(i))
                selected.insert(i);
            break;
        case PickerSelect::All:
            for (int k = 0; k < count; ++k)
                selected.insert(k);
            break;
        case PickerSelect::None: selected.clear(); break;
        }
    }
    bool picked(int, bool) override { return true; }
    QMimeData* dragData() override { return nullptr; }
    void dropFiles(const std::vector<std::string>& paths) override
    {
        dropped = paths;
        count += int(paths.size());
    }
    std::vector<std::string> dropped;
    bool openFolder(const std::string& folder) override
    {
        opened.push_back(folder);
        return folders.count(folder) > 0;
    }
};

std::vector<PickerEntrySize> entries(int n) { return std::vector<PickerEntrySize>(size_t(n), {40, 40, 20, 12, true}); }

TEST(PickerGrid, ColumnsFollowTheWidthWithinOneAndTheEntryCount)
{
    PickerGrid grid;
    // A cell of 40 x 54 takes 48 with its gap.
    grid.layout(entries(7), 3 * 48 + 10, 100);
    EXPECT_EQ(grid.columns(), 3);
    EXPECT_EQ(grid.rows(), 3);
    grid.layout(entries(7), 10 * 48, 100);
    EXPECT_EQ(grid.columns(), 7);
    EXPECT_EQ(grid.rows(), 1);
    grid.layout(entries(7), 20, 100);
    EXPECT_EQ(grid.columns(), 1);
    EXPECT_EQ(grid.rows(), 7);
    EXPECT_EQ(grid.contentHeight(), 7 * (54 + 8));
}

TEST(PickerGrid, ScrollingStaysInRangeAndMovesTheCells)
{
    PickerGrid grid;
    grid.layout(entries(7), 20, 100);
    EXPECT_EQ(grid.scrollMax(), 7 * 62 - 100);
    EXPECT_EQ(grid.scrollTo(1000), grid.scrollMax());
    EXPECT_EQ(grid.scroll(), grid.scrollMax());
    EXPECT_EQ(grid.cell(0).top, 8 - grid.scrollMax());
    EXPECT_EQ(grid.scrollTo(-5), -grid.scrollMax());
    // A taller window needs no scrolling: the position comes back into range.
    grid.scrollTo(50);
    grid.layout(entries(7), 20, 1000);
    EXPECT_EQ(grid.scroll(), 0);
}

TEST(PickerGrid, ItemsLieInTheirCellsAndOnlyIconOrNameIsHit)
{
    PickerGrid grid;
    std::vector<PickerEntrySize> sizes = {{16, 16, 30, 12, false}, {40, 40, 60, 12, true}};
    grid.layout(sizes, 1000, 200);
    EXPECT_EQ(grid.cellWidth(), 60);
    EXPECT_EQ(grid.cellHeight(), 54);
    // Large: the name at the cell's bottom, centred; the icon 2 above it, centred.
    const Rect c = grid.cell(1);
    const PickerEntryRects large = grid.rects(1);
    EXPECT_EQ(large.name, (Rect{c.left, c.bottom - 12, c.left + 60, c.bottom}));
    EXPECT_EQ(large.icon, (Rect{c.left + 10, c.bottom - 54, c.left + 50, c.bottom - 14}));
    // Small: the icon at the left, the name 2 to its right, both centred in the taller.
    const PickerEntryRects small = grid.rects(0);
    EXPECT_EQ(small.icon, (Rect{8, 8, 24, 24}));
    EXPECT_EQ(small.name, (Rect{26, 10, 56, 22}));
    EXPECT_EQ(grid.hit(large.icon.left + 1, large.icon.top + 1), 1);
    EXPECT_EQ(grid.hit(c.left + 1, c.top + 1), -1); // beside the icon, in the cell
    EXPECT_EQ(grid.hit(30, 15), 0);
    EXPECT_EQ(grid.hit(900, 15), -1); // past the last entry
}

struct MouseFixture : ::testing::Test {
    PlainItems items;
    PickerGrid grid;
    PickerMouse mouse{grid, items, 2};
    MouseFixture()
    {
        items.count = 6;
        // Three columns of cells 40 x 54 at x = 8, 56, 104 and y = 8, 70.
        grid.layout(entries(6), 3 * 48 + 10, 500);
    }
    Point centre(int k) const
    {
        const Rect r = grid.rects(k).icon;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

TEST_F(MouseFixture, ClicksSelectCtrlTogglesShiftExtends)
{
    EXPECT_EQ(mouse.press(centre(1), false, false, false, 0).what, PickerMouse::Press::Item);
    mouse.release();
    EXPECT_EQ(items.selected, (std::set<int>{1}));
    mouse.press(centre(3), false, true, false, 0);
    mouse.release();
    EXPECT_EQ(items.selected, (std::set<int>{1, 3}));
    mouse.press(centre(1), false, true, false, 0);
    mouse.release();
    EXPECT_EQ(items.selected, (std::set<int>{3}));
    // Shift: every cell in the rectangle from the last click (item 1, top middle) to item 5
    // (bottom right) joins the selection.
    mouse.press(centre(5), true, false, false, 0);
    mouse.release();
    EXPECT_EQ(items.selected, (std::set<int>{1, 2, 3, 4, 5}));
    // A plain click on a selected item keeps the selection, so that it can be dragged.
    mouse.press(centre(4), false, false, false, 0);
    EXPECT_EQ(items.selected.size(), 5u);
    mouse.release();
    mouse.press(Point{300, 300}, false, false, false, 0);
    mouse.release();
    EXPECT_TRUE(items.selected.empty());
}

TEST_F(MouseFixture, BandsSelectWhatTheyMeetAndCtrlBandsToggle)
{
    // A band over the first row, then back over the first cell only.
    mouse.press(Point{4, 4}, false, false, false, 0);
    mouse.move(Point{150, 20});
    EXPECT_EQ(items.selected, (std::set<int>{0, 1, 2}));
    mouse.move(Point{20, 20});
    EXPECT_EQ(items.selected, (std::set<int>{0}));
    ASSERT_TRUE(mouse.band());
    mouse.release();
    EXPECT_FALSE(mouse.band());
    items.selected = {0, 1, 4};
    mouse.press(Point{4, 4}, false, true, false, 0);
    mouse.move(Point{150, 20});
    mouse.release();
    EXPECT_EQ(items.selected, (std::set<int>{2, 4}));
}

TEST_F(MouseFixture, LinksComeFirstAndDragsStartPastTheDistance)
{
    const auto link = mouse.press(centre(1), false, false, false, 2);
    EXPECT_EQ(link.what, PickerMouse::Press::Link);
    EXPECT_EQ(link.index, 1);
    EXPECT_TRUE(items.selected.empty());
    const auto item = mouse.press(centre(2), false, false, false, 2);
    EXPECT_EQ(item.index, 0);
    EXPECT_TRUE(item.closesPicker);
    EXPECT_EQ(mouse.move({centre(2).x + 1, centre(2).y + 1}), PickerMouse::Moved::Nothing);
    EXPECT_EQ(mouse.move({centre(2).x + 2, centre(2).y + 1}), PickerMouse::Moved::StartDrag);
    EXPECT_EQ(mouse.move({centre(2).x + 20, centre(2).y + 1}), PickerMouse::Moved::Nothing);
}

TEST(PickerLinks, LinesGiveTargetsAndNames)
{
    EXPECT_TRUE(parseLinks("# only comments\n   # and an indented one\n\n").empty());
    const auto links = parseLinks("  Animals   Farm animals\r\n/abs/path\nC:\\Stamps\\Old Old ones\nsub\\deeper\n");
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0], (PickerLink{PickerLink::Relative, "Farm animals", "Animals"}));
    EXPECT_EQ(links[1], (PickerLink{PickerLink::Absolute, "/abs/path", "/abs/path"}));
    EXPECT_EQ(links[2], (PickerLink{PickerLink::Absolute, "Old ones", "C:/Stamps/Old"}));
    EXPECT_EQ(links[3], (PickerLink{PickerLink::Relative, "sub/deeper", "sub/deeper"}));
}

TEST(PickerFolders, LinksLeadInAndBackComesOut)
{
    test::TempDir dir;
    const std::string top = dir.path().string();
    std::filesystem::create_directory(dir.path() / "Animals");
    test::writeText(dir.file("links"), "Animals Farm\nMissing Gone\n");
    PlainItems items;
    items.folders = {top, top + "/Animals"};
    PickerFolders folders(items);
    ASSERT_TRUE(folders.start(top));
    ASSERT_EQ(folders.links().size(), 2u);
    EXPECT_FALSE(folders.follow(1)); // a folder with no items: the picker stays
    EXPECT_EQ(folders.folder(), top);
    ASSERT_TRUE(folders.follow(0));
    EXPECT_EQ(folders.folder(), top + "/Animals");
    ASSERT_EQ(folders.links().size(), 1u);
    EXPECT_EQ(folders.links()[0].kind, PickerLink::Back);
    ASSERT_TRUE(folders.follow(0));
    EXPECT_EQ(folders.folder(), top);
    EXPECT_EQ(folders.links().size(), 2u);
    EXPECT_EQ(items.opened, (std::vector<std::string>{top, top + "/Missing", top + "/Animals", top}));
}

TEST(PickerWindow, ClickingPicksAndFollowsLinksAndDroppedFilesJoin)
{
    test::ensureApplication();
    test::TempDir dir;
    const std::string top = dir.path().string();
    test::writeText(dir.file("links"), "Animals Farm\n");
    PlainItems items;
    items.count = 4;
    items.folders = {top, top + "/Animals"};
    CPickerWindow window(items, "Plain", QSize(300, 200));
    ASSERT_TRUE(window.start(top));
    window.showPicker();
    ASSERT_TRUE(window.isVisible());
    const PickerGrid& grid = window.grid();
    ASSERT_EQ(grid.entryCount(), 5);
    const auto centre = [&](int k) {
        const Rect r = grid.rects(k).icon;
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    // Picking an item selects it and sends the picker away.
    QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, centre(3));
    EXPECT_EQ(items.selected, (std::set<int>{2}));
    EXPECT_FALSE(window.isVisible());

    window.showPicker();
    test::dropFiles(*window.entriesWidget(), {QString::fromStdString(dir.file("a.stp")),
                                              QString::fromStdString(dir.file("b.bmp"))});
    EXPECT_EQ(items.dropped, (std::vector<std::string>{dir.file("a.stp"), dir.file("b.bmp")}));
    EXPECT_EQ(window.grid().entryCount(), 7);

    QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, centre(0));
    EXPECT_EQ(window.folders().folder(), top + "/Animals");
    EXPECT_EQ(window.folders().links().size(), 1u); // Back
    EXPECT_TRUE(window.isVisible());
}

TEST(PickerWindow, TheFolderIconsFileGivesLinksTheirPicturesAndABadOneWarnsOnce)
{
    test::ensureApplication();
    test::TempDir dir;
    const std::string top = dir.path().string();
    test::writeText(dir.file("links"), "Animals Farm\nPeople\nPlaces Far away\n");
    // Named as a link's folder (in any case) or as its shown name; People has none.
    StampSet icons;
    icons.add(FileType::StampFile, test::blockStampFile(8, 8, 0x0000FF, "ANIMALS"));
    icons.add(FileType::StampFile, test::blockStampFile(8, 8, 0xFF0000, "Far away"));
    Bytes file;
    ByteWriter out(&file);
    icons.save(&out, false);
    test::writeBytes(dir.file("icons.stp"), file);
    PlainItems items;
    items.folders = {top};
    test::RecordingSink sink;
    CPickerWindow window(items, "Plain", QSize(300, 200));
    ASSERT_TRUE(window.start(top));
    const auto& links = window.folders().links();
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].icon, 0);
    EXPECT_EQ(links[1].icon, -1);
    EXPECT_EQ(links[2].icon, 1);
    window.showPicker();
    const QImage shown = window.entriesWidget()->grab().toImage();
    const auto colourAt = [&](int k) {
        const Rect r = window.grid().rects(k).icon;
        return shown.pixelColor((r.left + r.right) / 2, (r.top + r.bottom) / 2).rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(colourAt(0), 0xFF0000u);
    EXPECT_EQ(colourAt(2), 0x0000FFu);
    EXPECT_NE(colourAt(1), colourAt(0)); // the drawn folder
    EXPECT_TRUE(sink.shown.empty());

    // A file that is no picture: one warning, and the links keep their drawn folders.
    std::filesystem::remove(dir.file("icons.stp"));
    test::writeText(dir.file("icons"), "not a picture at all");
    ASSERT_TRUE(window.start(top));
    EXPECT_EQ(sink.shown.size(), 1u);
    for (const PickerLink& link : window.folders().links())
        EXPECT_EQ(link.icon, -1);
}

TEST(PickerFolders, ASpriteFileOfAnotherProgramServesAsTheIconsFile)
{
    const auto corpus = test::corpusDir("sprite") / "desklib" / "Tiles-Sprites.ff9";
    CELVANE_REQUIRE_CORPUS(corpus.parent_path());
    test::TempDir dir;
    std::filesystem::copy_file(corpus, dir.file("icons")); // no extension: found all the same
    test::writeText(dir.file("links"), "00 First\n01 Second\nother Third\n");
    PlainItems items;
    items.folders = {dir.path().string()};
    test::RecordingSink sink;
    PickerFolders folders(items);
    ASSERT_TRUE(folders.start(dir.path().string()));
    ASSERT_EQ(folders.links().size(), 3u);
    EXPECT_EQ(folders.links()[0].icon, 0);
    EXPECT_EQ(folders.links()[1].icon, 1);
    EXPECT_EQ(folders.links()[2].icon, -1);
    ASSERT_NE(folders.icons(), nullptr);
    EXPECT_NE(folders.icons()->image(1), nullptr);
    EXPECT_TRUE(sink.shown.empty());
}

} // namespace
} // namespace celvane

namespace celvane {
namespace {
QRect onScreen(const QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); }
long long area(const QRect& r) { return r.isEmpty() ? 0 : (long long)r.width() * r.height(); }
} // namespace

// Both pickers open at their stored width, as tall as what they hold (within the screen),
// beside the main window and off the bars and the film, and where the user last put them.
TEST(PickerWindow, PickersOpenAtTheirOwnSizeOutOfTheWayOrWhereTheyWereLeft)
{
    test::StartedProgram p({.filmWidth = 320, .filmHeight = 240, .window = {500, 520}, .settings = [](Settings& s) {
                                s.writeInt("Settings", "StampPickerWidth", 280);
                                s.writeInt("Settings", "StampPickerHeight", 120);
                                s.writeInt("Windows", "SoundPickerLeft", 30);
                                s.writeInt("Windows", "SoundPickerTop", 40);
                            }});
    CMainFrame& frame = p.frame();
    frame.move(0, 0);
    frame.show();
    QApplication::processEvents();
    const QRect screen = frame.screen()->availableGeometry();
    const CCelvaneView& view = p.view();
    const Rect f = view.layout().frameRect();
    const QRect film(view.viewport()->mapToGlobal(QPoint(f.left, f.top)), QSize(f.width(), f.height()));
    const std::vector<QRect> bars = {onScreen(*frame.findChild<CColourPalette*>()),
                                     onScreen(*frame.findChild<CPlayTool*>()), onScreen(*frame.toolbox())};

    frame.runCommand(ID_TOOL_STAMP);
    CPickerWindow& stamps = frame.stampPicker().window();
    ASSERT_TRUE(stamps.isVisible());
    test::waitUntil([] { return false; }, 50);
    const auto* entries = qobject_cast<const QAbstractScrollArea*>(stamps.entriesWidget()->parentWidget());
    ASSERT_TRUE(entries);
    const int content = stamps.grid().contentHeight();
    const int shown = entries->viewport()->height();
    EXPECT_EQ(stamps.width(), 280) << "the stored width";
    EXPECT_GT(content, 120) << "the shipped folders need more than the stored height";
    EXPECT_LE(shown, content) << "taller than what it holds";
    EXPECT_TRUE(shown == content || stamps.frameGeometry().bottom() == screen.bottom())
        << "not grown to fit: " << shown << " of " << content;
    EXPECT_LE(stamps.frameGeometry().bottom(), screen.bottom());
    for (const QRect& bar : bars)
        EXPECT_FALSE(stamps.frameGeometry().intersects(bar)) << "over a bar";
    EXPECT_LE(area(stamps.frameGeometry().intersected(film)), area(film) / 4) << "over the film";

    // The sound picker goes back where the user left it, as far as its height lets it.
    CPickerWindow& sounds = frame.soundPicker().window();
    sounds.showPicker();
    test::waitUntil([] { return false; }, 50);
    EXPECT_EQ(sounds.width(), 370);
    EXPECT_EQ(sounds.pos().x(), 30);
    EXPECT_LE(sounds.pos().y(), 40);
    EXPECT_LE(sounds.frameGeometry().bottom(), screen.bottom());
}

} // namespace celvane
