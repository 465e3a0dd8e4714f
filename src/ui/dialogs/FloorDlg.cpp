#include "ui/dialogs/FloorDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <QLineEdit>

CFloorDlg::CFloorDlg(double height, QWidget* parent)
    : CCheckedDialog("Floor Properties", parent), m_dHeight(height) {
    SetHelpPage("floor-properties.html");
    m_pHeight = AddField(
        "Floor to ceiling distance (m):", QString::fromStdString(FormatDouble("%.2f m", height)), 20);
    FinishLayout();
}

bool CFloorDlg::OnOK() {
    const double height = FieldDouble(m_pHeight);
    if (height < 1.0 || height > 200.0) {
        WalertBox("Floor height must be from %.2f to %.2f meters.", 1.0, 200.0);
        return false;
    }
    m_dHeight = height;
    return true;
}
