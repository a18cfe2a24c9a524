#include "app/CToolPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMoveEvent>
#include <QToolButton>

#include "app/DrawnIcons.h"
#include "app/ScreenRoom.h"

namespace celvane {

CToolPanel::CToolPanel(const QString& title, QWidget* content, bool pinOnInitialMove, QWidget* parent)
    : QWidget(parent, Qt::Tool), pinButton_(new QToolButton(this)), pin_(pinOnInitialMove)
{
    setWindowTitle(title);
    setObjectName(title);
    pinButton_->setCheckable(true);
    pinButton_->setIcon(DrawnIcons::pin());
    pinButton_->setToolTip("Keep this panel open");
    pinButton_->setFixedWidth(28);
    connect(pinButton_, &QToolButton::toggled, this, [this](bool on) { pin_.setPinned(on); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->addWidget(pinButton_, 0, Qt::AlignTop);
    layout->addWidget(content);
    // The hide waits for the event that dismissed the panel to finish, then the main window
    // (and through it the active film window) has the keys again.
    hide_.setSingleShot(true);
    hide_.setInterval(0);
    connect(&hide_, &QTimer::timeout, this, [this] {
        hide();
        if (QWidget* main = parentWidget())
            main->activateWindow();
    });
}

void CToolPanel::setPinned(bool on)
{
    pinButton_->setChecked(on);
    pin_.setPinned(on);
}

void CToolPanel::showAt(const QPoint& besideButton)
{
    hide_.stop();
    if (!isVisible()) {
        const QPoint globalTopLeft = insideScreen(*this, besideButton);
        placing_ = true;
        move(globalTopLeft);
        show();
        pin_.shown();
        // A window manager may place a window it maps where it likes; the panel goes back
        // beside its button once it is up, and that move is not the user's.
        QTimer::singleShot(0, this, [this, globalTopLeft] {
            move(globalTopLeft);
            placing_ = false;
        });
    }
    raise();
}

void CToolPanel::toggleAt(const QPoint& globalTopLeft)
{
    if (isVisible())
        hide();
    else
        showAt(globalTopLeft);
}

void CToolPanel::dismiss()
{
    if (isVisible() && pin_.hidesWhenDismissed())
        hide_.start();
}

void CToolPanel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Only the user's moves count; the window system's own placing does not.
    if (placing_ || !isVisible() || !event->spontaneous())
        return;
    pin_.movedByUser();
    pinButton_->setChecked(pin_.pinned());
}

} // namespace celvane
