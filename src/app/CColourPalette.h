#pragma once
// The palette bar: the active film's palette as cells, on which the left button picks the
// pencil (painting) colour and the right button the paper colour, and a well showing both that
// opens the colour editor. Lying along a horizontal edge it turns on its side. It is told of
// the film's changes as one of its document's observers.
//
// Colour numbers: the pencil is painting colour 1 (the film's ink, Hint::SetPaintingColour1),
// the paper painting colour 0 (the film's paper, Hint::SetPaintingColour0). Both hints carry the
// palette-repaint bit, as views of deep films need it and palette films lose nothing by it.

#include <QToolBar>
#include <QImage>

#include "app/ColourEditor.h"
#include "app/ScreenReader.h"
#include "film/UpdateHint.h"
#include "view/ActiveViewFollower.h"
#include "view/PaletteBarLayout.h"

namespace celvane {

class CCelvaneDoc;
class CCelvaneView;
class Film;

class CColourPalette : public QToolBar, public DocumentObserver, private AccessibleEntries {
    Q_OBJECT
public:
    explicit CColourPalette(QWidget* parent = nullptr);
    ~CColourPalette() override;

    // Follows the film of the active view; null shows an empty bar.
    void setActiveView(CCelvaneView* view);
    CCelvaneDoc* document() const { return follower_.document(); }
    const PaletteBarLayout& layout() const { return layout_; }

    // Sets the pencil or paper colour to a cell's colour unless it holds it already, and
    // tells the views; false when nothing changed.
    bool chooseCell(int index, PaintingColour which);
    // Opens the colour editor on one of the two colours.
    void openEditor(PaintingColour which);
    // Null until first opened.
    ColourEditor* editor() const { return editor_; }
    // The widget that shows the cells and the well and takes the clicks.
    QWidget* surface() const;

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Surface;
    // The cells as drawn last, valid while the palette's stamp and the layout stay the same.
    struct Picture {
        QImage image;
        uint32_t stamp = 0;
        int cells = 0;
        bool alternate = false;
    };

    Film* film() const;
    // The well's two squares, then a cell for each colour of the palette, as read out.
    int accessibleCount() const override;
    Entry accessibleEntry(int entry) const override;
    QStringList accessibleActions(int entry) const override;
    void doAccessibleAction(int entry, const QString& action) override;
    void syncLayout();
    // How long the bar may be where it lies: the window's edge, less the bar's own frame.
    int roomAlong() const;
    void paint(QPainter& p);
    void paintCells(QPainter& p, const Film& film);
    void paintMarks(QPainter& p, const Film& film);
    void paintWell(QPainter& p, const Film& film);
    void press(int x, int y, Qt::MouseButton button);

    Surface* surface_;
    PaletteBarLayout layout_;
    Picture picture_;
    ActiveViewFollower follower_{*this, *this};
    ColourEditor* editor_ = nullptr;
};

} // namespace celvane
