#pragma once
// The "Import Options" sheet and its "Background" page: whether imported pictures become the
// background of frames, which frames, and how several pictures are spread over them.

#include <QDialog>
#include <optional>

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

// The question put before pictures join a film. The program asks through here so that tests
// can answer instead of a person.
class ImportOptionsQuestion {
public:
    virtual ~ImportOptionsQuestion() = default;
    // The options chosen, starting from `current`; nothing when the person cancelled.
    virtual std::optional<ImportOptions> ask(const ImportOptions& current, QWidget* parent) = 0;
    // The question in use; by default the "Import Options" sheet.
    static ImportOptionsQuestion& current();
    static void set(ImportOptionsQuestion* question);
};

} // namespace celvane
