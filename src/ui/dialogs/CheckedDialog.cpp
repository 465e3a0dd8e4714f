#include "ui/dialogs/CheckedDialog.h"

#include "base/MessageBoxes.h"
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
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cmath>

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

QLineEdit* CCheckedDialog::AddNumberField(const QString& label, const TypedNumberField& what, double value,
                                          int decimals, const std::string& suffix, int maxLength) {
    QLineEdit* field = AddField(label, ShowNumber(value, decimals, suffix), maxLength);
    NameNumberField(field, what);
    return field;
}

CTypedNumberReader CCheckedDialog::NumberReader() const {
    return CTypedNumberReader(locale().decimalPoint().toStdString());
}

QString CCheckedDialog::ShowNumber(double value, int decimals, const std::string& suffix) const {
    return QString::fromStdString(NumberReader().Show(value, decimals, suffix));
}

namespace {
void RefuseNumber(QLineEdit* field, const TypedNumberField& what) {
    WalertBox("%s", CTypedNumberReader::Refusal(what, FieldText(field)).c_str());
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}
} // namespace

bool CCheckedDialog::ReadNumber(QLineEdit* field, const TypedNumberField& what, double& value) const {
    if (NumberReader().Read(FieldText(field), what, value)) return true;
    RefuseNumber(field, what);
    return false;
}

bool CCheckedDialog::ReadNumber(QLineEdit* field, const TypedNumberField& what, int& value) const {
    if (NumberReader().Read(FieldText(field), what, value)) return true;
    RefuseNumber(field, what);
    return false;
}

void NameNumberField(QLineEdit* field, const TypedNumberField& what) {
    field->setObjectName(QString::fromUtf8(what.name));
}

double FieldDouble(const QLineEdit* field) {
    std::string text = FieldText(field);
    const std::string sign = field->locale().decimalPoint().toStdString();
    if (sign != ".") {
        // The other sign ends the number, as it would for OK.
        for (char& c : text)
            if (c == '.') c = ' ';
        const size_t at = text.find(sign);
        if (!sign.empty() && at != std::string::npos) text.replace(at, sign.size(), ".");
    }
    const double value = ParseDouble(text);
    // An overflowing or non-numeric text must not slip through as NaN.
    return std::isfinite(value) ? value : 0.0;
}

std::string FieldText(const QLineEdit* field) {
    return field->text().toStdString();
}
