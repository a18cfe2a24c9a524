#include "app/CToolPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QToolButton>

#include "app/DrawnIcons.h"

namespace celvane {

CToolPanel::CToolPanel(const QString& title, QWidget* content, bool pinOnInitialMove, QWidget* parent)
    : QWidget(parent, Qt::Tool), pinButton_(new QToolButton(this)), pin_(pinOnInitialMove),
      placing_(new WindowPlacing(*this))
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
    placing_->movedByUser = [this] {
        pin_.movedByUser();
        pinButton_->setChecked(pin_.pinned());
    };
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
        placing_->show(besideButton);
        pin_.shown();
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

} // namespace celvane
