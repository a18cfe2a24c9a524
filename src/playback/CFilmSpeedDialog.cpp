#include "playback/CFilmSpeedDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "playback/DialogFields.h"
#include "playback/FilmSpeed.h"
#include "view/TitleRoom.h"

namespace celvane {

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

} // namespace celvane
