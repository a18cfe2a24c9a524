#pragma once
// Go to Frame: a frame number, refused with a message when out of range, keeping the dialog open.

#include <QDialog>

class QLineEdit;

namespace celvane {

class CGoToFrameDialog : public QDialog {
    Q_OBJECT
public:
    CGoToFrameDialog(int current, int frameCount, QWidget* parent = nullptr);
    // The accepted frame, 0-based.
    int frame() const { return frame_; }
    void accept() override;

private:
    QLineEdit* edit_;
    int count_;
    int frame_;
};

} // namespace celvane
