#include "ui/dialogs/SimpleFloorDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
const TypedNumberField kX = {"X length", "m", "metres from 0.1 to 1000", false};
const TypedNumberField kY = {"Y width", "m", "metres from 0.1 to 1000", false};
const TypedNumberField kZ = {"Z height", "m", "metres from 1 to 200", false};
} // namespace

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
    m_pX = AddNumberField("X length (m):", kX, m_dX, 1, "m");
    m_pY = AddNumberField("Y width (m):", kY, m_dY, 1, "m");
    m_pZ = AddNumberField("Z height (m):", kZ, m_dZ, 1, "m");
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
    double x = 0.0, y = 0.0, z = 0.0;
    if (!ReadNumber(m_pX, kX, x) || !ReadNumber(m_pY, kY, y) || !ReadNumber(m_pZ, kZ, z)) return false;
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
