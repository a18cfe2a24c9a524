#pragma once
// The Grid Settings dialog of one film window.

#include <QDialog>
#include <vector>

#include "view/GridSettings.h"

class QCheckBox;
class QSpinBox;

namespace celvane {

class CGridDialog : public QDialog {
    Q_OBJECT
public:
    explicit CGridDialog(const GridSettings& grid, QWidget* parent = nullptr);
    // The accepted grid.
    const GridSettings& grid() const { return grid_; }

    void accept() override;

private:
    struct Field {
        QSpinBox* box;
        int low, high;
        int GridSettings::*value;
    };

    GridSettings grid_;
    QCheckBox* show_;
    QCheckBox* lock_;
    std::vector<Field> fields_;
};

} // namespace celvane
