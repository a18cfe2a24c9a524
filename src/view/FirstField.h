#pragma once
// Dialogs open where a person starts typing.

class QWidget;

namespace celvane {

// Gives the focus to the first field that takes typing (a text or number field that is enabled),
// in the order the keyboard visits the dialog's controls; nothing changes when there is none.
void startInFirstField(QWidget& dialog);

} // namespace celvane
