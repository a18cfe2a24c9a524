#pragma once
// What the playback dialogs share: OK and Cancel, a number checked when OK is pressed, and the
// field taken again, all selected, after a refusal.

#include <QString>
#include <optional>

class QDialog;
class QDialogButtonBox;
class QLineEdit;

namespace celvane {

// A number typed into a dialog, accepted within low ... high; else the refusal message.
std::optional<double> acceptNumber(const QString& text, double low, double high);
// OK and Cancel buttons that accept and reject the dialog.
QDialogButtonBox* okCancel(QDialog* dialog);
// Focus on the field with its text selected, so that typing replaces it.
void refocus(QLineEdit* edit);

} // namespace celvane
