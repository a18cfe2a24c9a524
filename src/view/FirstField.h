#pragma once
// Dialogs worked by the keyboard: they open where a person starts typing, and a label's access
// key leads to its field.

class QLabel;
class QWidget;

namespace celvane {

// Gives the focus to the first field that takes typing (a text or number field that is enabled),
// in the order the keyboard visits the dialog's controls; nothing changes when there is none.
void startInFirstField(QWidget& dialog);

// A label whose access key ("&From page") takes the focus to `field`. A label without a field
// would show its '&'.
QLabel* buddyLabel(const char* text, QWidget* field);

} // namespace celvane
