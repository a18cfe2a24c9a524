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
};

} // namespace celvane
