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
    m_pWidth = NewField(size, FormatDouble("%.2f", w.m_dWidth), 10);
    sizeForm->addRow("Width (m):", m_pWidth);
    m_pHeight = NewField(size, FormatDouble("%.2f", w.m_dHeight), 10);
    sizeForm->addRow("Height (m):", m_pHeight);
    m_pCentre = NewField(size, FormatDouble("%.2f", w.m_dStart + w.m_dWidth / 2.0), 10);
    sizeForm->addRow("Centre along the wall (m):", m_pCentre);
    m_pLintel = NewField(size, FormatDouble("%.2f", w.GetLintelHeight()), 10);
    sizeForm->addRow("hLi, lintel above the floor (m):", m_pLintel);
    grid->addWidget(size, 0, 0);

    auto* glazing = new QGroupBox("Glazing", this);
    auto* glazingForm = new QFormLayout(glazing);
    m_pTau = NewField(glazing, FormatDouble("%.3f", w.m_dTauD65));
    glazingForm->addRow("\xCF\x84 d65 sna", m_pTau);
    m_pK1 = NewField(glazing, FormatDouble("%.3f", w.m_dK1));
    glazingForm->addRow("k1", m_pK1);
    m_pK2 = NewField(glazing, FormatDouble("%.3f", w.m_dK2));
    glazingForm->addRow("k2", m_pK2);
    m_pK3 = NewField(glazing, FormatDouble("%.3f", w.m_dK3));
    glazingForm->addRow("k3", m_pK3);
    m_pTdsa = NewField(glazing, FormatDouble("%.3f", w.m_dTD65SA));
    glazingForm->addRow("\xCF\x84 d65 sa", m_pTdsa);
    grid->addWidget(glazing, 1, 0);

    auto* slope = new QGroupBox("Sloped window", this);
    auto* slopeBox = new QVBoxLayout(slope);
    auto* slopeForm = new QFormLayout;
    slopeBox->addLayout(slopeForm);
    m_pLength = NewField(slope, FormatDouble("%4.1f m", w.m_dSlopeLength));
    slopeForm->addRow("Length of the window L:", m_pLength);
    m_pGamma = NewField(slope, FormatDouble("%4.1f \xC2\xB0", w.m_dGamma));
    slopeForm->addRow("Slope angle \xCE\xB3:", m_pGamma);
    m_pDistance = NewField(slope, FormatDouble("%4.1f m", w.m_dDistToWall));
    slopeForm->addRow("Distance from the wall d:", m_pDistance);
    m_pHeightToSlope = NewField(slope, FormatDouble("%4.1f m", w.m_dHeightToSlope));
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
        const double gamma = FieldDouble(m_pGamma);
        if (type == VWT_VERTICAL_SLOPED && !(gamma >= 75.0 && gamma < 90.0)) {
            WalertBox("Slope angle must be 75\xC2\xB0 or greater, and less than 90\xC2\xB0");
            return false;
        }
        if (type == VWT_HORIZONTAL_SLOPED && !(gamma < 75.0)) {
            WalertBox("Slope angle must be less than 75\xC2\xB0");
            return false;
        }
        const double distance = FieldDouble(m_pDistance);
        if (distance < 0.0) {
            WalertBox("Distance to wall must be 0 or positive");
            return false;
        }
        const double length = FieldDouble(m_pLength);
        if (!(length > 0.0)) {
            WalertBox("Length of window must be more than 0");
            return false;
        }
        const double heightToSlope = FieldDouble(m_pHeightToSlope);
        if (heightToSlope < 0.0) {
            WalertBox("Height to slope wall must be 0 or greater");
            return false;
        }
        const double tdsa = FieldDouble(m_pTdsa);
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
    const double height = FieldDouble(m_pHeight);
    if (!(height > 0.0 && height <= kMaxWindowSize)) {
        WalertBox("Window height value incorrect");
        return false;
    }
    const double width = FieldDouble(m_pWidth);
    if (!(width > 0.0 && width <= kMaxWindowSize)) {
        WalertBox("Window width value incorrect");
        return false;
    }
    const double lintel = FieldDouble(m_pLintel);
    const double sill = lintel - height;
    if (!(sill >= 0.0 && sill <= kMaxWindowSize)) {
        WalertBox("Window y top (lintel) value incorrect");
        return false;
    }
    if (lintel > m_Floor.GetHeight()) {
        WalertBox("This floor is %.1fm high. The window top (lintel)\nwould be beyond the top of the floor "
                  "at %.1fm",
                  m_Floor.GetHeight(), lintel);
        return false;
    }
    const double centre = FieldDouble(m_pCentre);
    if (!(centre >= 0.0 && centre <= kMaxWindowSize)) {
        WalertBox("Window center value incorrect");
        return false;
    }
    const struct {
        QLineEdit* field;
        const char* message;
    } factors[] = {{m_pTau, "Tau value incorrect"},
                   {m_pK1, "k1 value incorrect"},
                   {m_pK2, "k2 value incorrect"},
                   {m_pK3, "k3 value incorrect"}};
    for (const auto& factor : factors) {
        const double value = FieldDouble(factor.field);
        if (!(value > 0.0 && value <= 1.0)) {
            WalertBox("%s", factor.message);
            return false;
        }
    }

    CLENIWindow built = m_Window;
    built.m_dWidth = width;
    built.m_dHeight = height;
    built.m_dSillHeight = sill;
    built.m_dStart = centre - width / 2.0;
    built.m_dTauD65 = FieldDouble(m_pTau);
    built.m_dK1 = FieldDouble(m_pK1);
    built.m_dK2 = FieldDouble(m_pK2);
    built.m_dK3 = FieldDouble(m_pK3);
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
