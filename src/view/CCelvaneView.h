#pragma once
// The window that shows one film for editing: the current frame, zoomed and centred on a plain
// surround, with its grid. The arithmetic lives in ViewLayout and GridSettings; this class
// turns Qt events into calls on them and paints what they say.

#include <QAbstractScrollArea>
#include <functional>
#include <optional>

#include "base/Command.h"
#include "film/CelvaneDoc.h"
#include "view/GridSettings.h"
#include "view/ViewLayout.h"

namespace celvane {

class Film;

class CCelvaneView : public QAbstractScrollArea, public DocumentObserver, public CommandTarget {
    Q_OBJECT
public:
    explicit CCelvaneView(CCelvaneDoc& document, QWidget* parent = nullptr);
    ~CCelvaneView() override;

    CCelvaneDoc& document() const { return document_; }
    Film* film() const { return document_.film(); }

    int currentFrame() const { return currentFrame_; }
    // Makes a frame current (clamped to the film), telling every view.
    void goToFrame(int frame);

    const ViewLayout& layout() const { return layout_; }
    int scale() const { return layout_.scale(); }
    void setScale(int scale, std::optional<Point> centre = std::nullopt);
    void zoomIn();
    void zoomOut();
    // The client size that shows the whole frame at the current scale.
    QSize neededClientSize() const;

    GridSettings& grid() { return grid_; }
    // The current tool draws: the frame gets its border and shadow, and the grid shows.
    void setDrawingTool(bool on);
    bool drawingTool() const { return drawingTool_; }

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;
    bool onCommand(int id) override;
    bool onUpdate(int id, CommandState& state) override;

signals:
    void scaleChanged(int scale);
    void fitWindowRequested();
    void activated(CCelvaneView* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void syncFrameSize();
    void syncScrollBars();
    // The point to keep in place when zooming: under the mouse when it is over this view.
    std::optional<Point> zoomCentre() const;
    void repaintFrameRect(const Rect& frame);
    // Runs a change to the film's frames, reporting a failure, then tells every view.
    void changeFrames(uint32_t hint, const std::function<int()>& change);
    bool frameCommand(int id);
    bool frameCommandState(int id, CommandState& state);
    void copyFrames();
    void pasteFrames();

    CCelvaneDoc& document_;
    ViewLayout layout_;
    GridSettings grid_;
    int currentFrame_ = 0;
    bool drawingTool_ = true;
    bool syncingScroll_ = false;
};

} // namespace celvane
