#include "app/ToolPanels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/DrawnIcons.h"
#include "base/Reporter.h"
#include "base/Settings.h"
#include "view/tools/FloodFillTool.h"
#include "view/tools/PenSizeText.h"
#include "view/tools/PenTool.h"
#include "view/tools/SnapshotTool.h"

namespace celvane {

namespace {
constexpr const char* kShapeNames[] = {"Dots",          "Freehand",       "Line",           "Connected lines",
                                       "Circle",        "Ellipse",        "Square",         "Rectangle",
                                       "Filled circle", "Filled ellipse", "Filled square",  "Filled rectangle"};
constexpr int kPresetSides[] = {1, 2, 4, 8, 16};
constexpr const char* kTextSection = "Text";
constexpr int kMaxPoints = 999;

QToolButton* smallButton(const QIcon& picture, const QString& tip, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setIcon(picture);
    b->setIconSize(QSize(24, 24));
    b->setText(tip); // read out, and shown should the picture fail
    b->setToolTip(tip);
    return b;
}
} // namespace

PenPanel::PenPanel(PenTool& tool, std::function<void()> done, QWidget* parent)
    : QWidget(parent), tool_(tool), done_(std::move(done)), size_(new QLineEdit(this))
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    int row = 0;
    if (!tool_.isEraser()) {
        for (int shape = 0; shape < 12; ++shape) {
            auto* b = smallButton(DrawnIcons::penShape(shape), kShapeNames[shape], this);
            connect(b, &QToolButton::clicked, this, [this, shape] {
                Pen pen = tool_.pen();
                pen.shape = shape;
                tool_.setPen(pen);
                sync();
                done_();
            });
            addChoice(b, [shape](const Pen& pen) { return pen.shape == shape; });
            layout->addWidget(b, shape / 6, shape % 6);
        }
        row = 2;
        for (int i = 0; i < 5; ++i) {
            auto* b = smallButton(DrawnIcons::penTip(true, kPresetSides[i]),
                                  QString("Round pen, %1 pixels").arg(kPresetSides[i]), this);
            connect(b, &QToolButton::clicked, this, [this, i] { choosePreset(true, kPresetSides[i]); });
            addChoice(b, [side = kPresetSides[i]](const Pen& pen) {
                return pen.round && pen.width == side && pen.height == side;
            });
            layout->addWidget(b, row, i);
        }
        ++row;
    }
    // The eraser offers only the three smallest squares.
    const int squares = tool_.isEraser() ? 3 : 5;
    for (int i = 0; i < squares; ++i) {
        auto* b = smallButton(DrawnIcons::penTip(false, kPresetSides[i]),
                              QString("Square pen, %1 pixels").arg(kPresetSides[i]), this);
        connect(b, &QToolButton::clicked, this, [this, i] { choosePreset(false, kPresetSides[i]); });
        addChoice(b, [side = kPresetSides[i]](const Pen& pen) {
            return !pen.round && pen.width == side && pen.height == side;
        });
        layout->addWidget(b, row, i);
    }
    ++row;
    size_->setToolTip("Pen size, width x height");
    connect(size_, &QLineEdit::returnPressed, this, &PenPanel::typedSize);
    layout->addWidget(size_, row, 0, 1, 5);
    sync();
}

void PenPanel::addChoice(QToolButton* button, std::function<bool(const Pen&)> shows)
{
    button->setCheckable(true);
    choices_.emplace_back(button, std::move(shows));
}

void PenPanel::sync()
{
    size_->setText(QString::fromStdString(penSizeText({tool_.pen().width, tool_.pen().height})));
    for (const auto& [button, shows] : choices_)
        button->setChecked(shows(tool_.pen()));
}

void PenPanel::choosePreset(bool round, int side)
{
    Pen pen = tool_.pen();
    pen.round = round;
    pen.width = pen.height = side;
    tool_.setPen(pen);
    sync();
    done_();
}

void PenPanel::typedSize()
{
    const auto size = parsePenSize(size_->text().toStdString());
    if (!size) {
        Reporter::message(kPenSizeFormatMessage, MessageButtons::Ok, MessageIcon::Warning);
        sync();
        return;
    }
    Pen pen = tool_.pen();
    pen.width = size->width;
    pen.height = size->height;
    tool_.setPen(pen);
    sync();
    done_();
}

FillPanel::FillPanel(FloodFillTool& tool, std::function<void()> done, QWidget* parent) : QWidget(parent)
{
    auto* box = new QGroupBox("Pour paint", this);
    auto* modes = new QVBoxLayout(box);
    auto* group = new QButtonGroup(this);
    const char* labels[] = {"Area under paint can", "All areas of the same colour", "Rectangle of paper colour"};
    for (int mode = 0; mode < 3; ++mode) {
        auto* b = new QRadioButton(labels[mode], box);
        b->setChecked(tool.mode() == mode);
        group->addButton(b, mode);
        modes->addWidget(b);
    }
    connect(group, &QButtonGroup::idClicked, this, [&tool, done = std::move(done)](int mode) {
        tool.setMode(mode);
        done();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(box);
}

SnapshotPanel::SnapshotPanel(SnapshotTool& tool, std::function<void()> done, std::function<void()> grabClipboard,
                             QWidget* parent)
    : QWidget(parent), tool_(tool)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* maskBox = new QGroupBox("Mask", this);
    auto* masks = new QVBoxLayout(maskBox);
    auto* maskGroup = new QButtonGroup(this);
    const char* maskLabels[] = {"Pick up all but paper colour", "Pick up pencil colour only"};
    for (int mask = 0; mask < 2; ++mask) {
        auto* b = new QRadioButton(maskLabels[mask], maskBox);
        b->setChecked(tool.mask() == mask);
        maskGroup->addButton(b, mask);
        masks->addWidget(b);
    }
    connect(maskGroup, &QButtonGroup::idClicked, this, [&tool](int mask) { tool.setMask(mask); });
    layout->addWidget(maskBox);

    auto* destinationBox = new QGroupBox("Destination", this);
    auto* destinations = new QVBoxLayout(destinationBox);
    auto* stamps = new QRadioButton("Send to stamps", destinationBox);
    stamps->setObjectName("sendToStamps");
    stamps->setChecked(tool.toStamps());
    connect(stamps, &QRadioButton::toggled, this, [&tool](bool on) { tool.setToStamps(on); });
    auto* film = new QRadioButton("Send to film", destinationBox);
    film->setChecked(!tool.toStamps());
    destinations->addWidget(stamps);
    destinations->addWidget(film);
    layout->addWidget(destinationBox);

    auto* grab = new QPushButton("Grab from film", this);
    grab->setToolTip("Drag a rectangle on the frame to copy it");
    connect(grab, &QPushButton::clicked, this, done);
    auto* clipboard = new QPushButton("Grab from clipboard", this);
    connect(clipboard, &QPushButton::clicked, this, [grab = std::move(grabClipboard), done] {
        grab();
        done();
    });
    auto* repeat = new QPushButton("Repeat last", this);
    repeat->setToolTip("Ctrl+R");
    connect(repeat, &QPushButton::clicked, this, [this, done] {
        tool_.repeatLast();
        done();
    });
    repeat_ = repeat;
    for (QWidget* b : {static_cast<QWidget*>(grab), static_cast<QWidget*>(clipboard), repeat_})
        layout->addWidget(b);
    sync();
}

void SnapshotPanel::sync() { repeat_->setEnabled(tool_.canRepeat()); }

CommandButtonsPanel::CommandButtonsPanel(QWidget* above, const std::vector<Button>& buttons,
                                         std::function<void()> done, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(above);
    for (const Button& button : buttons) {
        auto* b = new QPushButton(button.label, this);
        connect(b, &QPushButton::clicked, this, [run = button.run, done] {
            run();
            done();
        });
        layout->addWidget(b);
    }
}

namespace {
// The tool's text as the text field holds it: a line break is one "\n".
QString shownText(const std::string& text)
{
    return QString::fromLatin1(QByteArray::fromStdString(text).replace("\r\n", "\n").replace('\r', '\n'));
}
} // namespace

TextPanel::TextPanel(TextTool& tool, QWidget* parent) : QWidget(parent), tool_(tool)
{
    const Settings& settings = Settings::instance();
    const std::string kept = settings.getString(kTextSection, "Font", "");
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    family_ = new QFontComboBox(this);
    family_->setObjectName("font");
    family_->setCurrentFont(QFont(QString::fromStdString(kept.empty() ? tool.font().face : kept)));
    style_ = new QComboBox(this);
    style_->setObjectName("style");
    size_ = new QComboBox(this);
    size_->setObjectName("size");
    size_->setEditable(true);
    size_->setValidator(new QIntValidator(1, kMaxPoints, size_));
    strikeOut_ = new QCheckBox("Stri&keout", this);
    underline_ = new QCheckBox("&Underline", this);
    shadow_ = new QCheckBox("&Shadow", this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("text");
    text_->setMaximumHeight(60);
    int row = 0;
    for (auto [label, field] :
         {std::pair<const char*, QWidget*>{"&Font:", family_}, {"Font St&yle:", style_}, {"&Size:", size_}}) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);
        layout->addWidget(l, row, 0);
        layout->addWidget(field, row++, 1);
    }
    layout->addWidget(text_, row++, 0, 1, 2);
    for (QCheckBox* box : {strikeOut_, underline_, shadow_})
        layout->addWidget(box, row++, 0, 1, 2);
    // The style kept from the last start, where the family still has it.
    if (const std::string style = settings.getString(kTextSection, "Style", ""); !style.empty())
        style_->addItem(QString::fromStdString(style));
    size_->setCurrentText(QString::number(settings.getInt(kTextSection, "Size", tool.font().points, 1, kMaxPoints)));
    strikeOut_->setChecked(settings.getFlag(kTextSection, "Strikeout", false));
    underline_->setChecked(settings.getFlag(kTextSection, "Underline", false));
    shadow_->setChecked(settings.getFlag(kTextSection, "Shadow", false));
    listFamily();
    if (!kept.empty()) {
        applyFont();
        tool_.setShadow(shadow_->isChecked());
    }

    const auto chosen = [this] {
        applyFont();
        remember();
    };
    connect(family_, &QFontComboBox::currentFontChanged, this, [this, chosen] {
        listFamily();
        chosen();
    });
    connect(style_, &QComboBox::currentIndexChanged, this, chosen);
    connect(size_, &QComboBox::currentTextChanged, this, chosen);
    for (QCheckBox* box : {strikeOut_, underline_})
        connect(box, &QCheckBox::toggled, this, chosen);
    connect(shadow_, &QCheckBox::toggled, this, [this](bool on) {
        tool_.setShadow(on);
        remember();
    });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        if (text_->toPlainText() == shownText(tool_.text()))
            return;
        // Lines as the keys make them, CR LF.
        tool_.setText(text_->toPlainText().toLatin1().replace("\n", "\r\n").toStdString());
    });
    tool.textChanged = [this](const std::string&) { sync(); };
}

void TextPanel::listFamily()
{
    faces_ = fontFaces(family_->currentFont().family());
    styles_ = fontStyles(faces_);
    const QString style = style_->currentText();
    const QString typed = size_->currentText();
    const QSignalBlocker quietStyle(style_);
    const QSignalBlocker quietSize(size_);
    style_->clear();
    for (const FontStyleChoice& choice : styles_)
        style_->addItem(QString::fromStdString(choice.name));
    if (styles_.empty())
        style_->addItem("<No styles>");
    const int kept = style_->findText(style);
    style_->setCurrentIndex(kept >= 0 ? kept : regularStyle(styles_, faces_));
    size_->clear();
    for (int points : fontSizes(faces_))
        size_->addItem(QString::number(points));
    if (size_->count() == 0)
        size_->addItem("<No sizes>");
    size_->setCurrentText(typed);
}

TextPanel::~TextPanel() { tool_.textChanged = nullptr; }

void TextPanel::applyFont()
{
    const int index = style_->currentIndex();
    TextTool::Font font = styledFont(tool_.font(), family_->currentFont().family(), faces_,
                                     index >= 0 && index < int(styles_.size()) ? &styles_[size_t(index)] : nullptr);
    // "<No sizes>" picked from the list is no size: the last one stays.
    if (const int points = size_->currentText().toInt(); points > 0)
        font.points = points;
    font.strikeOut = strikeOut_->isChecked();
    font.underline = underline_->isChecked();
    tool_.setFont(font);
}

void TextPanel::remember() const
{
    Settings& settings = Settings::instance();
    settings.writeString(kTextSection, "Font", family_->currentFont().family().toStdString());
    // "<No styles>" is no style to look for next time.
    settings.writeString(kTextSection, "Style", styles_.empty() ? "" : style_->currentText().toStdString());
    settings.writeInt(kTextSection, "Size", tool_.font().points);
    settings.writeInt(kTextSection, "Strikeout", strikeOut_->isChecked());
    settings.writeInt(kTextSection, "Underline", underline_->isChecked());
    settings.writeInt(kTextSection, "Shadow", shadow_->isChecked());
}

void TextPanel::sync()
{
    const QString shown = shownText(tool_.text());
    if (text_->toPlainText() != shown)
        text_->setPlainText(shown);
}

} // namespace celvane
