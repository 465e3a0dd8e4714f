#include "ui/editor/DxfViewSettings.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <QLineEdit>

namespace {
const TypedNumberField kGridSize = {"Grid snap size", "m", "metres from 0.1 to 100", false};
} // namespace

CDxfViewSettings::CDxfViewSettings(double gridSize, QWidget* parent)
    : CCheckedDialog("Grid Snap Settings", parent), m_dGridSize(gridSize) {
    SetHelpPage("grid-snap.html");
    m_pGridSize = AddNumberField("Grid snap size (m):", kGridSize, gridSize, 3, "", 10);
    FinishLayout();
}

bool CDxfViewSettings::OnOK() {
    double size = 0.0;
    if (!ReadNumber(m_pGridSize, kGridSize, size)) return false;
    if (size < 0.1 || size > 100.0) {
        WalertBox("Grid snap size must be between %.2fm and %.2fm", 0.1, 100.0);
        return false;
    }
    m_dGridSize = size;
    return true;
}
