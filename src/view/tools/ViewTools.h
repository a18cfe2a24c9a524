#pragma once
// What a film window draws with: its tool engine, its undo image and the commands that use it
// (Undo, Redo, Restore, Blank frame). Made for each window by the main frame and owned by the
// window, so that it goes with it.

#include <QCursor>
#include <QObject>

#include "base/Command.h"
#include "film/UpdateHint.h"
#include "view/tools/FrameUndo.h"
#include "view/tools/ToolEngine.h"
#include "view/tools/ToolHost.h"

namespace celvane {

class CCelvaneView;
class ToolBox;

// The pointer for a tool: its tool bar picture with the hot spot where the tool touches.
QCursor toolCursor(ToolCursor cursor);

// The tool engine's window, on a film window.
class ViewToolHost : public ToolHost {
public:
    ViewToolHost(CCelvaneView& view, FrameUndo& undo) : view_(view), undo_(undo) {}

    CCelvaneDoc& document() override;
    Sprite& frame() override;
    FrameUndo& undo() override { return undo_; }
    int currentFrame() override;
    void framesReplaced(int current) override;
    void showFrame(int frame) override;
    Point clientOf(Point frame) const override;
    Point snapped(Point frame) const override;
    void refreshRect(const Rect& frameRect, bool immediate) override;
    void showProvisional(const Sprite* image) override;
    void drawRubberBand(const Rect& band) override;
    void eraseRubberBand() override;
    void movePointer(Point frame) override;
    void setCursor(ToolCursor cursor) override;
    void zoomIn(Point centre) override;
    void zoomOut(Point centre) override;
    void zoomToRect(const Rect& frameRect) override;
    void toggleZoom() override;

private:
    CCelvaneView& view_;
    FrameUndo& undo_;
    std::optional<ToolCursor> cursor_;
};

class ViewTools : public QObject, public DocumentObserver, public CommandTarget {
    Q_OBJECT
public:
    ViewTools(CCelvaneView& view, ToolBox& tools);
    ~ViewTools() override;

    // The window's tools, or null.
    static ViewTools* of(CCelvaneView* view);
    // Makes `change` to the film's settings a step of its window's history (a film has one
    // window), or just makes it when the film has no window.
    static void changeSettings(CCelvaneDoc& document, const std::string& stepName, const std::function<void()>& change);
    ToolEngine& engine() { return engine_; }
    FrameUndo& undo() { return undo_; }

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;

private:
    // How far back Undo goes, as the Choices set it.
    void applySettings();

    CCelvaneView& view_;
    CCelvaneDoc& document_;
    ViewToolHost host_;
    FrameUndo undo_;
    ToolEngine engine_;
};

} // namespace celvane
