#pragma once
// The Print dialog: the printer (or a PDF file), the pages and copies, and how the frames go onto
// the paper: by scale or by frames per page, as a flick book, with crop marks, with the frames'
// numbers. The page count and page range follow the layout as it changes.

#include <QDialog>
#include <QPrinter>

#include "print/PrintLayout.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace celvane {

class Film;

class CPrintDialog : public QDialog {
    Q_OBJECT

public:
    // `pdfPath` is offered as the file when printing to PDF.
    CPrintDialog(const Film& film, QPrinter& printer, const QString& pdfPath, QWidget* parent);

    const PrintLayout& layout() const { return layout_; }
    int fromPage() const;
    int toPage() const;
    // The dialog was closed with "Preview" rather than OK.
    bool previewChosen() const { return preview_; }
    // Sets the printer up as chosen (destination, copies); call after the dialog is accepted.
    void applyToPrinter() const;
    // The PDF file as typed.
    QString pdfPath() const;
    // Printing over an existing PDF asks first; No keeps the dialog open to change the name.
    void accept() override;

private:
    void buildControls(const QString& pdfPath);
    // Printer, PDF file, pages and copies.
    QFormLayout* printerForm(const QString& pdfPath);
    // The Layout and Special groups.
    QHBoxLayout* layoutGroups();
    // OK, Cancel and Preview.
    QDialogButtonBox* dialogButtons();
    void choosePrinter(int index);
    void readPaper();
    void scaleChanged(int percent);
    void framesPerPageChanged(int count);
    // Shows what the layout now says, clamping the page range to a new page count.
    void showLayout();

    QPrinter& printer_;
    PrintLayout layout_;
    bool preview_ = false;
    int shownFramesPerPage_ = -1;
    int shownPageCount_ = -1;
    QComboBox* printers_ = nullptr;
    QLineEdit* pdfFile_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QCheckBox* collate_ = nullptr;
    QSpinBox* scale_ = nullptr;
    QSpinBox* framesPerPage_ = nullptr;
    QCheckBox* flickBook_ = nullptr;
    QCheckBox* cropMarks_ = nullptr;
    QCheckBox* frameNumbers_ = nullptr;
    QLabel* pages_ = nullptr;
};

} // namespace celvane
