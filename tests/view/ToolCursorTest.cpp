#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "QtTestSupport.h"
#include "view/tools/ViewTools.h"

using namespace celvane;

TEST(ToolCursor, EveryPictureCursorTouchesWithAPaintedPixel)
{
    test::ensureApplication();
    for (const ToolCursor c :
         {ToolCursor::Pencil, ToolCursor::Eraser, ToolCursor::PaintCan, ToolCursor::Pipette, ToolCursor::Magnifier}) {
        const QCursor cursor = toolCursor(c);
        const QImage picture = cursor.pixmap().toImage();
        ASSERT_FALSE(picture.isNull()) << int(c);
        const QPoint hot = cursor.hotSpot();
        // The hot spot is on the picture, or a pixel from it (edges are soft).
        bool painted = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (picture.valid(hot.x() + dx, hot.y() + dy))
                    painted |= qAlpha(picture.pixel(hot.x() + dx, hot.y() + dy)) > 128;
        EXPECT_TRUE(painted) << "cursor " << int(c) << " at " << hot.x() << "," << hot.y();
    }
}
