#pragma once
// Long work shown in a window that appears after half a second and has a Cancel button.

#include <QProgressDialog>

#include "base/Progress.h"

namespace celvane {

class ProgressWindow {
public:
    ProgressWindow(const QString& text, QWidget* parent);
    // What the work reports to; it answers false once the user has pressed Cancel.
    Progress progress();

private:
    QProgressDialog dialog_;
};

} // namespace celvane
