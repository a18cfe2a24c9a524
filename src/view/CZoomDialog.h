#pragma once
// The Zoom dialog: the scale as a number, with presets.

#include <QDialog>
#include <span>

class QLineEdit;

namespace celvane {

class CZoomDialog : public QDialog {
    Q_OBJECT
public:
    // The preset buttons' scales, in the order shown; "Other:" follows them.
    static std::span<const int> presets();
    // The preset button to select for a scale: its index, or presets().size() for "Other:".
    static int presetFor(int scale);

    explicit CZoomDialog(int scale, QWidget* parent = nullptr);
    // The accepted scale (10 ... 1600).
    int scale() const { return scale_; }

    void accept() override;

private:
    QLineEdit* edit_;
    int scale_;
};

} // namespace celvane
