#pragma once
// "Define Print Pages": a tree of the project, its floors, their rooms and the rooms' zones, each
// with a check box for its print flag. OK writes the flags back by name.

#include "ui/dialogs/CheckedDialog.h"

class CLENIBDoc;
class CLENIProject;
class QTreeWidget;

class CDefinePrintPagesDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    CDefinePrintPagesDlg(CLENIProject& project, QWidget* parent = nullptr);
    QTreeWidget* GetTree() const { return m_pTree; }

  protected:
    bool OnOK() override;

  private:
    CLENIProject& m_Project;
    QTreeWidget* m_pTree;
};

// The File menu command: "No project is loaded" without a project; on OK the document is marked
// modified. True when the flags were written.
bool RunDefinePrintPages(QWidget* parent, CLENIBDoc& doc);
