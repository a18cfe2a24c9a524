#pragma once
// The File Summary dialog: a film's size, colours, frames, file size and how well it packs.

#include <QDialog>

#include "film/FileSummary.h"

namespace celvane {

class FileSummaryDialog : public QDialog {
    Q_OBJECT
public:
    explicit FileSummaryDialog(const FileSummary& summary, QWidget* parent = nullptr);
};

} // namespace celvane
