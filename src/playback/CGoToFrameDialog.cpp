#include "playback/CGoToFrameDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "playback/DialogFields.h"
#include "view/IntegerInput.h"
#include "view/TitleRoom.h"

namespace celvane {

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

} // namespace celvane
