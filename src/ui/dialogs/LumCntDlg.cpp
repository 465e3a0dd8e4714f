#include "ui/dialogs/LumCntDlg.h"

#include "base/MessageBoxes.h"

#include <QIntValidator>
#include <QLineEdit>

namespace {
const TypedNumberField kCount = {"Number of luminaires", "", "a whole number from 0 to 1000000", true};
} // namespace

CLumCntDlg::CLumCntDlg(int count, QWidget* parent)
    : CCheckedDialog("Change Object Count", parent), m_iCount(count) {
    SetHelpPage("luminaire-count.html");
    m_pCount = AddField("Number of luminaires:", QString::number(count));
    NameNumberField(m_pCount, kCount);
    // A count is whole and never negative: a list could not be read back with one below 0.
    m_pCount->setValidator(new QIntValidator(0, 1000000, m_pCount));
    FinishLayout();
}

bool CLumCntDlg::OnOK() {
    int count = 0;
    if (!ReadNumber(m_pCount, kCount, count)) return false;
    if (count < 0 || count > 1000000) {
        WalertBox("Please enter an integer.");
        return false;
    }
    m_iCount = count;
    return true;
}
