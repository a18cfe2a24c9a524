#include "view/FirstField.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>

namespace celvane {

namespace {
bool takesTyping(const QWidget& w)
{
    // A number field's own text field is part of it, not a field of its own.
    const auto* edit = qobject_cast<const QLineEdit*>(&w);
    const bool field = qobject_cast<const QAbstractSpinBox*>(&w)
                    || (edit && !qobject_cast<const QAbstractSpinBox*>(edit->parent()));
    return field && w.isEnabled() && !w.isHidden() && w.focusPolicy() != Qt::NoFocus;
}
} // namespace

void startInFirstField(QWidget& dialog)
{
    for (QWidget* w = dialog.nextInFocusChain(); w && w != &dialog; w = w->nextInFocusChain())
        if (dialog.isAncestorOf(w) && takesTyping(*w)) {
            w->setFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->selectAll();
            return;
        }
}

QLabel* buddyLabel(const char* text, QWidget* field)
{
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

} // namespace celvane
