#include "playback/CFadeOptionsDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

#include "playback/DialogFields.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"

namespace celvane {

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
    direction_->setAccessibleName("Direction");
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
        if (i == Pause) {
            inner->addRow(button, seconds_);
            seconds_->setAccessibleName(button->text().remove('&')); // read out as the button beside it
        }
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
