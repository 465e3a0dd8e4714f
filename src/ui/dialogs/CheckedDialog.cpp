#include "ui/dialogs/CheckedDialog.h"

#include "base/TextUtils.h"
#include "ui/shell/HelpPages.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
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
    m_pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &CCheckedDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pButtons, &QDialogButtonBox::helpRequested, this, &CCheckedDialog::ShowHelp);
    // Only OK answers Return; Help and Cancel are reached by click, Tab or their keys.
    for (QAbstractButton* button : m_pButtons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
    GetOkButton()->setDefault(true);
}

void CCheckedDialog::ShowHelp() {
    ShowHelpPage(m_csHelpPage);
}

QWidget* CCheckedDialog::FindFirstInputField() const {
    // Walk the tab order from the dialog itself: the order the user's Tab key follows.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(this) ||
            !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            if (line->isReadOnly()) continue;
            return w;
        }
        if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QAbstractItemView*>(w))
            return w;
    }
    return nullptr;
}

void CCheckedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Typing goes into the first field at once, replacing its proposed text; Return is OK.
    QWidget* first = FindFirstInputField();
    if (!first) first = GetOkButton();
    first->setFocus(Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(first)) line->selectAll();
}

void CCheckedDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelp();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
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
