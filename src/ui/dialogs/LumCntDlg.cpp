#include "ui/dialogs/LumCntDlg.h"

#include "base/MessageBoxes.h"

#include <QIntValidator>
#include <QLineEdit>

CLumCntDlg::CLumCntDlg(int count, QWidget* parent)
    : CCheckedDialog("Change Object Count", parent), m_iCount(count) {
    SetHelpPage("luminaire-count.html");
    m_pCount = AddField("Number of luminaires:", QString::number(count));
    // A count is whole and never negative: a list could not be read back with one below 0.
    m_pCount->setValidator(new QIntValidator(0, 1000000, m_pCount));
    FinishLayout();
}

bool CLumCntDlg::OnOK() {
    bool ok = false;
    const int count = m_pCount->text().trimmed().toInt(&ok);
    if (!ok || count < 0) {
        WalertBox("Please enter an integer.");
        return false;
    }
    m_iCount = count;
    return true;
}
