#include "app/FileSummaryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "view/TitleRoom.h"

namespace celvane {

FileSummaryDialog::FileSummaryDialog(const FileSummary& s, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("File Summary");
    auto* form = new QFormLayout(this);
    const auto value = [&](const char* label, const QString& text, const char* name) {
        auto* shown = new QLabel(text);
        shown->setObjectName(name);
        form->addRow(label, shown);
    };
    value("Pixel width:", QString::number(s.width), "width");
    value("Pixel height:", QString::number(s.height), "height");
    value("Number of colours:", QString::fromStdString(s.colours), "colours");
    value("Number of frames:", QString::number(s.frames), "frames");
    auto* compressed = new QCheckBox("Film Is Compressed");
    compressed->setChecked(s.compressed);
    // It reports; it does not change the film.
    compressed->setAttribute(Qt::WA_TransparentForMouseEvents);
    compressed->setFocusPolicy(Qt::NoFocus);
    form->addRow(compressed);
    value("File size:", QString::asprintf("%lld K", static_cast<long long>(s.fileSizeK)), "fileSize");
    value("Compressed to:", QString::asprintf("%d%%", s.compressedPercent), "compressedTo");
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("Close", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    makeRoomForTitle(*this);
}

} // namespace celvane
