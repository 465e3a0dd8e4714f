#include "ui/dialogs/CheckedDialog.h"

#include "base/TextUtils.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>
#include <cmath>
#include <cstdlib>

CCheckedDialog::CCheckedDialog(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    m_pMain = new QVBoxLayout(this);
    m_pForm = new QFormLayout;
    m_pForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_pMain->addLayout(m_pForm);
    m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &CCheckedDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CCheckedDialog::FinishLayout() {
    m_pMain->addStretch(1);
    m_pMain->addWidget(m_pButtons);
}

void CCheckedDialog::accept() {
    if (OnOK()) QDialog::accept();
}

QPushButton* CCheckedDialog::GetOkButton() const {
    return m_pButtons->button(QDialogButtonBox::Ok);
}

QLineEdit* CCheckedDialog::AddField(const QString& label, const QString& text, int maxLength) {
    auto* field = new QLineEdit(text, this);
    if (maxLength > 0) field->setMaxLength(maxLength);
    m_pForm->addRow(label, field);
    return field;
}

QLabel* CCheckedDialog::AddNote(const QString& text) {
    auto* note = new QLabel(text, this);
    note->setWordWrap(true);
    m_pMain->addWidget(note);
    return note;
}

double FieldDouble(const QLineEdit* field) {
    const double value = ParseDouble(FieldText(field));
    // An overflowing or non-numeric text must not slip through a range check as NaN.
    return std::isfinite(value) ? value : 0.0;
}

int FieldInt(const QLineEdit* field) {
    const std::string text = FieldText(field);
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

std::string FieldText(const QLineEdit* field) {
    return field->text().toStdString();
}
