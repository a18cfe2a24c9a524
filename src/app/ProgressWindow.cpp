#include "app/ProgressWindow.h"

#include <QCoreApplication>

namespace celvane {

ProgressWindow::ProgressWindow(const QString& text, QWidget* parent) : dialog_(text, "Cancel", 0, 100, parent)
{
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(500);
}

Progress ProgressWindow::progress()
{
    return [this](int done, int total) {
        dialog_.setMaximum(total);
        dialog_.setValue(done);
        QCoreApplication::processEvents();
        return !dialog_.wasCanceled();
    };
}

} // namespace celvane
