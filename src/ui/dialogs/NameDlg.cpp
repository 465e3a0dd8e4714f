#include "ui/dialogs/NameDlg.h"

#include "app/LENIBDoc.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <QLineEdit>

CNameDlg::CNameDlg(const std::string& proposal, QWidget* parent)
    : CCheckedDialog("Save As New Name", parent) {
    SetHelpPage("save-as-new-name.html");
    m_pName = AddField("New project name:", QString::fromStdString(proposal), 100);
    m_pName->selectAll();
    setMinimumWidth(360);
    FinishLayout();
}

bool CNameDlg::OnOK() {
    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    // An empty name would make the copy's folder the all-projects folder itself.
    if (name.empty()) {
        WalertBox("Project name is...?");
        return false;
    }
    if (!IsAcceptableProjectName(name)) {
        WalertBox("%s", kBadNameCharactersMessage);
        return false;
    }
    m_csName = name;
    return true;
}
