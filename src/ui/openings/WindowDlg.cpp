#include "ui/openings/WindowDlg.h"

#include "app/Preferences.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/ShadingIndex.h"
#include "model/LENIFloor.h"
#include "model/LENIProject.h"
#include "model/LENIRoom.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/openings/OpeningFields.h"
#include "ui/openings/PictureFrame.h"
#include "ui/openings/ShadingDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr double kMaxWindowSize = 500.0; // m
constexpr double kMaxObstructionAngle = 89.999;
const TypedNumberField kWidth = {"Width", "m", "metres above 0, at most 500", false};
const TypedNumberField kHeight = {"Height", "m", "metres above 0, at most 500", false};
const TypedNumberField kCentre = {"Centre along the wall", "m", "metres from 0 to 500", false};
const TypedNumberField kLintel = {"hLi, lintel above the floor", "m", "metres up to the floor height", false};
const TypedNumberField kTau = {"\xCF\x84 d65 sna", "", "a factor above 0, at most 1", false};
const TypedNumberField kK1 = {"k1", "", "a factor above 0, at most 1", false};
const TypedNumberField kK2 = {"k2", "", "a factor above 0, at most 1", false};
const TypedNumberField kK3 = {"k3", "", "a factor above 0, at most 1", false};
const TypedNumberField kTdsa = {"\xCF\x84 d65 sa", "", "a factor from 0 to 1", false};
const TypedNumberField kLength = {"Length of the window L", "m", "metres above 0", false};
const TypedNumberField kGamma = {"Slope angle \xCE\xB3", "\xC2\xB0|deg", "degrees below 90", false};
const TypedNumberField kDistance = {"Distance from the wall d", "m", "metres from 0", false};
const TypedNumberField kHeightToSlope = {"Height of the wall to the slope h", "m", "metres from 0", false};
} // namespace

CWindowDlg::CWindowDlg(const CLENIWindow& window, const CLENIRoom& room, const CLENIFloor& floor,
                       const CLENIProject& project, QWidget* parent)
    : CCheckedDialog("Window Properties", parent), m_Window(window), m_Room(room), m_Floor(floor),
      m_Project(project) {
    SetHelpPage("window.html");
    const CLENIWindow& w = m_Window;
    m_pContext =
        new QLabel(QString::fromStdString(StrPrintf("Floor is %.2fm high, wall is %.2fm wide",
                                                    floor.GetHeight(), room.GetWallLength(w.m_iWallId))),
                   this);
    GetMainLayout()->insertWidget(0, m_pContext);

    auto* grid = new QGridLayout;
    GetMainLayout()->insertLayout(1, grid, 100);

    auto* size = new QGroupBox("Window", this);
    auto* sizeForm = new QFormLayout(size);
    m_pType = new QComboBox(size);
    for (int type = VWT_VERTICAL; type <= VWT_HORIZONTAL_SLOPED; ++type)
        m_pType->addItem(QString::fromStdString(CLENIWindow::GetVertWinTypeName(type)));
    m_pType->setCurrentIndex(std::clamp(w.m_iVertWinType, 0, 2));
    sizeForm->addRow("Window type:", m_pType);
    const CTypedNumberReader reader = NumberReader();
    m_pWidth = NewNumberField(size, reader, kWidth, w.m_dWidth, 2, "", 10);
    sizeForm->addRow("Width (m):", m_pWidth);
    m_pHeight = NewNumberField(size, reader, kHeight, w.m_dHeight, 2, "", 10);
    sizeForm->addRow("Height (m):", m_pHeight);
    m_pCentre = NewNumberField(size, reader, kCentre, w.m_dStart + w.m_dWidth / 2.0, 2, "", 10);
    sizeForm->addRow("Centre along the wall (m):", m_pCentre);
    m_pLintel = NewNumberField(size, reader, kLintel, w.GetLintelHeight(), 2, "", 10);
    sizeForm->addRow("hLi, lintel above the floor (m):", m_pLintel);
    grid->addWidget(size, 0, 0);

    auto* glazing = new QGroupBox("Glazing", this);
    auto* glazingForm = new QFormLayout(glazing);
    m_pTau = NewNumberField(glazing, reader, kTau, w.m_dTauD65, 3);
    glazingForm->addRow("\xCF\x84 d65 sna", m_pTau);
    m_pK1 = NewNumberField(glazing, reader, kK1, w.m_dK1, 3);
    glazingForm->addRow("k1", m_pK1);
    m_pK2 = NewNumberField(glazing, reader, kK2, w.m_dK2, 3);
    glazingForm->addRow("k2", m_pK2);
    m_pK3 = NewNumberField(glazing, reader, kK3, w.m_dK3, 3);
    glazingForm->addRow("k3", m_pK3);
    m_pTdsa = NewNumberField(glazing, reader, kTdsa, w.m_dTD65SA, 3);
    glazingForm->addRow("\xCF\x84 d65 sa", m_pTdsa);
    grid->addWidget(glazing, 1, 0);

    auto* slope = new QGroupBox("Sloped window", this);
    auto* slopeBox = new QVBoxLayout(slope);
    auto* slopeForm = new QFormLayout;
    slopeBox->addLayout(slopeForm);
    m_pLength = NewNumberField(slope, reader, kLength, w.m_dSlopeLength, 1, " m", 0, 4);
    slopeForm->addRow("Length of the window L:", m_pLength);
    m_pGamma = NewNumberField(slope, reader, kGamma, w.m_dGamma, 1, " \xC2\xB0", 0, 4);
    slopeForm->addRow("Slope angle \xCE\xB3:", m_pGamma);
    m_pDistance = NewNumberField(slope, reader, kDistance, w.m_dDistToWall, 1, " m", 0, 4);
    slopeForm->addRow("Distance from the wall d:", m_pDistance);
    m_pHeightToSlope = NewNumberField(slope, reader, kHeightToSlope, w.m_dHeightToSlope, 1, " m", 0, 4);
    slopeForm->addRow("Height of the wall to the slope h:", m_pHeightToSlope);
    m_pPicture = new CPictureFrame(
        [this](IDrawCanvas& canvas, const PictureBox& box) {
            DrawSlopedWindowPicture(canvas, box, m_pType->currentIndex(), FieldDouble(m_pHeightToSlope),
                                    FieldDouble(m_pLength), FieldDouble(m_pGamma), FieldDouble(m_pDistance));
        },
        QSize(260, 190), slope);
    slopeBox->addWidget(m_pPicture, 1);
    grid->addWidget(slope, 0, 1, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* shadingRow = new QHBoxLayout;
    m_pShading = new QPushButton("Shading index...", this);
    m_pIsh = new QLabel(this);
    shadingRow->addWidget(m_pShading);
    shadingRow->addWidget(m_pIsh);
    shadingRow->addStretch(1);
    GetMainLayout()->insertLayout(2, shadingRow);
    ShowShadingIndex();
    FinishLayout();

    connect(m_pType, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { OnTypeChanged(); });
    for (QLineEdit* field : {m_pLength, m_pGamma, m_pDistance, m_pHeightToSlope})
        connect(field, &QLineEdit::textChanged, m_pPicture, qOverload<>(&QWidget::update));
    connect(m_pShading, &QPushButton::clicked, this, [this] { OnShading(); });
    OnTypeChanged();
}

void CWindowDlg::OnTypeChanged() {
    const int type = m_pType->currentIndex();
    m_pHeight->setEnabled(type == VWT_VERTICAL);
    m_pLintel->setEnabled(type == VWT_VERTICAL);
    for (QLineEdit* field : {m_pLength, m_pGamma, m_pDistance, m_pHeightToSlope})
        field->setEnabled(type == VWT_VERTICAL_SLOPED || type == VWT_HORIZONTAL_SLOPED);
    m_pTdsa->setEnabled(type == VWT_HORIZONTAL_SLOPED);
    m_pPicture->update();
}

void CWindowDlg::ShowShadingIndex() {
    m_pIsh->setText(
        QString::fromStdString(StrPrintf("Ish=%.3f", GetShadingIndex(m_Window, m_Floor, m_Project))));
}

void CWindowDlg::OnShading() {
    CShadingDlg dialog(m_Window, m_Floor, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const CLENIWindow& shaded = dialog.GetWindow();
    m_Window.m_dFrontAngle = shaded.m_dFrontAngle;
    m_Window.m_dOverhangAngle = shaded.m_dOverhangAngle;
    m_Window.m_dSideAngle = shaded.m_dSideAngle;
    m_Window.m_bHasGdf = shaded.m_bHasGdf;
    m_Window.m_dGdfTau = shaded.m_dGdfTau;
    m_Window.m_dGdfK1 = shaded.m_dGdfK1;
    m_Window.m_dGdfK2 = shaded.m_dGdfK2;
    m_Window.m_dGdfK3 = shaded.m_dGdfK3;
    m_Window.m_csAtriumName = shaded.m_csAtriumName;
    ShowShadingIndex();
}

bool CWindowDlg::OnOK() {
    const int type = m_pType->currentIndex();
    m_Window.m_iVertWinType = type;
    if (type == VWT_VERTICAL_SLOPED || type == VWT_HORIZONTAL_SLOPED) {
        double gamma = 0.0;
        if (!ReadNumber(m_pGamma, kGamma, gamma)) return false;
        if (type == VWT_VERTICAL_SLOPED && !(gamma >= 75.0 && gamma < 90.0)) {
            WalertBox("Slope angle must be 75\xC2\xB0 or greater, and less than 90\xC2\xB0");
            return false;
        }
        if (type == VWT_HORIZONTAL_SLOPED && !(gamma < 75.0)) {
            WalertBox("Slope angle must be less than 75\xC2\xB0");
            return false;
        }
        double distance = 0.0;
        if (!ReadNumber(m_pDistance, kDistance, distance)) return false;
        if (distance < 0.0) {
            WalertBox("Distance to wall must be 0 or positive");
            return false;
        }
        double length = 0.0;
        if (!ReadNumber(m_pLength, kLength, length)) return false;
        if (!(length > 0.0)) {
            WalertBox("Length of window must be more than 0");
            return false;
        }
        double heightToSlope = 0.0;
        if (!ReadNumber(m_pHeightToSlope, kHeightToSlope, heightToSlope)) return false;
        if (heightToSlope < 0.0) {
            WalertBox("Height to slope wall must be 0 or greater");
            return false;
        }
        double tdsa = 0.0;
        if (!ReadNumber(m_pTdsa, kTdsa, tdsa)) return false;
        if (tdsa < 0.0 || tdsa > 1.0) {
            WalertBox("tdsa must be between 0 and 1");
            return false;
        }
        m_Window.m_dSlopeLength = length;
        m_Window.m_dGamma = gamma;
        m_Window.m_dDistToWall = distance;
        m_Window.m_dHeightToSlope = heightToSlope;
        m_Window.m_dTD65SA = tdsa;
    }
    double height = 0.0;
    if (!ReadNumber(m_pHeight, kHeight, height)) return false;
    if (!(height > 0.0 && height <= kMaxWindowSize)) {
        WalertBox("Window height value incorrect: enter metres above 0, at most %.0f", kMaxWindowSize);
        return false;
    }
    double width = 0.0;
    if (!ReadNumber(m_pWidth, kWidth, width)) return false;
    if (!(width > 0.0 && width <= kMaxWindowSize)) {
        WalertBox("Window width value incorrect: enter metres above 0, at most %.0f", kMaxWindowSize);
        return false;
    }
    double lintel = 0.0;
    if (!ReadNumber(m_pLintel, kLintel, lintel)) return false;
    const double sill = lintel - height;
    if (!(sill >= 0.0 && sill <= kMaxWindowSize)) {
        WalertBox("Window y top (lintel) value incorrect: the lintel must be at least the window height "
                  "and at most %.0f m above it",
                  kMaxWindowSize);
        return false;
    }
    if (lintel > m_Floor.GetHeight()) {
        WalertBox("This floor is %.1fm high. The window top (lintel)\nwould be beyond the top of the floor "
                  "at %.1fm",
                  m_Floor.GetHeight(), lintel);
        return false;
    }
    double centre = 0.0;
    if (!ReadNumber(m_pCentre, kCentre, centre)) return false;
    if (!(centre >= 0.0 && centre <= kMaxWindowSize)) {
        WalertBox("Window center value incorrect: enter metres from 0 to %.0f", kMaxWindowSize);
        return false;
    }
    double tau = 0.0, k1 = 0.0, k2 = 0.0, k3 = 0.0;
    const struct {
        QLineEdit* field;
        const TypedNumberField& what;
        double& value;
        const char* message;
    } factors[] = {{m_pTau, kTau, tau, "Tau value incorrect: enter a factor above 0, at most 1"},
                   {m_pK1, kK1, k1, "k1 value incorrect: enter a factor above 0, at most 1"},
                   {m_pK2, kK2, k2, "k2 value incorrect: enter a factor above 0, at most 1"},
                   {m_pK3, kK3, k3, "k3 value incorrect: enter a factor above 0, at most 1"}};
    for (const auto& factor : factors) {
        if (!ReadNumber(factor.field, factor.what, factor.value)) return false;
        if (!(factor.value > 0.0 && factor.value <= 1.0)) {
            WalertBox("%s", factor.message);
            return false;
        }
    }

    CLENIWindow built = m_Window;
    built.m_dWidth = width;
    built.m_dHeight = height;
    built.m_dSillHeight = sill;
    built.m_dStart = centre - width / 2.0;
    built.m_dTauD65 = tau;
    built.m_dK1 = k1;
    built.m_dK2 = k2;
    built.m_dK3 = k3;
    std::string refusal;
    if (!m_Room.CheckWindowPlacement(built, refusal)) {
        WalertBox("Window Error\n%s", refusal.c_str());
        return false;
    }
    built.m_dFrontAngle = std::clamp(built.m_dFrontAngle, 0.0, kMaxObstructionAngle);
    built.m_dOverhangAngle = std::clamp(built.m_dOverhangAngle, 0.0, kMaxObstructionAngle);
    built.m_dSideAngle = std::clamp(built.m_dSideAngle, 0.0, kMaxObstructionAngle);
    m_Window = built;
    Preferences().m_WindowTemplate = built;
    return true;
}
