#pragma once
// The window shown for a few seconds while the program starts.

#include <QWidget>

namespace celvane {

class SplashWindow : public QWidget {
public:
    static constexpr int kShowMs = 5000;
    SplashWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Closes the splash when a window that must be answered opens, so that it is never hidden.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace celvane
