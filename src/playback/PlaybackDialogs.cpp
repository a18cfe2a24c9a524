#include "playback/PlaybackDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

#include "base/Reporter.h"
#include "playback/FilmSpeed.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"
#include "view/IntegerInput.h"

namespace celvane {

std::optional<double> acceptNumber(const QString& text, double low, double high)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok && value >= low && value <= high)
        return value;
    Reporter::message(QString("Please enter a number between %1 and %2.").arg(low).arg(high).toStdString(),
                      MessageButtons::Ok, MessageIcon::Warning);
    return std::nullopt;
}

namespace {
QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void refocus(QLineEdit* edit)
{
    edit->setFocus();
    edit->selectAll();
}
} // namespace

CGoToFrameDialog::CGoToFrameDialog(int current, int frameCount, QWidget* parent)
    : QDialog(parent), count_(frameCount), frame_(current)
{
    setWindowTitle("Go to Frame");
    auto* form = new QFormLayout(this);
    edit_ = new QLineEdit(QString::number(current + 1), this);
    edit_->setObjectName("frame");
    form->addRow("&New frame:", edit_);
    form->addRow(okCancel(this));
    makeRoomForTitle(*this);
    refocus(edit_); // typing replaces the number shown
}

void CGoToFrameDialog::accept()
{
    const auto value = acceptInteger(edit_->text().toStdString(), 1, count_);
    if (!value) {
        refocus(edit_);
        return;
    }
    frame_ = *value - 1;
    QDialog::accept();
}

CFilmSpeedDialog::CFilmSpeedDialog(int delayMs, QWidget* parent) : QDialog(parent), delay_(delayMs)
{
    setWindowTitle("Film speed");
    auto* form = new QFormLayout(this);
    edit_ = new QLineEdit(QString::asprintf("%.1f", FilmSpeed::framesPerSecond(delayMs)), this);
    edit_->setObjectName("fps");
    form->addRow("&Frames per second:", edit_);
    form->addRow(okCancel(this));
    makeRoomForTitle(*this);
}

void CFilmSpeedDialog::accept()
{
    const auto value = acceptNumber(edit_->text(), 1.0, 100.0);
    if (!value) {
        refocus(edit_);
        return;
    }
    delay_ = FilmSpeed::delayForFramesPerSecond(*value);
    QDialog::accept();
}

CFadeOptionsDialog::CFadeOptionsDialog(const FrameFade& fade, bool selection, QWidget* parent)
    : QDialog(parent), fade_(fade)
{
    setWindowTitle("Fade Options");
    auto* form = new QFormLayout(this);
    if (selection)
        form->addRow(new QLabel("For each frame in selection", this));
    kind_ = new QComboBox(this);
    kind_->setObjectName("kind");
    kind_->addItems({"Immediately", "Slide", "Wipe", "Slats"});
    kind_->setCurrentIndex(std::clamp(fade.kind, 0, 3));
    direction_ = new QComboBox(this);
    direction_->setObjectName("direction");
    if (fade.kind != FrameFade::Immediate) {
        direction_->addItems({"from left", "from right", "from top", "from bottom"});
        direction_->setCurrentIndex(std::clamp(fade.direction, 0, 3));
    }
    direction_->setEnabled(fade.kind != FrameFade::Immediate);
    form->addRow("&Show:", kind_);
    form->addRow("", direction_);

    then_ = new QButtonGroup(this);
    const char* labels[] = {"&Continue", "&Pause for (in seconds)", "S&top playback"};
    auto* column = new QWidget(this);
    auto* inner = new QFormLayout(column);
    inner->setContentsMargins(0, 0, 0, 0);
    seconds_ = new QLineEdit(this);
    seconds_->setObjectName("seconds");
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(labels[i], column);
        button->setObjectName(QString("then%1").arg(i));
        then_->addButton(button, i);
        if (i == Pause)
            inner->addRow(button, seconds_);
        else
            inner->addRow(button);
    }
    form->addRow("Then", column);
    const int then = fade.pause < 0 ? Stop : fade.pause > 0 ? Pause : Continue;
    then_->button(then)->setChecked(true);
    seconds_->setEnabled(then == Pause);
    if (then == Pause)
        seconds_->setText(QString::asprintf("%.2f", fade.pause / 100.0));
    form->addRow(okCancel(this));
    connect(kind_, &QComboBox::currentIndexChanged, this, &CFadeOptionsDialog::kindChanged);
    connect(then_, &QButtonGroup::idClicked, this, &CFadeOptionsDialog::thenChanged);
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

void CFadeOptionsDialog::kindChanged(int kind)
{
    const bool directed = kind != FrameFade::Immediate;
    if (directed && direction_->count() == 0) {
        direction_->addItems({"from left", "from right", "from top", "from bottom"});
        direction_->setCurrentIndex(0);
    } else if (!directed) {
        direction_->clear();
    }
    direction_->setEnabled(directed);
}

void CFadeOptionsDialog::thenChanged(int then)
{
    seconds_->setEnabled(then == Pause);
    if (then == Pause) {
        seconds_->setText("0.50");
        refocus(seconds_);
    } else {
        seconds_->clear();
    }
}

void CFadeOptionsDialog::accept()
{
    FrameFade result;
    result.kind = kind_->currentIndex();
    result.direction = result.kind == FrameFade::Immediate ? FrameFade::None : std::max(direction_->currentIndex(), 0);
    switch (then_->checkedId()) {
    case Pause: {
        const auto seconds = acceptNumber(seconds_->text(), 0, 1000);
        if (!seconds) {
            refocus(seconds_);
            return;
        }
        result.pause = int(std::lround(*seconds * 100));
        break;
    }
    case Stop: result.pause = FrameFade::Stop; break;
    default: result.pause = FrameFade::Continue;
    }
    fade_ = result;
    QDialog::accept();
}

} // namespace celvane
