#pragma once
// The colour editor opened from the palette bar's well: the pencil or paper colour as red,
// green and blue and as hue, saturation and luminosity. At palette depths it edits the film's
// palette entry under the colour, so every pixel of that index changes; deeper films have no
// such entries and take the colour itself.

#include <QDialog>
#include <cstdint>
#include <functional>

class QButtonGroup;
class QPushButton;
class QSlider;
class QSpinBox;

namespace celvane {

class CCelvaneDoc;
class DocumentObserver;
class Film;

enum class PaintingColour { Pencil, Paper };

// The editor's changes to a film, each marking the film modified and repainting every view.
class PaintingColourEdit {
public:
    // `sender` is left out when the views are told.
    PaintingColourEdit(CCelvaneDoc& document, DocumentObserver* sender) : document_(document), sender_(sender) {}

    // False for a document without a film.
    bool available() const;
    uint32_t rgb(PaintingColour which) const;
    void setRgb(PaintingColour which, uint32_t rgbValue);
    // The palette entry back to the depth's default; black pencil and white paper when deep.
    void restoreDefault(PaintingColour which);
    // Palette films whose pencil and paper are different entries.
    bool canMakeRange() const;
    // The entries from the lower of the two indices to the higher graded between their colours.
    void makeRange();

private:
    Film* film() const;
    int paletteIndex(PaintingColour which) const;
    // Ink and paper words naming `index` take its colour, so they never show a stale one.
    void refreshWords(int index, uint32_t rgbValue);
    void announce();

    CCelvaneDoc& document_;
    DocumentObserver* sender_;
};

class ColourEditor : public QDialog {
    Q_OBJECT
public:
    ColourEditor(DocumentObserver* sender, QWidget* parent);

    // The film whose colours are edited; null disables the controls.
    void setDocument(CCelvaneDoc* document);
    void setEditing(PaintingColour which);
    PaintingColour editing() const;
    // Shows the film's colours again after a change made elsewhere.
    void refresh();

signals:
    // The film's colours were changed here.
    void edited();

private:
    struct Channel {
        QSlider* slider = nullptr;
        QSpinBox* spin = nullptr;
    };
    enum { Red, Green, Blue, Hue, Saturation, Luminosity, ChannelCount };

    Channel makeChannel(int which, const char* label, int maximum);
    void channelChanged(int which, int value);
    // Sets every control to a colour without reacting to it.
    void showColour(uint32_t rgbValue);
    uint32_t shownRgb() const;
    void setChannel(int which, int value);
    // Makes a change to the film, then tells the bar and shows the result.
    void change(const std::function<void(PaintingColourEdit&)>& what);
    void syncEnabled();

    DocumentObserver* sender_;
    CCelvaneDoc* document_ = nullptr;
    QButtonGroup* choice_ = nullptr;
    Channel channels_[ChannelCount];
    QPushButton* default_ = nullptr;
    QPushButton* makeRange_ = nullptr;
};

} // namespace celvane
