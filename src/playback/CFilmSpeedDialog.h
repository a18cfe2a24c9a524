#pragma once
// Film speed in frames per second, refused with a message when out of range, keeping the dialog
// open.

#include <QDialog>

class QLineEdit;

namespace celvane {

class CFilmSpeedDialog : public QDialog {
    Q_OBJECT
public:
    CFilmSpeedDialog(int delayMs, QWidget* parent = nullptr);
    // The accepted frame delay in milliseconds.
    int delay() const { return delay_; }
    void accept() override;

private:
    QLineEdit* edit_;
    int delay_;
};

} // namespace celvane
