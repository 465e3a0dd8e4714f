#pragma once
// Small helpers shared by the opening dialogs.

#include <QLineEdit>
#include <string>

// An edit field holding the text; maxLength 0: no limit.
inline QLineEdit* NewField(QWidget* parent, const std::string& text, int maxLength = 0) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    if (maxLength > 0) field->setMaxLength(maxLength);
    field->setMinimumWidth(70);
    return field;
}
