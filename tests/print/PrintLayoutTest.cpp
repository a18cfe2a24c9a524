// The layout of frames on paper: the best arrangement in both modes, the dialog's stepping, and
// what each page holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "print/PagePlan.h"
#include "print/PrintLayout.h"

using namespace celvane;

namespace {

constexpr int kA4Width = 2100, kA4Height = 2970;

PrintLayout layoutFor(int pixelWidth, int pixelHeight, int frames, bool landscape = false)
{
    PrintLayout layout;
    layout.setFrames(pixelWidth, pixelHeight, frames);
    layout.setPaper(landscape ? kA4Height : kA4Width, landscape ? kA4Width : kA4Height, landscape);
    return layout;
}

// The largest whole percentage at which an upright grid on the page holds at least `target`
// cells, found by trying every percentage. The layout only tries the scales at which a whole
// number of frames fills one side exactly, so it may fall a little short of this, never above.
int largestPercentHolding(const PrintLayout& layout, int pageWidth, int pageHeight, int target)
{
    const int width = pageWidth - 2 * PrintLayout::kMargin, height = pageHeight - 2 * PrintLayout::kMargin;
    const int cw = layout.cellWidth(), ch = layout.cellHeight();
    for (int percent = 100000; percent >= 1; --percent) {
        const int byWidth = (width * 100 / (cw * percent)) * (height / std::max(1, ch * percent / 100));
        const int byHeight = (height * 100 / (ch * percent)) * (width / std::max(1, cw * percent / 100));
        if (std::max(byWidth, byHeight) >= target)
            return percent;
    }
    return 1;
}

std::vector<int> allFrames(int count)
{
    std::vector<int> frames(size_t(count), 0);
    std::iota(frames.begin(), frames.end(), 0);
    return frames;
}

} // namespace

TEST(PrintLayout, FramesPerPageFindsTheLargestScaleHoldingThatManyAndCentresTheGrid)
{
    for (const auto& [w, h] : {std::pair{320, 200}, {64, 48}, {200, 320}, {1920, 1080}}) {
        for (int target = 1; target <= 40; target += 3) {
            PrintLayout layout = layoutFor(w, h, 100);
            layout.layOut(target);
            SCOPED_TRACE(testing::Message() << w << "x" << h << " target " << target);
            const int best = largestPercentHolding(layout, kA4Width, kA4Height, target);
            EXPECT_LE(layout.scalePercent(), best);
            EXPECT_GE(layout.scalePercent(), best * 95 / 100);
            EXPECT_GE(layout.framesPerPage(), target);
            EXPECT_EQ(layout.framesPerPage(), layout.rows() * layout.columns());
            EXPECT_EQ(layout.pageCount(), (100 + layout.framesPerPage() - 1) / layout.framesPerPage());
            EXPECT_FALSE(layout.has(PrintLayout::Turned));
            // Centred, and the grid fits inside the page.
            const int used = layout.columns() * (layout.cellWidth() * layout.scalePercent() / 100);
            EXPECT_EQ(layout.left(), (kA4Width - used) / 2);
            EXPECT_EQ(layout.left(), layout.right());
            EXPECT_GE(layout.top(), 0);
        }
    }
}

TEST(PrintLayout, ScaleModePlacesAsManyAsFitAndShrinksFramesLargerThanThePaper)
{
    PrintLayout layout = layoutFor(320, 200, 10);
    layout.layOut(std::nullopt, false, 1.0);
    EXPECT_FALSE(layout.has(PrintLayout::FramesPerPageMode));
    // 320 x 200 pixels are 903 x 564 tenths; with their gaps 993 x 620.
    EXPECT_EQ(layout.cellWidth(), 993);
    EXPECT_EQ(layout.cellHeight(), 620);
    EXPECT_EQ(layout.columns(), 1);
    EXPECT_EQ(layout.rows(), 4);
    EXPECT_EQ(layout.pageCount(), 3);
    EXPECT_EQ(layout.left(), (kA4Width - 993) / 2);
    EXPECT_EQ(layout.top(), (kA4Height - 4 * 620) / 2);

    // 1600 % of a large frame: one frame a page, at the largest scale that fits, never below 1 %.
    layout = layoutFor(1998, 1998, 3);
    layout.changeScalePercent(1600);
    EXPECT_EQ(layout.framesPerPage(), 1);
    EXPECT_EQ(layout.scalePercent(), (kA4Width - 300) * 100 / layout.cellWidth());
    EXPECT_GE(layout.scalePercent(), 1);
    EXPECT_LE(layout.columns() * layout.cellWidth() * layout.scalePercent() / 100, kA4Width - 300);
}

TEST(PrintLayout, SteppingFramesPerPage)
{
    PrintLayout layout = layoutFor(320, 200, 50);
    layout.changeFramesPerPage(-1, 6);
    const int sixScale = layout.scalePercent(), six = layout.framesPerPage();
    ASSERT_GE(six, 6);
    EXPECT_EQ(layout.requestedFramesPerPage(), six);

    // Down by one: a strictly larger scale with fewer frames.
    layout.changeFramesPerPage(six, six - 1);
    EXPECT_GT(layout.scalePercent(), sixScale);
    EXPECT_LT(layout.framesPerPage(), six);

    // Up again: the largest scale giving at least that many.
    const int fewer = layout.framesPerPage();
    layout.changeFramesPerPage(fewer, fewer + 1);
    EXPECT_GE(layout.framesPerPage(), fewer + 1);
    EXPECT_LE(layout.scalePercent(), largestPercentHolding(layout, kA4Width, kA4Height, fewer + 1));
}

TEST(PrintLayout, CropMarksFlickBooksLandscapeAndNoFit)
{
    PrintLayout layout = layoutFor(320, 200, 8);
    layout.layOut(8);
    layout.setCropMarks(true);
    EXPECT_EQ(layout.cellWidth(), layout.frameWidth());
    EXPECT_EQ(layout.cellHeight(), layout.frameHeight());
    layout.setFlickBook(true);
    EXPECT_EQ(layout.cellWidth(), layout.frameWidth() + layout.frameWidth() / 10);
    EXPECT_EQ(layout.cellHeight(), layout.frameHeight());

    // A landscape printer: the page is used turned.
    layout = layoutFor(320, 200, 8, true);
    layout.layOut(4);
    EXPECT_TRUE(layout.has(PrintLayout::Turned));
    EXPECT_EQ(layout.pageWidth(), kA4Height);
    EXPECT_EQ(layout.pageHeight(), kA4Width);
    EXPECT_LE(layout.scalePercent(), largestPercentHolding(layout, kA4Height, kA4Width, 4));
    EXPECT_GE(layout.framesPerPage(), 4);

    // Paper smaller than its margins holds nothing.
    PrintLayout tiny;
    tiny.setFrames(320, 200, 5);
    tiny.setPaper(250, 250, false);
    tiny.layOut(1);
    EXPECT_EQ(tiny.pageCount(), -1);
    EXPECT_TRUE(planPage(tiny, 1, allFrames(5)).pictures.empty());
}

TEST(PrintLayout, ChoicesCarryOverToTheNextPrintOfTheFilm)
{
    auto reprint = [](const PrintLayout& stored, int frames) {
        PrintLayout next;
        next.setFrames(320, 200, frames);
        next.restoreChoices(stored);
        next.setPaper(kA4Width, kA4Height, false);
        next.layOut();
        return next;
    };
    PrintLayout six = layoutFor(320, 200, 10);
    six.changeFramesPerPage(-1, 6);
    EXPECT_EQ(reprint(six, 12).framesPerPage(), six.framesPerPage());
    EXPECT_EQ(reprint(six, 12).scalePercent(), six.scalePercent());

    // Every frame on one page stays every frame on one page when the film has grown.
    PrintLayout all = layoutFor(320, 200, 10);
    all.changeFramesPerPage(-1, 10);
    ASSERT_EQ(all.requestedFramesPerPage(), 10);
    EXPECT_EQ(reprint(all, 12).pageCount(), 1);
}

TEST(PagePlan, MarkedFramesInOrderAcrossPages)
{
    PrintLayout layout = layoutFor(320, 200, 3);
    layout.layOut(6);
    const PagePlan plan = planPage(layout, 1, {1, 4, 7});
    ASSERT_EQ(plan.pictures.size(), 3u);
    EXPECT_EQ(plan.pictures[0].frame, 1);
    EXPECT_EQ(plan.pictures[1].frame, 4);
    EXPECT_EQ(plan.pictures[2].frame, 7);
    // Left to right, then down; each picture inside the page and bordered.
    EXPECT_LT(plan.pictures[0].place.left, plan.pictures[1].place.left);
    EXPECT_EQ(plan.borders.size(), 3u);
    EXPECT_TRUE(plan.lines.empty());

    PrintLayout two = layoutFor(320, 200, 7);
    two.layOut(4);
    ASSERT_EQ(two.framesPerPage(), 4);
    EXPECT_EQ(planPage(two, 2, allFrames(7)).pictures.size(), 3u);
    EXPECT_EQ(planPage(two, 2, allFrames(7)).pictures.front().frame, 4);
    EXPECT_TRUE(planPage(two, 3, allFrames(7)).pictures.empty());
}

TEST(PagePlan, FlickBookCrossesSitInTheStripAtThirdsOfThePicture)
{
    PrintLayout layout = layoutFor(320, 200, 2);
    layout.setFlickBook(true);
    layout.layOut(2);
    const PagePlan plan = planPage(layout, 1, allFrames(2));
    ASSERT_EQ(plan.pictures.size(), 2u);
    ASSERT_EQ(plan.lines.size(), 8u); // two crosses of two lines a frame
    const Rect picture = plan.pictures[0].place;
    const PageLine across = plan.lines[0];
    EXPECT_EQ(across.y1, (2 * picture.top + picture.bottom) / 3);
    EXPECT_EQ(plan.lines[2].y1, (picture.top + 2 * picture.bottom) / 3);
    EXPECT_LT(across.x2, picture.left);
    EXPECT_GT(across.x1, picture.left - picture.width() / 10 - 1);
    // Border about strip and picture, and about the picture.
    EXPECT_EQ(plan.borders.size(), 4u);
    // Each frame's number in its strip under the lower cross, and the page's at its foot.
    ASSERT_EQ(plan.texts.size(), 3u);
    EXPECT_EQ(plan.texts[1].text, "2");
    EXPECT_EQ(plan.texts[1].box.right, plan.pictures[1].place.left);
    EXPECT_GT(plan.texts[1].box.top, plan.lines[6].y1);
    EXPECT_EQ(plan.texts[2].text, "Page 1 of 1");
    EXPECT_GT(plan.texts[2].box.top, layout.pageHeight() - layout.bottom() + 25);
    EXPECT_LT(plan.texts[2].box.bottom, layout.pageHeight());

    // Small frames: the strip stays 10 mm wide to bind, and the picture gives way in its shape.
    layout = layoutFor(320, 200, 40);
    layout.setFlickBook(true);
    layout.layOut(40);
    const int cellWidth = (layout.pageWidth() - layout.left() - layout.right()) / layout.columns();
    ASSERT_LT(cellWidth / 10, 100); // the tenth of the cell a strip had been
    for (const PagePicture& small : planPage(layout, 1, allFrames(40)).pictures) {
        EXPECT_GE(cellWidth - small.place.width(), 100);
        EXPECT_NEAR(double(small.place.width()) / small.place.height(), 1.6, 0.02);
    }
}

TEST(PagePlan, CropMarksReplaceBordersAndStayOutsideTheGrid)
{
    PrintLayout layout = layoutFor(320, 200, 4);
    layout.setCropMarks(true);
    layout.layOut(4);
    const PagePlan plan = planPage(layout, 1, allFrames(4));
    EXPECT_TRUE(plan.borders.empty());
    ASSERT_FALSE(plan.lines.empty());
    const int gridLeft = layout.left(), gridTop = layout.top();
    const int gridRight = layout.pageWidth() - layout.right(), gridBottom = layout.pageHeight() - layout.bottom();
    for (const PageLine& line : plan.lines) {
        const bool outside = std::max(line.x1, line.x2) <= gridLeft - 5 || std::min(line.x1, line.x2) >= gridRight + 5
                          || std::max(line.y1, line.y2) <= gridTop - 5 || std::min(line.y1, line.y2) >= gridBottom + 5;
        EXPECT_TRUE(outside);
        EXPECT_EQ(std::abs(line.x2 - line.x1) + std::abs(line.y2 - line.y1), 20);
    }
    // Rows' ends: two marks at each cell's top and bottom; columns: two at each edge.
    EXPECT_EQ(plan.lines.size(), size_t(layout.rows() * 4 + layout.columns() * 4));

    // A last page holding one frame of four: marks about that frame's cell alone.
    ASSERT_EQ(layout.framesPerPage(), 4);
    const PagePlan last = planPage(layout, 2, allFrames(5));
    ASSERT_EQ(last.pictures.size(), 1u);
    const Rect cell = last.pictures[0].place;
    EXPECT_EQ(last.lines.size(), 8u);
    for (const PageLine& line : last.lines) {
        const bool nearCell = std::min(line.x1, line.x2) >= cell.left - 25 && std::max(line.x1, line.x2) <= cell.right + 25
                           && std::min(line.y1, line.y2) >= cell.top - 25 && std::max(line.y1, line.y2) <= cell.bottom + 25;
        EXPECT_TRUE(nearCell) << line.x1 << "," << line.y1 << " " << line.x2 << "," << line.y2;
    }
}
