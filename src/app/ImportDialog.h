#pragma once
// The Import dialog: the file to bring into the film, with "Options..." for the import options.

#include <QDialog>

#include "film/Merge.h"

class QLineEdit;

namespace celvane {

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // "Browse..." starts in `folder`.
    ImportDialog(const ImportOptions& options, const std::string& folder, QWidget* parent = nullptr);

    std::string path() const;
    void setPath(const std::string& path);
    const ImportOptions& options() const { return options_; }

private:
    QLineEdit* path_;
    ImportOptions options_;
};

} // namespace celvane
