#pragma once
// "Define Print Pages": a tree of the project, its floors, their rooms and the rooms' zones, each
// with a check box for its print flag. Ticking a floor or a room ticks (unticking clears) everything
// in it; "All" and "None" tick or clear the whole tree. OK writes the flags back by name.

#include "ui/dialogs/CheckedDialog.h"

class CLENIBDoc;
class CLENIProject;
class QPushButton;
class QTreeWidget;

class CDefinePrintPagesDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    CDefinePrintPagesDlg(CLENIProject& project, QWidget* parent = nullptr);
    QTreeWidget* GetTree() const { return m_pTree; }
    QPushButton* GetAllButton() const { return m_pAll; }
    QPushButton* GetNoneButton() const { return m_pNone; }
    // Ticks or clears every item.
    void TickAll(bool tick);

  protected:
    bool OnOK() override;

  private:
    CLENIProject& m_Project;
    QTreeWidget* m_pTree;
    QPushButton* m_pAll = nullptr;
    QPushButton* m_pNone = nullptr;
    bool m_bTicking = false; // set while ticks are handed down
};

// The File menu command: "No project is loaded" without a project; on OK the document is marked
// modified. True when the flags were written.
bool RunDefinePrintPages(QWidget* parent, CLENIBDoc& doc);
