#pragma once
// The Go to Frame, Film speed and Fade Options dialogs. Each checks what was typed when OK is
// pressed and refuses a value out of range with a message, keeping the dialog open.

#include <QDialog>
#include <optional>

#include "film/FrameFade.h"

class QButtonGroup;
class QComboBox;
class QLabel;
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

// A number typed into a dialog, accepted within low ... high; else the refusal message.
std::optional<double> acceptNumber(const QString& text, double low, double high);

} // namespace celvane
