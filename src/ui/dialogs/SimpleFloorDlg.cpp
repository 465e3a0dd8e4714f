#include "ui/dialogs/SimpleFloorDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

std::string CSimpleFloorDlg::GetFreeFloorName(const CLENIProject& project) {
    for (int n = 1;; ++n) {
        std::string name = StrPrintf("FLOOR_%03d", n);
        if (!project.FloorExists(name)) return name;
    }
}

CSimpleFloorDlg::CSimpleFloorDlg(const CLENIProject& project, QWidget* parent)
    : CCheckedDialog("Add Simple Floor", parent), m_Project(project) {
    SetHelpPage("simple-floor.html");
    QLabel* note =
        AddNote("Add a floor with a single room and single zone. Windows can be added in the usual way "
                "after the floor has been created.");
    // The explanation comes first, above the fields.
    GetMainLayout()->insertWidget(0, note);
    m_pName = AddField("Floor name:", QString::fromStdString(GetFreeFloorName(project)), 20);
    m_pX = AddField("X length (m):", QString::fromStdString(FormatDouble("%.1fm", m_dX)));
    m_pY = AddField("Y width (m):", QString::fromStdString(FormatDouble("%.1fm", m_dY)));
    m_pZ = AddField("Z height (m):", QString::fromStdString(FormatDouble("%.1fm", m_dZ)));
    setMinimumWidth(380);
    FinishLayout();
}

bool CSimpleFloorDlg::OnOK() {
    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    if (name.empty()) {
        WalertBox("Please name the floor.");
        return false;
    }
    if (m_Project.FloorExists(name)) {
        WalertBox("A floor named <%s>\nalready exists", name.c_str());
        return false;
    }
    const double x = FieldDouble(m_pX), y = FieldDouble(m_pY), z = FieldDouble(m_pZ);
    if (x < 0.1 || x > 1000.0 || y < 0.1 || y > 1000.0) {
        WalertBox("Plan dimensions too big or too small");
        return false;
    }
    if (z < 1.0 || z > 200.0) {
        WalertBox("Height (%.1fm) too big or too small", z);
        return false;
    }
    m_csName = name;
    m_dX = x;
    m_dY = y;
    m_dZ = z;
    return true;
}
