#pragma once
// A modal dialog whose OK button checks the input first: a failed check has shown its message
// and keeps the dialog open with the input unchanged. Every dialog opens with the keyboard in its
// first field, and F1 (or its Help button) opens its page of the user manual.

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

// Field text as the C library reads a number: a trailing unit is ignored, no number reads as 0.
double FieldDouble(const QLineEdit* field);
int FieldInt(const QLineEdit* field);
std::string FieldText(const QLineEdit* field);
