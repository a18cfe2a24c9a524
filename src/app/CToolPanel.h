#pragma once
// A tool's option panel: a small floating window named after the tool, with a 28-pixel strip
// holding a pin to the left of the panel's controls. An unpinned panel hides once dismissed,
// after the event that dismissed it has finished.

#include <QTimer>
#include <QWidget>

#include "app/ScreenRoom.h"
#include "view/tools/PanelPin.h"

class QToolButton;

namespace celvane {

class CToolPanel : public QWidget {
    Q_OBJECT
public:
    CToolPanel(const QString& title, QWidget* content, bool pinOnInitialMove, QWidget* parent);

    bool pinned() const { return pin_.pinned(); }
    void setPinned(bool on);
    // Shows the panel with its top left at a point on the screen, or where the user last put it.
    void showAt(const QPoint& besideButton);
    void toggleAt(const QPoint& globalTopLeft);
    // Hides the panel soon, unless it is pinned.
    void dismiss();

private:
    QToolButton* pinButton_;
    QTimer hide_;
    PanelPin pin_;
    WindowPlacing* placing_;
};

} // namespace celvane
