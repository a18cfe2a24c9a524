#include "playback/DialogFields.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

#include "base/Reporter.h"

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

} // namespace celvane
