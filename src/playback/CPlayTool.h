#pragma once
// The play tool bar ("Play Tools"): playback and frame buttons, the film strip and the speed
// slider, following the active film window. The strip's arithmetic is FilmStrip's and the
// slider's FilmSpeed's; this bar turns events into calls on them and paints.

#include <QAction>
#include <QPointer>
#include <QToolBar>
#include <functional>

#include "film/UpdateHint.h"
#include "view/ActiveViewFollower.h"
#include "playback/FilmStrip.h"

class QSlider;
class QToolButton;

namespace celvane {

class CCelvaneDoc;
class CCelvaneView;

class CPlayTool : public QToolBar, public DocumentObserver {
    Q_OBJECT
public:
    // `action` gives the program's action for a command, for the buttons.
    CPlayTool(const std::function<QAction*(int)>& action, QWidget* parent = nullptr);
    ~CPlayTool() override;

    void setActiveView(CCelvaneView* view);
    CCelvaneView* activeView() const { return follower_.view(); }
    const FilmStrip& strip() const { return strip_; }
    QWidget* stripWidget() const;
    QSlider* slider() const { return slider_; }

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;

private:
    class StripWidget;
    // The strip follows the current frame, and is read out as it.
    void syncStrip();
    void syncSlider();
    // The Motion button shows the film's motion (To end with no film).
    void syncMotion();
    void sliderMoved(int position);

    ActiveViewFollower follower_{*this, *this};
    FilmStrip strip_;
    StripWidget* stripWidget_ = nullptr;
    QSlider* slider_ = nullptr;
    QToolButton* motion_ = nullptr;
    // Their pictures, for the Motion button; the actions may go before the bar.
    QPointer<QAction> motionActions_[3];
};

} // namespace celvane
