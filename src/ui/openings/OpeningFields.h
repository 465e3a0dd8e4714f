#pragma once
// Small helpers shared by the opening dialogs.

#include "ui/dialogs/CheckedDialog.h"

#include <QLineEdit>
#include <string>

// An edit field holding the text; maxLength 0: no limit.
inline QLineEdit* NewField(QWidget* parent, const std::string& text, int maxLength = 0) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    if (maxLength > 0) field->setMaxLength(maxLength);
    field->setMinimumWidth(70);
    return field;
}

// An edit field holding a number of the kind `what`, as the reader shows it.
inline QLineEdit* NewNumberField(QWidget* parent, const CTypedNumberReader& reader,
                                 const TypedNumberField& what, double value, int decimals,
                                 const std::string& suffix = "", int maxLength = 0, int width = 0) {
    QLineEdit* field = NewField(parent, reader.Show(value, decimals, suffix, width), maxLength);
    NameNumberField(field, what);
    return field;
}
