#include "app/ColourEditor.h"

#include <QButtonGroup>
#include <QColor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ScreenReader.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"
#include "view/PaletteBarLayout.h"
#include "view/tools/ViewTools.h"

namespace celvane {

namespace {
bool isPaletteFilm(const Film& film) { return film.bitsPerPixel() <= 8; }

uint32_t& wordOf(GraphicSummary& summary, PaintingColour which)
{
    return which == PaintingColour::Pencil ? summary.ink : summary.paper;
}

QColor qColourOf(uint32_t rgbValue) { return QColor(redOf(rgbValue), greenOf(rgbValue), blueOf(rgbValue)); }
} // namespace

Film* PaintingColourEdit::film() const
{
    Film* f = document_.film();
    return f && f->palette() ? f : nullptr;
}

bool PaintingColourEdit::available() const { return film() != nullptr; }

int PaintingColourEdit::paletteIndex(PaintingColour which) const
{
    const Film& f = *film();
    return indexOfWord(which == PaintingColour::Pencil ? f.ink() : f.paper());
}

uint32_t PaintingColourEdit::rgb(PaintingColour which) const
{
    const Film* f = film();
    if (!f)
        return 0;
    return rgbOfColourWord(*f->palette(), which == PaintingColour::Pencil ? f->ink() : f->paper(), f->bitsPerPixel());
}

void PaintingColourEdit::setRgb(PaintingColour which, uint32_t rgbValue)
{
    Film* f = film();
    if (!f)
        return;
    rgbValue &= 0xFFFFFF;
    if (isPaletteFilm(*f)) {
        const int index = paletteIndex(which);
        if (index >= f->palette()->count())
            return;
        f->palette()->setEntryRgb(index, rgbValue);
        refreshWords(index, rgbValue);
    } else {
        GraphicSummary summary;
        f->getSummary(summary);
        wordOf(summary, which) = rgbToColourWord(rgbValue);
        f->setSummary(summary);
    }
    announce();
}

void PaintingColourEdit::refreshWords(int index, uint32_t rgbValue)
{
    Film& f = *film();
    GraphicSummary summary;
    f.getSummary(summary);
    for (PaintingColour which : {PaintingColour::Pencil, PaintingColour::Paper})
        if (indexOfWord(wordOf(summary, which)) == index)
            wordOf(summary, which) = rgbToColourWord(rgbValue, index);
    f.setSummary(summary);
}

void PaintingColourEdit::restoreDefault(PaintingColour which)
{
    Film* f = film();
    if (!f)
        return;
    if (!isPaletteFilm(*f)) {
        setRgb(which, which == PaintingColour::Pencil ? 0x000000 : 0xFFFFFF);
        return;
    }
    const PaletteRef defaults = PaletteRef::make();
    defaults->setDefault(f->bitsPerPixel());
    const int index = paletteIndex(which);
    if (index < defaults->count())
        setRgb(which, defaults->colourOfIndex(index) & 0xFFFFFF);
}

bool PaintingColourEdit::canMakeRange() const
{
    const Film* f = film();
    return f && isPaletteFilm(*f) && paletteIndex(PaintingColour::Pencil) != paletteIndex(PaintingColour::Paper);
}

void PaintingColourEdit::makeRange()
{
    if (!canMakeRange())
        return;
    Palette& palette = *film()->palette();
    const int a = std::min(paletteIndex(PaintingColour::Pencil), paletteIndex(PaintingColour::Paper));
    const int b = std::max(paletteIndex(PaintingColour::Pencil), paletteIndex(PaintingColour::Paper));
    if (b >= palette.count())
        return;
    palette.ramp(a, b, palette.colourOfIndex(a) & 0xFFFFFF, palette.colourOfIndex(b) & 0xFFFFFF);
    announce();
}

void PaintingColourEdit::announce()
{
    film()->setModified(true);
    document_.updateAllViews(sender_, Hint::RepaintAll);
}

ColourEditor::ColourEditor(DocumentObserver* sender, QWidget* parent) : QDialog(parent, Qt::Tool), sender_(sender)
{
    setWindowTitle("Colour");

    auto* choiceRow = new QHBoxLayout;
    choice_ = new QButtonGroup(this);
    for (PaintingColour which : {PaintingColour::Pencil, PaintingColour::Paper}) {
        const bool pencil = which == PaintingColour::Pencil;
        auto* button = new QRadioButton(pencil ? "Pe&ncil" : "&Paper", this);
        button->setObjectName(pencil ? "pencil" : "paper");
        choice_->addButton(button, int(which));
        choiceRow->addWidget(button);
    }
    choice_->button(int(PaintingColour::Pencil))->setChecked(true);
    connect(choice_, &QButtonGroup::idClicked, this, [this] { refresh(); });

    auto* grid = new QGridLayout;
    const struct {
        const char* label;
        int maximum;
    } rows[ChannelCount] = {{"&Red", 255}, {"&Green", 255}, {"&Blue", 255},
                            {"&Hue", 359}, {"&Saturation", 255}, {"&Luminosity", 255}};
    for (int i = 0; i < ChannelCount; ++i) {
        channels_[i] = makeChannel(i, rows[i].label, rows[i].maximum);
        auto* label = new QLabel(rows[i].label, this);
        label->setBuddy(channels_[i].spin);
        grid->addWidget(label, i, 0);
        grid->addWidget(channels_[i].slider, i, 1);
        grid->addWidget(channels_[i].spin, i, 2);
    }

    auto* buttons = new QHBoxLayout;
    default_ = new QPushButton("&Default", this);
    default_->setObjectName("default");
    makeRange_ = new QPushButton("&Make range", this);
    makeRange_->setObjectName("makeRange");
    auto* disable = new QPushButton("D&isable", this);
    disable->setObjectName("disable");
    buttons->addWidget(default_);
    buttons->addWidget(makeRange_);
    buttons->addWidget(disable);
    connect(default_, &QPushButton::clicked, this,
            [this] { change([this](PaintingColourEdit& e) { e.restoreDefault(editing()); }); });
    connect(makeRange_, &QPushButton::clicked, this,
            [this] { change([](PaintingColourEdit& e) { e.makeRange(); }); });
    // Stops editing: the editor goes until the well is clicked again.
    connect(disable, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    syncEnabled();
    makeRoomForTitle(*this);
}

ColourEditor::Channel ColourEditor::makeChannel(int which, const char* label, int maximum)
{
    Channel c;
    c.slider = new QSlider(Qt::Horizontal, this);
    c.spin = new QSpinBox(this);
    c.slider->setRange(0, maximum);
    c.spin->setRange(0, maximum);
    const QString name = spokenText(label);
    c.spin->setObjectName(name.toLower());
    c.slider->setAccessibleName(name); // the label reads out the box beside it

    connect(c.slider, &QSlider::valueChanged, this, [this, which](int v) { channelChanged(which, v); });
    connect(c.spin, &QSpinBox::valueChanged, this, [this, which](int v) { channelChanged(which, v); });
    return c;
}

void ColourEditor::setDocument(CCelvaneDoc* document)
{
    document_ = document;
    refresh();
    // The numbers can be typed only once there is a film.
    startInFirstField(*this);
}

void ColourEditor::setEditing(PaintingColour which)
{
    choice_->button(int(which))->setChecked(true);
    refresh();
}

PaintingColour ColourEditor::editing() const { return PaintingColour(choice_->checkedId()); }

void ColourEditor::refresh()
{
    syncEnabled();
    if (!document_)
        return;
    const PaintingColourEdit edit(*document_, sender_);
    // Only a different colour moves the controls: hue and saturation set by hand would
    // otherwise jump to what the rounded red, green and blue give back.
    if (edit.available() && edit.rgb(editing()) != shownRgb())
        showColour(edit.rgb(editing()));
}

void ColourEditor::syncEnabled()
{
    const bool available = document_ && PaintingColourEdit(*document_, sender_).available();
    for (Channel& c : channels_) {
        c.slider->setEnabled(available);
        c.spin->setEnabled(available);
    }
    default_->setEnabled(available);
    makeRange_->setEnabled(available && PaintingColourEdit(*document_, sender_).canMakeRange());
}

void ColourEditor::setChannel(int which, int value)
{
    const QSignalBlocker blockSlider(channels_[which].slider);
    const QSignalBlocker blockSpin(channels_[which].spin);
    channels_[which].slider->setValue(value);
    channels_[which].spin->setValue(value);
}

void ColourEditor::showColour(uint32_t rgbValue)
{
    const QColor colour = qColourOf(rgbValue);
    setChannel(Red, colour.red());
    setChannel(Green, colour.green());
    setChannel(Blue, colour.blue());
    // Greys have no hue: the control keeps the last one.
    if (colour.hslHue() >= 0)
        setChannel(Hue, colour.hslHue());
    setChannel(Saturation, colour.hslSaturation());
    setChannel(Luminosity, colour.lightness());
}

uint32_t ColourEditor::shownRgb() const
{
    return rgb(channels_[Red].spin->value(), channels_[Green].spin->value(), channels_[Blue].spin->value());
}

void ColourEditor::channelChanged(int which, int value)
{
    setChannel(which, value);
    if (which >= Hue) {
        const QColor colour = QColor::fromHsl(channels_[Hue].spin->value(), channels_[Saturation].spin->value(),
                                              channels_[Luminosity].spin->value());
        setChannel(Red, colour.red());
        setChannel(Green, colour.green());
        setChannel(Blue, colour.blue());
    } else {
        const uint32_t rgbValue = shownRgb();
        const QColor colour = qColourOf(rgbValue);
        if (colour.hslHue() >= 0)
            setChannel(Hue, colour.hslHue());
        setChannel(Saturation, colour.hslSaturation());
        setChannel(Luminosity, colour.lightness());
    }
    change([this](PaintingColourEdit& e) { e.setRgb(editing(), shownRgb()); });
}

void ColourEditor::change(const std::function<void(PaintingColourEdit&)>& what)
{
    if (!document_)
        return;
    PaintingColourEdit edit(*document_, sender_);
    ViewTools::changeSettings(*document_, "Colour", [&] { what(edit); });
    emit edited();
    refresh();
}

} // namespace celvane
