#pragma once
// A modal dialog whose OK button checks the input first: a failed check has shown its message
// and keeps the dialog open with the input unchanged. Every dialog opens with the keyboard in its
// first field, and F1 (or its Help button) opens its page of the user manual.

#include "base/TypedNumber.h"

#include <QDialog>
#include <string>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class CCheckedDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CCheckedDialog(const QString& title, QWidget* parent = nullptr);
    void accept() override;
    QPushButton* GetOkButton() const;
    // The page of the user manual for this dialog, such as "room.html"; the list of all dialogs
    // until a derived dialog names its own.
    void SetHelpPage(const std::string& page) { m_csHelpPage = page; }
    const std::string& GetHelpPage() const { return m_csHelpPage; }
    // Opens the help page (F1).
    void ShowHelp();
    // The field that takes the keyboard when the dialog opens: the first enabled, visible input
    // widget in tab order, or nullptr.
    QWidget* FindFirstInputField() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // False keeps the dialog open.
    virtual bool OnOK() = 0;
    // A labelled field of the form; maxLength 0: no limit.
    QLineEdit* AddField(const QString& label, const QString& text, int maxLength = 0);
    QLabel* AddNote(const QString& text);
    // A labelled field holding a number of the kind `what`, shown with the given decimals.
    QLineEdit* AddNumberField(const QString& label, const TypedNumberField& what, double value, int decimals,
                              const std::string& suffix = "", int maxLength = 0);
    // The value of a numeric field; a text that is no number of its kind is refused with a
    // message naming the field, and the keyboard goes back to the field.
    bool ReadNumber(QLineEdit* field, const TypedNumberField& what, double& value) const;
    bool ReadNumber(QLineEdit* field, const TypedNumberField& what, int& value) const;
    // A number as this dialog shows it: the locale's decimal sign, the decimals that show it exactly.
    QString ShowNumber(double value, int decimals, const std::string& suffix = "") const;
    // Numbers in the decimal sign of this dialog's locale.
    CTypedNumberReader NumberReader() const;
    QVBoxLayout* GetMainLayout() const { return m_pMain; }
    QFormLayout* GetForm() const { return m_pForm; }
    // The buttons go last; derived constructors call this when their fields are in.
    void FinishLayout();

  private:
    QVBoxLayout* m_pMain;
    QFormLayout* m_pForm;
    QDialogButtonBox* m_pButtons;
    std::string m_csHelpPage = "dialogs.html";
};

// The name of a numeric field (its object name), by which a test finds it.
void NameNumberField(QLineEdit* field, const TypedNumberField& what);
// A field's number for a picture or a hint while the user types: the leading number in the
// locale's decimal sign, 0 when there is none. OK reads through ReadNumber.
double FieldDouble(const QLineEdit* field);
std::string FieldText(const QLineEdit* field);
