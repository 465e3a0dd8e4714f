#include "ui/dialogs/MultiFloorDlg.h"

#include "base/MessageBoxes.h"

#include <QLineEdit>

namespace {
const TypedNumberField kInstances = {"Number of consecutive instances of the floor", "",
                                     "a whole number from 1 to 1000", true};
} // namespace

CMultiFloorDlg::CMultiFloorDlg(int instances, QWidget* parent)
    : CCheckedDialog("Multiple Instances Of Floor", parent), m_iInstances(instances) {
    SetHelpPage("floor-instances.html");
    m_pInstances = AddField("Number of consecutive instances of the floor:", QString::number(instances));
    NameNumberField(m_pInstances, kInstances);
    FinishLayout();
}

bool CMultiFloorDlg::OnOK() {
    int instances = 0;
    if (!ReadNumber(m_pInstances, kInstances, instances)) return false;
    if (instances < 1 || instances > 1000) {
        WalertBox("Floors can have between %d and %d instances.", 1, 1000);
        return false;
    }
    m_iInstances = instances;
    return true;
}
