#include "view/tools/ViewTools.h"

#include <QCursor>
#include <QPixmap>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "film/Film.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"
#include "view/tools/ToolBox.h"

namespace celvane {

QCursor toolCursor(ToolCursor cursor)
{
    // The tool bar pictures serve as cursors, with the hot spot where the tool touches.
    struct Picture {
        const char* name;
        int hotX, hotY;
    };
    Picture picture{};
    switch (cursor) {
    case ToolCursor::Arrow: return Qt::ArrowCursor;
    case ToolCursor::Cross: return Qt::CrossCursor;
    case ToolCursor::Size: return Qt::SizeAllCursor;
    case ToolCursor::StampScale: return Qt::SizeFDiagCursor;
    case ToolCursor::StampRotate: return Qt::ClosedHandCursor;
    case ToolCursor::Text: return Qt::IBeamCursor;
    // The pencil's point, the eraser's rubbing edge, the drip of paint, the pipette's drop and
    // the middle of the lens.
    case ToolCursor::Pencil: picture = {"pencil", 3, 29}; break;
    case ToolCursor::Eraser: picture = {"eraser", 6, 23}; break;
    case ToolCursor::PaintCan: picture = {"fill", 27, 23}; break;
    case ToolCursor::Pipette: picture = {"pipette", 5, 27}; break;
    case ToolCursor::Magnifier: picture = {"zoom", 13, 13}; break;
    case ToolCursor::Stamp: picture = {"stamp", 16, 28}; break;
    }
    const QPixmap pixmap = QPixmap(QString(":/icons/colour/%1.svg").arg(picture.name)).scaled(32, 32);
    return pixmap.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pixmap, picture.hotX, picture.hotY);
}

CCelvaneDoc& ViewToolHost::document() { return view_.document(); }

Sprite& ViewToolHost::frame() { return *view_.film()->workingImage(view_.currentFrame()); }

Point ViewToolHost::clientOf(Point frame) const { return view_.layout().frameToClient(frame, false); }

Point ViewToolHost::snapped(Point frame) const { return view_.clientToFrame(clientOf(frame), true, true); }

void ViewToolHost::refreshRect(const Rect& frameRect, bool immediate) { view_.refreshRect(frameRect, immediate); }

void ViewToolHost::showProvisional(const Sprite* image) { view_.showProvisional(image); }

void ViewToolHost::drawRubberBand(const Rect& band) { view_.drawRubberBand(band); }

void ViewToolHost::eraseRubberBand() { view_.eraseRubberBand(); }

void ViewToolHost::movePointer(Point frame) { view_.movePointer(frame); }

void ViewToolHost::setCursor(ToolCursor cursor)
{
    if (cursor_ == cursor)
        return;
    cursor_ = cursor;
    view_.viewport()->setCursor(toolCursor(cursor));
}

void ViewToolHost::zoomIn(Point centre)
{
    view_.setScale(ViewLayout::zoomIn(view_.scale()), centre);
    ActionSounds::play("Zoom in");
}

void ViewToolHost::zoomOut(Point centre)
{
    view_.setScale(ViewLayout::zoomOut(view_.scale()), centre);
    ActionSounds::play("Zoom out");
}

void ViewToolHost::zoomToRect(const Rect& frameRect) { view_.zoomToRect(frameRect); }

void ViewToolHost::toggleZoom() { view_.toggleZoom(); }

int ViewToolHost::currentFrame() { return view_.currentFrame(); }

void ViewToolHost::showFrame(int frame) { view_.goToFrame(frame); }

void ViewToolHost::framesReplaced(int current)
{
    emit view_.stopPlaybackRequested();
    view_.document().updateAllViews(nullptr, Hint::FramesReplaced);
    view_.goToFrame(current);
}

ViewTools::ViewTools(CCelvaneView& view, ToolBox& tools)
    : QObject(&view), view_(view), document_(view.document()), host_(view, undo_), undo_(host_), engine_(host_, tools)
{
    setObjectName("ViewTools");
    document_.addView(this);
    view.setToolSink(&engine_);
    engine_.refreshCursor();
    applySettings();
    const auto withUndo = [this](const char* sound, void (FrameUndo::*change)()) {
        return [this, sound, change] {
            // Heard even over a sound that is playing.
            ActionSounds::play(sound, true);
            (undo_.*change)();
        };
    };
    // Every one of them needs a film to work on.
    const auto when = [this](bool (FrameUndo::*ready)() const) {
        return [this, ready] { return enabledWhen(view_.film() && (!ready || (undo_.*ready)())); };
    };
    // Undo and Redo name the step they take: "&Undo Pencil".
    const auto named = [this](const char* label, bool (FrameUndo::*ready)() const,
                              std::string (FrameUndo::*name)() const) {
        return [this, label, ready, name] {
            CommandState state = enabledWhen(view_.film() && (undo_.*ready)());
            const std::string step = (undo_.*name)();
            state.text = step.empty() ? label : std::string(label) + " " + step;
            return state;
        };
    };
    addCommands({
        {ID_EDIT_UNDO, withUndo("Undo", &FrameUndo::undo), named("&Undo", &FrameUndo::canUndo, &FrameUndo::undoName)},
        {ID_EDIT_REDO, withUndo("Redo", &FrameUndo::redo), named("&Redo", &FrameUndo::canRedo, &FrameUndo::redoName)},
        {ID_EDIT_RESTORE, withUndo("Undo", &FrameUndo::restore), when(&FrameUndo::canRestore)},
        {ID_FRAME_BLANK, withUndo("Undo", &FrameUndo::blank), when(nullptr)},
    });
}

void ViewTools::applySettings()
{
    undo_.setLimits(UndoLimits::load(Settings::instance()));
}

// Children go after their window's own parts: only the document is still whole.
ViewTools::~ViewTools() { document_.removeView(this); }

ViewTools* ViewTools::of(CCelvaneView* view) { return view ? view->findChild<ViewTools*>("ViewTools") : nullptr; }

void ViewTools::changeSettings(CCelvaneDoc& document, const std::string& stepName, const std::function<void()>& change)
{
    for (DocumentObserver* observer : document.views())
        if (auto* tools = dynamic_cast<ViewTools*>(observer)) {
            tools->undo().changeSettings(stepName, change);
            return;
        }
    change();
}

void ViewTools::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*)
{
    if (hint & Hint::CurrentFrame)
        undo_.frameChanged();
    if (hint & Hint::SettingsChanged)
        applySettings();
    if ((hint & Hint::MousePressed) && engine_.tools().dismissPanels)
        engine_.tools().dismissPanels();
    engine_.hint(hint);
}

} // namespace celvane
