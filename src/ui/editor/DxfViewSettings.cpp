#include "ui/editor/DxfViewSettings.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <QLineEdit>

CDxfViewSettings::CDxfViewSettings(double gridSize, QWidget* parent)
    : CCheckedDialog("Grid Snap Settings", parent), m_dGridSize(gridSize) {
    SetHelpPage("grid-snap.html");
    m_pGridSize = AddField("Grid snap size (m):", QString::fromStdString(FormatDouble("%.3f", gridSize)), 10);
    FinishLayout();
}

bool CDxfViewSettings::OnOK() {
    const double size = FieldDouble(m_pGridSize);
    if (size < 0.1 || size > 100.0) {
        WalertBox("Grid snap size must be between %.2fm and %.2fm", 0.1, 100.0);
        return false;
    }
    m_dGridSize = size;
    return true;
}
