#pragma once
// The controls inside the tool panels. Each turns clicks into calls on its tool and then says
// `done`, so the toolbox can make the right tool current and dismiss the panel.

#include <QWidget>
#include <functional>
#include <vector>

#include "view/tools/FontFaces.h"
#include "view/tools/TextTool.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace celvane {

class FloodFillTool;
class PenTool;
struct Pen;
class SnapshotTool;

// Shapes (pencil only), round presets C1 to C5 (pencil only), square presets and the size field.
class PenPanel : public QWidget {
    Q_OBJECT
public:
    PenPanel(PenTool& tool, std::function<void()> done, QWidget* parent = nullptr);
    QLineEdit* sizeField() const { return size_; }
    // Shows the pen as it is now (the keys and size drags change it too).
    void sync();

private:
    void choosePreset(bool round, int side);
    void typedSize();

    // A shape or preset button with the pens it stands for: it is checked while the pen is one.
    void addChoice(QToolButton* button, std::function<bool(const Pen&)> shows);

    PenTool& tool_;
    std::function<void()> done_;
    QLineEdit* size_;
    std::vector<std::pair<QToolButton*, std::function<bool(const Pen&)>>> choices_;
};

// "Pour paint": the flood fill's three modes.
class FillPanel : public QWidget {
    Q_OBJECT
public:
    FillPanel(FloodFillTool& tool, std::function<void()> done, QWidget* parent = nullptr);
};

// "Mask", "Destination" and the grab buttons; the clipboard is grabbed by `grabClipboard`,
// into the film or into the stamps as the destination says.
class SnapshotPanel : public QWidget {
    Q_OBJECT
public:
    SnapshotPanel(SnapshotTool& tool, std::function<void()> done, std::function<void()> grabClipboard,
                  QWidget* parent = nullptr);
    // "Repeat last" is offered while there is something to repeat.
    void sync();

private:
    SnapshotTool& tool_;
    QWidget* repeat_;
};

// Buttons that run commands, for the eraser's "Undo Last Change", "Undo All Changes" and
// "Blank frame".
class CommandButtonsPanel : public QWidget {
    Q_OBJECT
public:
    struct Button {
        QString label;
        std::function<void()> run;
    };
    CommandButtonsPanel(QWidget* above, const std::vector<Button>& buttons, std::function<void()> done,
                        QWidget* parent = nullptr);
};

// The text tool's font, size, style, text and shadow; each change goes to the tool at once, and
// all but the text are as they were left at the last start.
class TextPanel : public QWidget {
    Q_OBJECT
public:
    explicit TextPanel(TextTool& tool, QWidget* parent = nullptr);
    ~TextPanel() override;
    // Shows the text as typed on the frame.
    void sync();

private:
    // Fills the style and size lists for the family chosen, keeping the choices where it can.
    void listFamily();
    void applyFont();
    // Keeps the panel's choices in the settings for the next start.
    void remember() const;

    TextTool& tool_;
    QFontComboBox* family_;
    QComboBox* style_;
    QComboBox* size_;
    QCheckBox* strikeOut_;
    QCheckBox* underline_;
    QCheckBox* shadow_;
    QPlainTextEdit* text_;
    std::vector<FontFace> faces_;
    std::vector<FontStyleChoice> styles_;
};

} // namespace celvane
