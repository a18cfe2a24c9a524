#pragma once
// The Export dialog: a file name, the kind to write, and "Current Selection" to write only the
// marked frames (offered only when some frame is marked).

#include <QDialog>

#include "export/Exporter.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace celvane {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    ExportDialog(const std::string& suggestedPath, bool haveSelection, QWidget* parent = nullptr);

    std::string path() const;
    // The file that will be written: the name, with the kind's extension when it has none, in
    // the suggested file's folder when it names none.
    std::string targetPath() const;
    ExportKind kind() const;
    bool selectionOnly() const;
    void setPath(const std::string& path);
    void setKind(ExportKind kind);
    void setSelectionOnly(bool on);

    // Stays open when the file exists and the user would rather not replace it.
    void accept() override;

private:
    QLineEdit* path_;
    QComboBox* kinds_;
    QCheckBox* selection_;
    std::string folder_;
};

} // namespace celvane
