#include "app/CPrintDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/FileDialogs.h"
#include "print/PagePrinter.h"
#include "view/FirstField.h"
#include "view/TitleRoom.h"

namespace celvane {

namespace {

QSpinBox* spinBox(const char* name, int low, int high)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(low, high);
    return spin;
}

} // namespace

CPrintDialog::CPrintDialog(const Film& film, QPrinter& printer, const QString& pdfPath, QWidget* parent)
    : QDialog(parent), printer_(printer), layout_(PagePrinter::layoutFor(film, printer.pageLayout()))
{
    setWindowTitle("Print");
    buildControls(pdfPath);
    showLayout();
    startInFirstField(*this);
    makeRoomForTitle(*this);
}

void CPrintDialog::buildControls(const QString& pdfPath)
{
    auto* column = new QVBoxLayout(this);
    column->addLayout(printerForm(pdfPath));
    column->addLayout(layoutGroups());
    column->addWidget(dialogButtons());

    const QSignalBlocker quiet(flickBook_), quietToo(cropMarks_);
    flickBook_->setChecked(layout_.has(PrintLayout::FlickBook));
    cropMarks_->setChecked(layout_.has(PrintLayout::CropMarks));
    const int current = printers_->findData(printer_.outputFormat() == QPrinter::PdfFormat ? QString() : printer_.printerName());
    printers_->setCurrentIndex(std::max(current, 0));
    choosePrinter(printers_->currentIndex());
}

QFormLayout* CPrintDialog::printerForm(const QString& pdfPath)
{
    printers_ = new QComboBox;
    printers_->setObjectName("printer");
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers_->addItem(name, name);
    printers_->addItem("Print to PDF file", QString());
    pdfFile_ = new QLineEdit(pdfPath);
    pdfFile_->setObjectName("pdfFile");
    auto* setup = new QPushButton("Set&up...");

    from_ = spinBox("from", 1, 1);
    to_ = spinBox("to", 1, 1);
    copies_ = spinBox("copies", 1, 100);
    collate_ = new QCheckBox("C&ollate");
    auto* range = new QHBoxLayout;
    range->addWidget(buddyLabel("&From page", from_));
    range->addWidget(from_);
    range->addWidget(buddyLabel("&To", to_));
    range->addWidget(to_);
    pages_ = new QLabel;
    pages_->setObjectName("pageCount");
    range->addWidget(pages_);

    auto* form = new QFormLayout;
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(printers_, 1);
    printerRow->addWidget(setup);
    form->addRow("Printer:", printerRow);
    form->addRow("P&DF file:", pdfFile_);
    form->addRow("Pages:", range);
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(copies_);
    copiesRow->addWidget(collate_);
    form->addRow(buddyLabel("&Copies:", copies_), copiesRow);

    connect(printers_, &QComboBox::currentIndexChanged, this, &CPrintDialog::choosePrinter);
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(&printer_, this);
        if (dialog.exec() == QDialog::Accepted)
            readPaper();
    });
    return form;
}

QHBoxLayout* CPrintDialog::layoutGroups()
{
    scale_ = spinBox("scale", PrintLayout::kMinScalePercent, PrintLayout::kMaxScalePercent);
    framesPerPage_ = spinBox("framesPerPage", 1, PrintLayout::kMaxFramesPerPage);
    framesPerPage_->setWrapping(true);
    auto* layoutBox = new QGroupBox("Layout");
    auto* layoutForm = new QFormLayout(layoutBox);
    layoutForm->addRow("&Scale (in %)", scale_);
    layoutForm->addRow("Frames &Per Page", framesPerPage_);

    flickBook_ = new QCheckBox("F&lick book");
    flickBook_->setObjectName("flickBook");
    cropMarks_ = new QCheckBox("Crop &marks");
    cropMarks_->setObjectName("cropMarks");
    frameNumbers_ = new QCheckBox("Frame &numbers");
    frameNumbers_->setObjectName("frameNumbers");
    auto* special = new QGroupBox("Special");
    auto* specialColumn = new QVBoxLayout(special);
    specialColumn->addWidget(flickBook_);
    specialColumn->addWidget(cropMarks_);
    specialColumn->addWidget(frameNumbers_);

    auto* groups = new QHBoxLayout;
    groups->addWidget(layoutBox);
    groups->addWidget(special);

    connect(scale_, &QSpinBox::valueChanged, this, &CPrintDialog::scaleChanged);
    connect(framesPerPage_, &QSpinBox::valueChanged, this, &CPrintDialog::framesPerPageChanged);
    connect(flickBook_, &QCheckBox::toggled, this, [this](bool on) {
        layout_.setFlickBook(on);
        showLayout();
    });
    connect(cropMarks_, &QCheckBox::toggled, this, [this](bool on) {
        layout_.setCropMarks(on);
        showLayout();
    });
    connect(frameNumbers_, &QCheckBox::toggled, this, [this](bool on) { layout_.setFrameNumbers(on); });
    return groups;
}

QDialogButtonBox* CPrintDialog::dialogButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* preview = buttons->addButton("Pre&view", QDialogButtonBox::ActionRole);
    connect(preview, &QPushButton::clicked, this, [this] {
        preview_ = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void CPrintDialog::choosePrinter(int index)
{
    const QString name = printers_->itemData(index).toString();
    pdfFile_->setEnabled(name.isEmpty());
    if (name.isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPrinterName(name);
    }
    readPaper();
}

void CPrintDialog::readPaper()
{
    PagePrinter::setPaper(layout_, printer_.pageLayout());
    layout_.layOut();
    showLayout();
}

void CPrintDialog::scaleChanged(int percent)
{
    if (percent == layout_.scalePercent())
        return;
    layout_.changeScalePercent(percent);
    showLayout();
}

void CPrintDialog::framesPerPageChanged(int count)
{
    if (count == shownFramesPerPage_)
        return;
    layout_.changeFramesPerPage(shownFramesPerPage_, count);
    showLayout();
}

void CPrintDialog::showLayout()
{
    {
        const QSignalBlocker quiet(scale_), quietToo(framesPerPage_), quietNumbers(frameNumbers_);
        scale_->setValue(layout_.scalePercent());
        framesPerPage_->setValue(std::max(1, layout_.framesPerPage()));
        // A flick book brings its numbers with it.
        frameNumbers_->setChecked(layout_.has(PrintLayout::FrameNumbers));
    }
    shownFramesPerPage_ = framesPerPage_->value();

    const int pages = std::max(1, layout_.pageCount());
    if (layout_.pageCount() != shownPageCount_) {
        const bool wasAll = to_->value() == shownPageCount_ || shownPageCount_ < 1;
        from_->setRange(1, pages);
        to_->setRange(1, pages);
        if (wasAll)
            to_->setValue(pages);
        shownPageCount_ = layout_.pageCount();
    }
    pages_->setText(layout_.pageCount() < 1 ? QString("No frame fits on the paper")
                                            : QString("of %1").arg(layout_.pageCount()));
    if (QPushButton* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok))
        ok->setEnabled(layout_.pageCount() >= 1);
}

int CPrintDialog::fromPage() const { return from_->value(); }

int CPrintDialog::toPage() const { return std::max(from_->value(), to_->value()); }

QString CPrintDialog::pdfPath() const { return pdfFile_->text().trimmed(); }

void CPrintDialog::accept()
{
    // A preview writes no file.
    if (!preview_ && printer_.outputFormat() == QPrinter::PdfFormat && !FileDialogs::mayReplace(pdfPath().toStdString()))
        return;
    QDialog::accept();
}

void CPrintDialog::applyToPrinter() const
{
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        printer_.setOutputFileName(pdfPath());
    printer_.setCopyCount(copies_->value());
    printer_.setCollateCopies(collate_->isChecked());
    printer_.setFromTo(fromPage(), toPage());
}

} // namespace celvane
