#pragma once
// Fade Options: how a frame comes on screen and what playback does after it; a pause out of
// range is refused with a message, keeping the dialog open.

#include <QDialog>

#include "film/FrameFade.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace celvane {

class CFadeOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `selection`: the fade applies to every marked frame, which the dialog says.
    CFadeOptionsDialog(const FrameFade& fade, bool selection, QWidget* parent = nullptr);
    const FrameFade& fade() const { return fade_; }
    void accept() override;

    enum Then : int { Continue = 0, Pause = 1, Stop = 2 };

private:
    void kindChanged(int kind);
    void thenChanged(int then);

    QComboBox* kind_;
    QComboBox* direction_;
    QButtonGroup* then_;
    QLineEdit* seconds_;
    FrameFade fade_;
};

} // namespace celvane
