#pragma once
// The window that shows one film for editing: the current frame, zoomed and centred on a plain
// surround, with its grid and a tool's rubber band. The arithmetic lives in ViewLayout,
// FrameCanvas, ZoomToggle and PointerWarp; this class turns Qt events into calls on them and
// paints what they say.

#include <QMimeData>
#include <QAbstractScrollArea>
#include <functional>
#include <optional>

#include "base/Command.h"
#include "film/CelvaneDoc.h"
#include "view/FadeStep.h"
#include "view/FrameCanvas.h"
#include "view/FramePainter.h"
#include "view/PointerWarp.h"
#include "view/PreviewMode.h"
#include "view/ToolSink.h"
#include "view/ViewLayout.h"
#include "view/ZoomToggle.h"

namespace celvane {

class Film;
class Sprite;

class CCelvaneView : public QAbstractScrollArea, public DocumentObserver, public CommandTarget {
    Q_OBJECT
public:
    explicit CCelvaneView(CCelvaneDoc& document, QWidget* parent = nullptr);
    ~CCelvaneView() override;

    CCelvaneDoc& document() const { return document_; }
    Film* film() const { return document_.film(); }

    int currentFrame() const { return currentFrame_; }
    // Which frame is shown, as it is read out: "Frame 3 of 8"; empty without a film.
    QString frameText() const;
    // Makes a frame current (clamped to the film), telling every view.
    void goToFrame(int frame);
    // Runs a change to the film's frames as one step of the window's undo history, reporting a
    // failure, then tells every view and shows the frame the change returns.
    void changeFrames(const std::string& stepName, const std::function<int()>& change);
    // The current frame has a sound attached.
    bool hasSound() const { return hasSound_; }
    // Frames whose step came late during playback are marked ("ShowOverRun").
    bool showOverRuns() const { return showOverRuns_; }

    const ViewLayout& layout() const { return layout_; }
    int scale() const { return layout_.scale(); }
    void setScale(int scale, std::optional<Point> centre = std::nullopt);
    void zoomIn();
    void zoomOut();
    // Between the default scale and the scale last left for it.
    void toggleZoom();
    // Large enough to show a rectangle of the frame large, centred on it (the zoom tool).
    void zoomToRect(const Rect& frameRect);
    // The client size that shows the whole frame at the current scale.
    QSize neededClientSize() const;
    // The scale new windows start at ("Default"/"Scale").
    static int defaultScale();
    // The client area with no scroll bars: what the window has room for once the film fits.
    QSize roomWithoutScrollBars() const { return maximumViewportSize(); }
    // A client point in frame pixels; snapping applies a locked grid while a drawing tool is
    // current.
    Point clientToFrame(Point client, bool roundAndClamp, bool snap) const;

    FrameCanvas& canvas() { return canvas_; }
    GridSettings& grid() { return canvas_.grid(); }
    // The current tool draws: the frame gets its border and shadow, and the grid shows.
    void setDrawingTool(bool on);
    bool drawingTool() const { return drawingTool_; }

    // The current tool's engine; none leaves mouse and keys unanswered.
    void setToolSink(ToolSink* sink);
    // Re-reads what the current tool is (drawing or not), repainting if that changed.
    void refreshToolState();
    // A tool changed `frameRect` of the current frame: every view repaints it.
    void refreshRect(const Rect& frameRect, bool immediate);
    // Shows the rubber band at `band` (frame pixels) instead of where it was.
    void drawRubberBand(const Rect& band);
    void eraseRubberBand();
    // A tool's provisional image is shown instead of the frame while it is set.
    void showProvisional(const Sprite* image);
    // Moves the mouse pointer onto a frame point; events still carrying the old position are
    // taken as at the new one.
    void movePointer(Point frame);

    // Asked before the view's own commands (playback, which lives beside the view).
    void addCommandTarget(CommandTarget* target) { companions_.push_back(target); }
    // Ghosting and in-betweening.
    PreviewMode& preview() { return preview_; }
    // While a fade runs only its step of the new frame is drawn over what the window shows.
    void setFadeStep(std::optional<FadeStep> step) { fadeStep_ = std::move(step); }

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;
    bool onCommand(int id) override;
    bool onUpdate(int id, CommandState& state) override;

signals:
    void scaleChanged(int scale);
    void fitWindowRequested();
    void activated(CCelvaneView* view);
    // Enter and Space, when the current tool does not take them as text.
    void fullScreenToggleRequested();
    void stopPlaybackRequested();
    // The film's speed changed (so a running step timer can be re-armed).
    void filmSpeedChanged();
    // Files were dropped on the window, to be brought into its film.
    void filesDropped(const QStringList& paths);
    // Stamps dragged out of the stamp picker; the data lives as long as the call.
    void stampsDropped(const QMimeData* data);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void syncFrameSize();
    void syncScrollBars();
    // The point to keep in place when zooming: under the mouse when it is over this view.
    std::optional<Point> zoomCentre() const;
    // Sets a scale with the sound of its direction.
    void zoomTo(int scale, std::optional<Point> centre);
    Point frameMiddle() const;
    void repaintFrameRect(const Rect& frame, bool immediate);
    void repaintBand();
    void refreshSound();
    void paintFrame(QPainter& painter, const QRegion& region);
    void paintInversions(QPainter& painter, const QRect& area);
    // Draws the running fade step instead of the frame; false when none runs.
    bool paintFadeStep(QPainter& painter, const Sprite& image, const QRegion& region);
    void dispatchMouse(MouseAction action, QMouseEvent* event);
    void showZoomDialog();
    void showGridDialog();
    void addFrameCommands();
    void addViewCommands();
    // Asks first, then deletes the marked frames, or the current one when none is marked.
    void deleteFrames();
    // The marked frames, or the current one when none is marked, taken out of the film.
    void removeSelection(const char* stepName);
    void copyFrames();

    CCelvaneDoc& document_;
    ViewLayout layout_;
    FrameCanvas canvas_;
    FramePainter painter_;
    ZoomToggle zoomToggle_;
    PointerWarp pointerWarp_;
    ToolSink* toolSink_ = nullptr;
    const Sprite* provisional_ = nullptr;
    std::vector<CommandTarget*> companions_;
    std::optional<FadeStep> fadeStep_;
    PreviewMode preview_;
    int currentFrame_ = 0;
    bool drawingTool_ = true;
    bool showOverRuns_ = true;
    bool hasSound_ = false;
    bool syncingScroll_ = false;
    bool paintFailureShown_ = false;
};

} // namespace celvane
