#include "ui/dialogs/FloorDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <QLineEdit>

namespace {
const TypedNumberField kHeight = {"Floor to ceiling distance", "m", "metres from 1 to 200", false};
} // namespace

CFloorDlg::CFloorDlg(double height, QWidget* parent)
    : CCheckedDialog("Floor Properties", parent), m_dHeight(height) {
    SetHelpPage("floor-properties.html");
    m_pHeight = AddNumberField("Floor to ceiling distance (m):", kHeight, height, 2, " m", 20);
    FinishLayout();
}

bool CFloorDlg::OnOK() {
    double height = 0.0;
    if (!ReadNumber(m_pHeight, kHeight, height)) return false;
    if (height < 1.0 || height > 200.0) {
        WalertBox("Floor height must be from %.2f to %.2f meters.", 1.0, 200.0);
        return false;
    }
    m_dHeight = height;
    return true;
}
