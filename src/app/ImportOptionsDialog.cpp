#include "app/ImportOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "view/TitleRoom.h"

namespace celvane {

namespace {
QGroupBox* group(const char* title, const char* const (&labels)[3], QRadioButton* (&buttons)[3])
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QRadioButton(labels[i]);
        layout->addWidget(buttons[i]);
    }
    return box;
}
} // namespace

ImportOptionsDialog::ImportOptionsDialog(const ImportOptions& options, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Import Options");
    auto* page = new QWidget;
    background_ = new QCheckBox("As &Background");
    static const char* const targets[] = {"C&urrent frame", "S&elected frames", "E&ntire film"};
    static const char* const uses[] = {"Use &first", "C&ycle around", "S&tretch to fit"};
    applyTo_ = group("Add to", targets, applyButtons_);
    use_ = group("Background file", uses, useButtons_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(background_);
    layout->addWidget(applyTo_);
    layout->addWidget(use_);
    auto* tabs = new QTabWidget;
    tabs->addTab(page, "Background");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(tabs);
    outer->addWidget(buttons);

    applyButtons_[std::clamp(options.applyTo, 0, 2)]->setChecked(true);
    useButtons_[std::clamp(options.use, 0, 2)]->setChecked(true);
    connect(background_, &QCheckBox::toggled, this, [this](bool on) {
        applyTo_->setEnabled(on);
        use_->setEnabled(on);
    });
    background_->setChecked(options.asBackground);
    applyTo_->setEnabled(options.asBackground);
    use_->setEnabled(options.asBackground);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    makeRoomForTitle(*this);
}

ImportOptions ImportOptionsDialog::options() const
{
    ImportOptions o;
    o.asBackground = background_->isChecked();
    for (int i = 0; i < 3; ++i) {
        if (applyButtons_[i]->isChecked())
            o.applyTo = i;
        if (useButtons_[i]->isChecked())
            o.use = i;
    }
    return o;
}

void ImportOptionsDialog::setAsBackground(bool on) { background_->setChecked(on); }

bool ImportOptionsDialog::choicesEnabled() const { return applyTo_->isEnabled() && use_->isEnabled(); }

namespace {
class SheetQuestion : public ImportOptionsQuestion {
public:
    std::optional<ImportOptions> ask(const ImportOptions& current, QWidget* parent) override
    {
        ImportOptionsDialog sheet(current, parent);
        if (sheet.exec() != QDialog::Accepted)
            return std::nullopt;
        return sheet.options();
    }
};

SheetQuestion sheetQuestion;
ImportOptionsQuestion* question = &sheetQuestion;
} // namespace

ImportOptionsQuestion& ImportOptionsQuestion::current() { return *question; }
void ImportOptionsQuestion::set(ImportOptionsQuestion* q) { question = q ? q : &sheetQuestion; }

} // namespace celvane
