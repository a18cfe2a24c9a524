#include "view/CGridDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>

#include "view/FirstField.h"
#include "view/TitleRoom.h"
#include "view/IntegerInput.h"

namespace celvane {

namespace {
constexpr int kSpacingLow = 1, kSpacingHigh = 10000;
constexpr int kDivisionsLow = 1, kDivisionsHigh = 10;

// A number field whose arrows run over a narrower range than may be typed; what is typed is
// checked when the dialog is accepted.
class SpinField : public QSpinBox {
public:
    SpinField(int spinLow, int spinHigh, QWidget* parent) : QSpinBox(parent), low_(spinLow), high_(spinHigh)
    {
        setRange(0, 99999);
    }
    void stepBy(int steps) override { setValue(std::clamp(value() + steps, low_, high_)); }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled e = StepNone;
        if (value() < high_)
            e |= StepUpEnabled;
        if (value() > low_)
            e |= StepDownEnabled;
        return e;
    }

private:
    int low_, high_;
};
} // namespace

CGridDialog::CGridDialog(const GridSettings& grid, QWidget* parent) : QDialog(parent), grid_(grid)
{
    setWindowTitle("Grid Settings");
    auto* form = new QFormLayout(this);
    show_ = new QCheckBox("&Show grid", this);
    show_->setObjectName("show");
    show_->setChecked(grid.show);
    lock_ = new QCheckBox("&Lock to grid", this);
    lock_->setObjectName("lock");
    lock_->setChecked(grid.lock);
    form->addRow(show_);
    form->addRow(lock_);
    const struct {
        const char* label;
        const char* name;
        int GridSettings::*value;
        int low, high, spinLow, spinHigh;
    } fields[] = {
        {"&X spacing:", "xSpacing", &GridSettings::xSpacing, kSpacingLow, kSpacingHigh, GridSettings::kMinSpacing,
         GridSettings::kMaxSpacing},
        {"&Y spacing:", "ySpacing", &GridSettings::ySpacing, kSpacingLow, kSpacingHigh, GridSettings::kMinSpacing,
         GridSettings::kMaxSpacing},
        {"X &divisions:", "xSubDivs", &GridSettings::xSubDivs, kDivisionsLow, kDivisionsHigh,
         GridSettings::kMinDivisions, GridSettings::kMaxDivisions},
        {"Y d&ivisions:", "ySubDivs", &GridSettings::ySubDivs, kDivisionsLow, kDivisionsHigh,
         GridSettings::kMinDivisions, GridSettings::kMaxDivisions},
    };
    for (const auto& f : fields) {
        auto* box = new SpinField(f.spinLow, f.spinHigh, this);
        box->setObjectName(f.name);
        box->setValue(grid.*f.value);
        form->addRow(f.label, box);
        fields_.push_back({box, f.low, f.high, f.value});
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

void CGridDialog::accept()
{
    GridSettings g = grid_;
    g.show = show_->isChecked();
    g.lock = lock_->isChecked();
    for (const Field& f : fields_) {
        const auto value = acceptInteger(f.box->cleanText().toStdString(), f.low, f.high);
        if (!value) {
            f.box->setFocus();
            f.box->selectAll();
            return;
        }
        g.*f.value = *value;
    }
    grid_ = g;
    QDialog::accept();
}

} // namespace celvane
