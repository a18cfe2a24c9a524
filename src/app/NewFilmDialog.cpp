#include "app/NewFilmDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "base/StringTable.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"
#include "view/IntegerInput.h"

namespace celvane {

NewFilmChoice NewFilmChoice::from(const ImageInfo& d)
{
    NewFilmChoice c;
    c.width = std::clamp(d.width, kMinSide, kMaxSide);
    c.height = std::clamp(d.height, kMinSide, kMaxSide);
    c.bitsPerPixel = kDepths[depthIndex(d.bitsPerPixel)];
    c.compressed = d.compressed != 0;
    return c;
}

ImageInfo NewFilmChoice::description() const { return ImageInfo::forFilm(width, height, bitsPerPixel, compressed); }

int NewFilmChoice::depthIndex(int bits)
{
    for (int i = 0; i < 5; ++i)
        if (bits <= kDepths[i])
            return i;
    return 4;
}

void NewFilmChoice::setFull(const ScreenInfo& s)
{
    width = std::clamp(s.width, kMinSide, kMaxSide);
    height = std::clamp(s.height, kMinSide, kMaxSide);
}

void NewFilmChoice::setQuarter(const ScreenInfo& s)
{
    width = std::clamp(s.width / 2, kMinSide, kMaxSide);
    height = std::clamp(s.height / 2, kMinSide, kMaxSide);
}

NewFilmChoice::Box NewFilmChoice::preview(const ScreenInfo& s, Box frame) const
{
    const int w = s.width > 0 ? int(int64_t(width) * frame.width / s.width) : frame.width;
    const int h = s.height > 0 ? int(int64_t(height) * frame.height / s.height) : frame.height;
    return {std::min(w, frame.width), std::min(h, frame.height)};
}

namespace {
// The film's size against the screen's.
class SizePreview : public QWidget {
public:
    SizePreview(const ScreenInfo& screen, const NewFilmDialog& dialog) : screen_(screen), dialog_(dialog)
    {
        setFixedSize(160, screen.width > 0 ? std::clamp(160 * screen.height / screen.width, 40, 160) : 120);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Base));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        const auto box = dialog_.choice().preview(screen_, {width(), height()});
        p.fillRect(QRect(0, 0, box.width, box.height), palette().color(QPalette::Highlight));
    }

private:
    ScreenInfo screen_;
    const NewFilmDialog& dialog_;
};
} // namespace

NewFilmDialog::NewFilmDialog(const ImageInfo& description, const ScreenInfo& screen, QWidget* parent)
    : QDialog(parent), screen_(screen)
{
    setWindowTitle("New Film");
    width_ = new QSpinBox;
    height_ = new QSpinBox;
    for (QSpinBox* s : {width_, height_})
        s->setRange(0, 99999); // out-of-range values are refused on OK, with a message
    colours_ = new QComboBox;
    for (int id : {IDS_DEPTH_2, IDS_DEPTH_16, IDS_DEPTH_256, IDS_DEPTH_THOUSANDS, IDS_DEPTH_MILLIONS})
        colours_->addItem(QString::fromStdString(loadString(id)));
    compressed_ = new QCheckBox("Compress Fil&m");
    auto* full = new QPushButton("&Full");
    auto* quarter = new QPushButton("1/&4");
    preview_ = new SizePreview(screen_, *this);

    auto* form = new QFormLayout;
    form->addRow("&Width:", width_);
    form->addRow("&Height:", height_);
    form->addRow("C&olours:", colours_);
    form->addRow(compressed_);
    auto* sizes = new QHBoxLayout;
    sizes->addWidget(full);
    sizes->addWidget(quarter);
    form->addRow(sizes);
    form->addRow("Screen:", new QLabel(QString("%1 x %2").arg(screen.width).arg(screen.height)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(buttons);
    layout->addLayout(left);
    layout->addWidget(preview_, 0, Qt::AlignTop);

    showChoice(NewFilmChoice::from(description));
    connect(width_, &QSpinBox::valueChanged, preview_, qOverload<>(&QWidget::update));
    connect(height_, &QSpinBox::valueChanged, preview_, qOverload<>(&QWidget::update));
    connect(full, &QPushButton::clicked, this, [this] {
        NewFilmChoice c = choice();
        c.setFull(screen_);
        showChoice(c);
    });
    connect(quarter, &QPushButton::clicked, this, [this] {
        NewFilmChoice c = choice();
        c.setQuarter(screen_);
        showChoice(c);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

void NewFilmDialog::showChoice(const NewFilmChoice& c)
{
    width_->setValue(c.width);
    height_->setValue(c.height);
    colours_->setCurrentIndex(NewFilmChoice::depthIndex(c.bitsPerPixel));
    compressed_->setChecked(c.compressed);
    preview_->update();
}

NewFilmChoice NewFilmDialog::choice() const
{
    NewFilmChoice c;
    c.width = width_->value();
    c.height = height_->value();
    c.bitsPerPixel = NewFilmChoice::kDepths[std::clamp(colours_->currentIndex(), 0, 4)];
    c.compressed = compressed_->isChecked();
    return c;
}

void NewFilmDialog::accept()
{
    for (QSpinBox* s : {width_, height_})
        if (!acceptInteger(s->text().toStdString(), NewFilmChoice::kMinSide, NewFilmChoice::kMaxSide)) {
            s->setFocus();
            s->selectAll();
            return;
        }
    QDialog::accept();
}

} // namespace celvane
