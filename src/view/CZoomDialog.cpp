#include "view/CZoomDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "view/FirstField.h"
#include "view/TitleRoom.h"
#include "view/IntegerInput.h"
#include "view/ViewLayout.h"

namespace celvane {

namespace {
constexpr int kPresets[] = {400, 200, 100, 50, 25};
// Each with a key of its own: the digit a person would type first, where that is free.
constexpr const char* kPresetLabels[] = {"&400%", "&200%", "&100%", "5&0%", "2&5%"};
} // namespace

std::span<const int> CZoomDialog::presets() { return kPresets; }

int CZoomDialog::presetFor(int scale)
{
    const auto it = std::find(std::begin(kPresets), std::end(kPresets), scale);
    return int(it - std::begin(kPresets));
}

CZoomDialog::CZoomDialog(int scale, QWidget* parent) : QDialog(parent), scale_(scale)
{
    setWindowTitle("Zoom");
    auto* grid = new QGridLayout(this);
    auto* group = new QButtonGroup(this);
    const int other = int(std::size(kPresets));
    for (int i = 0; i <= other; ++i) {
        auto* button = new QRadioButton(i < other ? QString::fromUtf8(kPresetLabels[i]) : QString("&Other:"), this);
        button->setObjectName(i < other ? QString("preset%1").arg(kPresets[i]) : QString("other"));
        group->addButton(button, i);
        grid->addWidget(button, i, 0);
    }
    edit_ = new QLineEdit(QString::number(scale), this);
    edit_->setObjectName("scale");
    edit_->setAccessibleName(group->button(other)->text().remove('&')); // read out as the button beside it
    grid->addWidget(edit_, other, 1);
    group->button(presetFor(scale))->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this, other](int id) {
        if (id < other) {
            edit_->setText(QString::number(kPresets[id]));
        } else {
            edit_->setFocus();
            edit_->selectAll();
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, other + 1, 0, 1, 2);
    // Digits typed at once go into the scale; the presets have keys of their own.
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

void CZoomDialog::accept()
{
    const auto value = acceptInteger(edit_->text().toStdString(), ViewLayout::kMinScale, ViewLayout::kMaxScale);
    if (!value) {
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    scale_ = *value;
    QDialog::accept();
}

} // namespace celvane
