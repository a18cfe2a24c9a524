#include "app/QtMessageSink.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

#include "view/TitleRoom.h"

namespace celvane {

namespace {
QWidget* ownerWindow()
{
    // The splash goes by itself and would take the box with it.
    QWidget* window = QApplication::activeWindow();
    return window && window->windowType() != Qt::SplashScreen ? window : nullptr;
}
} // namespace

MessageAnswer QtMessageSink::show(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    // The owner may close while the box waits; the box must not go with it unnoticed.
    QPointer<QMessageBox> box = new QMessageBox(ownerWindow());
    box->setWindowTitle("Celvane");
    box->setText(QString::fromStdString(text));
    switch (icon) {
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box->setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box->setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box->setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MessageButtons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A box sizes itself to its text; a short message would cut the title.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(widthForTitle(*box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    const int pressed = box->exec();
    delete box;
    switch (pressed) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

} // namespace celvane
