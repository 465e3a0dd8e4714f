#include "ui/dialogs/MultiFloorDlg.h"

#include "base/MessageBoxes.h"

#include <QLineEdit>

CMultiFloorDlg::CMultiFloorDlg(int instances, QWidget* parent)
    : CCheckedDialog("Multiple Instances Of Floor", parent), m_iInstances(instances) {
    SetHelpPage("floor-instances.html");
    m_pInstances = AddField("Number of consecutive instances of the floor:", QString::number(instances));
    FinishLayout();
}

bool CMultiFloorDlg::OnOK() {
    const int instances = FieldInt(m_pInstances);
    if (instances < 1 || instances > 1000) {
        WalertBox("Floors can have between %d and %d instances.", 1, 1000);
        return false;
    }
    m_iInstances = instances;
    return true;
}
