#pragma once
// The "Import Options" sheet and its "Background" page: whether imported pictures become the
// background of frames, which frames, and how several pictures are spread over them.

#include <QDialog>

#include "film/Merge.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace celvane {

class ImportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportOptionsDialog(const ImportOptions& options, QWidget* parent = nullptr);
    ImportOptions options() const;
    void setAsBackground(bool on);
    // Everything but "As Background" is usable only while it is ticked.
    bool choicesEnabled() const;

private:
    QCheckBox* background_;
    QGroupBox* applyTo_;
    QGroupBox* use_;
    QRadioButton* applyButtons_[3];
    QRadioButton* useButtons_[3];
};

} // namespace celvane
