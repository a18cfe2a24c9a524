#include "app/ImportDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/FileDialogs.h"
#include "app/ImportOptionsDialog.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"

namespace celvane {

namespace {
const char* kFilters = "Animations (*.qfm *.gif);;Bitmap files (*.gif *.bmp *.dib *.ff9 *.png *.jpg *.jpeg);;"
                       "Other graphics (*.wmf *.aff);;Palette files (*.pal);;All Files (*)";
}

ImportDialog::ImportDialog(const ImportOptions& options, const std::string& folder, QWidget* parent)
    : QDialog(parent), options_(options)
{
    setWindowTitle("Import");
    path_ = new QLineEdit;
    path_->setMinimumWidth(320);
    auto* browse = new QPushButton("&Browse...");
    auto* more = new QPushButton("&Options...");
    auto* row = new QHBoxLayout;
    row->addWidget(path_);
    row->addWidget(browse);
    auto* form = new QFormLayout(this);
    form->addRow(buddyLabel("&File name:", path_), row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    buttons->addButton(more, QDialogButtonBox::ActionRole);
    form->addRow(buttons);
    connect(browse, &QPushButton::clicked, this, [this, folder] {
        if (const auto chosen = FileDialogs::chooser().openFile("Import", kFilters, folder))
            setPath(*chosen);
    });
    connect(more, &QPushButton::clicked, this, [this] {
        if (const auto chosen = ImportOptionsQuestion::current().ask(options_, this))
            options_ = *chosen;
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

std::string ImportDialog::path() const { return path_->text().trimmed().toStdString(); }

void ImportDialog::setPath(const std::string& path) { path_->setText(QString::fromStdString(path)); }

} // namespace celvane
