#pragma once
// The New Film dialog: width, height, colours and compression of a new film, with buttons for
// the whole screen and a quarter of it, and a preview of the film's size against the screen.

#include <QDialog>

#include "film/DefaultFilm.h"
#include "film/ImageInfo.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QWidget;

namespace celvane {

// What the dialog edits, with its rules, apart from the widgets.
struct NewFilmChoice {
    static constexpr int kMinSide = kMinFilmSide;
    static constexpr int kMaxSide = kMaxFilmSide;
    // The colour choices "2", "16", "256", "Thousands", "Millions" in order.
    static constexpr int kDepths[] = {1, 4, 8, 16, 32};

    int width = 457;
    int height = 285;
    int bitsPerPixel = 8;
    bool compressed = true;

    static NewFilmChoice from(const ImageInfo& description);
    ImageInfo description() const;
    static bool validSide(int v) { return v >= kMinSide && v <= kMaxSide; }
    // The entry of the colours list for a depth (a 2-bit depth shows as "16").
    static int depthIndex(int bitsPerPixel);
    void setFull(const ScreenInfo& screen);
    void setQuarter(const ScreenInfo& screen);
    // The film's rectangle in a preview box of the screen's proportions.
    struct Box {
        int width;
        int height;
    };
    Box preview(const ScreenInfo& screen, Box frame) const;
};

class NewFilmDialog : public QDialog {
    Q_OBJECT
public:
    NewFilmDialog(const ImageInfo& description, const ScreenInfo& screen, QWidget* parent = nullptr);

    NewFilmChoice choice() const;
    // Closes with OK only when the sizes are allowed; otherwise says why.
    void accept() override;

private:
    void showChoice(const NewFilmChoice& c);

    ScreenInfo screen_;
    QSpinBox* width_;
    QSpinBox* height_;
    QComboBox* colours_;
    QCheckBox* compressed_;
    QWidget* preview_;
};

} // namespace celvane
