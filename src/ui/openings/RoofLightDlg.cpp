#include "ui/openings/RoofLightDlg.h"

#include "app/Preferences.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/OpeningPictures.h"
#include "ui/openings/OpeningFields.h"
#include "ui/openings/PictureFrame.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr double kMinRoofLightSize = 0.01; // m
constexpr double kMaxRoofLightSize = 500.0;
// Origin and size come from fields of two decimals: a roof light that exactly fills the room
// must not be refused for the rounding of their sum.
constexpr double kRoomFitTolerance = 1e-9;
const TypedNumberField kXOrig = {"Origin x", "m", "metres from 0, inside the room", false};
const TypedNumberField kYOrig = {"Origin y", "m", "metres from 0, inside the room", false};
const TypedNumberField kXLength = {"X length", "m", "metres from 0.01 to 500", false};
const TypedNumberField kYWidth = {"Y width", "m", "metres from 0.01 to 500", false};
const TypedNumberField kTauSna = {"\xCF\x84"
                                  "D65sna",
                                  "", "a factor from 0 to 1", false};
const TypedNumberField kTauSa = {"\xCF\x84"
                                 "D65sa",
                                 "", "a factor from 0 to 1", false};
const TypedNumberField kKObl[3] = {{"K obl1", "", "a factor from 0 to 1", false},
                                   {"K obl2", "", "a factor from 0 to 1", false},
                                   {"K obl3", "", "a factor from 0 to 1", false}};
const TypedNumberField kGammaF = {"\xCE\xB3"
                                  "F",
                                  "\xC2\xB0|deg", "degrees above 1, at most 90", false};
const TypedNumberField kGammaW = {"\xCE\xB3W", "\xC2\xB0|deg", "degrees from 0 to 90", false};
const TypedNumberField kHw = {"hw", "m", "metres above hg", false};
const TypedNumberField kHg = {"hg", "m", "metres above 0, below hw", false};
const TypedNumberField kHs = {"hs", "m", "metres from 0", false};
} // namespace

CRoofLightDlg::CRoofLightDlg(const CLENIRoofLight& roofLight, double roomWidth, double roomDepth,
                             QWidget* parent)
    : CCheckedDialog("Roof Light Properties", parent), m_RoofLight(roofLight), m_dRoomWidth(roomWidth),
      m_dRoomDepth(roomDepth) {
    SetHelpPage("roof-light.html");
    const CLENIRoofLight& r = m_RoofLight;
    auto* grid = new QGridLayout;
    GetMainLayout()->insertLayout(0, grid, 100);

    auto* kind = new QGroupBox("Roof light", this);
    auto* kindForm = new QFormLayout(kind);
    m_pId = new QLabel(QString::fromStdString(StrPrintf("Roof Light Id: %d", r.m_iId)), kind);
    kindForm->addRow(m_pId);
    m_pType = new QComboBox(kind);
    m_pType->addItems({"ShedRoofLight", "FlatRoofLight"});
    m_pType->setCurrentIndex(r.m_iType == RL_SHED ? 0 : 1);
    kindForm->addRow("Type:", m_pType);
    m_pOrient = new QComboBox(kind);
    for (int o = RLO_HORIZONTAL; o <= RLO_NORTH; ++o)
        m_pOrient->addItem(QString::fromStdString(CLENIRoofLight::GetRLOrientString(o)));
    m_pOrient->setCurrentIndex(r.GetOrientation());
    kindForm->addRow("Orientation:", m_pOrient);
    grid->addWidget(kind, 0, 0);

    auto* place = new QGroupBox("Position and size in the room", this);
    auto* placeForm = new QFormLayout(place);
    const CTypedNumberReader reader = NumberReader();
    m_pXOrig = NewNumberField(place, reader, kXOrig, r.m_dXOrig, 2, "m");
    placeForm->addRow("Origin x:", m_pXOrig);
    m_pYOrig = NewNumberField(place, reader, kYOrig, r.m_dYOrig, 2, "m");
    placeForm->addRow("Origin y:", m_pYOrig);
    m_pXLength = NewNumberField(place, reader, kXLength, r.m_dXLength, 2, "m");
    placeForm->addRow("X length:", m_pXLength);
    m_pYWidth = NewNumberField(place, reader, kYWidth, r.m_dYWidth, 2, "m");
    placeForm->addRow("Y width:", m_pYWidth);
    m_pAB = new QLabel(place);
    placeForm->addRow(m_pAB);
    grid->addWidget(place, 1, 0);

    auto* glazing = new QGroupBox("Glazing", this);
    auto* glazingForm = new QFormLayout(glazing);
    m_pTauSna = NewNumberField(glazing, reader, kTauSna, r.m_dTauD65Sna, 2);
    glazingForm->addRow("\xCF\x84"
                        "D65sna",
                        m_pTauSna);
    m_pTauSa = NewNumberField(glazing, reader, kTauSa, r.m_dTauD65Sa, 2);
    glazingForm->addRow("\xCF\x84"
                        "D65sa",
                        m_pTauSa);
    m_pKObl1 = NewNumberField(glazing, reader, kKObl[0], r.m_dKObl1, 2);
    glazingForm->addRow("K obl1", m_pKObl1);
    m_pKObl2 = NewNumberField(glazing, reader, kKObl[1], r.m_dKObl2, 2);
    glazingForm->addRow("K obl2", m_pKObl2);
    m_pKObl3 = NewNumberField(glazing, reader, kKObl[2], r.m_dKObl3, 2);
    glazingForm->addRow("K obl3", m_pKObl3);
    grid->addWidget(glazing, 2, 0);

    auto* shape = new QGroupBox("Angles and heights", this);
    auto* shapeBox = new QVBoxLayout(shape);
    auto* shapeForm = new QFormLayout;
    shapeBox->addLayout(shapeForm);
    m_pGammaF =
        NewNumberField(shape, reader, kGammaF, r.m_iType == RL_FLAT ? 0.0 : r.m_dGammaF, 1, "\xC2\xB0");
    shapeForm->addRow("\xCE\xB3"
                      "F",
                      m_pGammaF);
    m_pGammaW = NewNumberField(shape, reader, kGammaW, r.m_dGammaW, 1, "\xC2\xB0");
    shapeForm->addRow("\xCE\xB3W", m_pGammaW);
    m_pHw = NewNumberField(shape, reader, kHw, r.m_dHw, 2, " m");
    shapeForm->addRow("hw", m_pHw);
    m_pHg = NewNumberField(shape, reader, kHg, r.m_dHg, 2, " m");
    shapeForm->addRow("hg", m_pHg);
    m_pHs = NewNumberField(shape, reader, kHs, r.m_dHs, 2, " m");
    shapeForm->addRow("hs", m_pHs);
    m_pPicture = new CPictureFrame(
        [this](IDrawCanvas& canvas, const PictureBox& box) {
            DrawRoofLightPicture(canvas, box, m_pType->currentIndex() == 0 ? RL_SHED : RL_FLAT,
                                 FieldDouble(m_pGammaF), FieldDouble(m_pGammaW), FieldDouble(m_pHw),
                                 FieldDouble(m_pHg), FieldDouble(m_pHs));
        },
        QSize(300, 200), shape);
    shapeBox->addWidget(m_pPicture, 1);
    grid->addWidget(shape, 0, 1, 3, 1);
    grid->setColumnStretch(1, 1);
    FinishLayout();

    connect(m_pType, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { OnTypeChanged(); });
    for (QLineEdit* field : {m_pGammaF, m_pGammaW, m_pHw, m_pHg, m_pHs})
        connect(field, &QLineEdit::textChanged, m_pPicture, qOverload<>(&QWidget::update));
    for (QLineEdit* field : {m_pXLength, m_pYWidth})
        connect(field, &QLineEdit::editingFinished, this, [this] { ShowAB(); });
    OnTypeChanged();
    ShowAB();
}

void CRoofLightDlg::OnTypeChanged() {
    const bool shed = m_pType->currentIndex() == 0;
    m_pGammaF->setEnabled(shed);
    m_pHg->setEnabled(shed);
    m_pHw->setEnabled(shed);
    m_pHs->setEnabled(!shed);
    m_pPicture->update();
}

void CRoofLightDlg::ShowAB() {
    m_pAB->setText(
        QString::fromStdString(GetRoofLightABText(FieldDouble(m_pXLength), FieldDouble(m_pYWidth))));
}

bool CRoofLightDlg::OnOK() {
    CLENIRoofLight& r = m_RoofLight;
    double xLength = 0.0, yWidth = 0.0;
    if (!ReadNumber(m_pXLength, kXLength, xLength) || !ReadNumber(m_pYWidth, kYWidth, yWidth)) return false;
    auto inSize = [](double v) { return v >= kMinRoofLightSize && v <= kMaxRoofLightSize; };
    if (!inSize(xLength) || !inSize(yWidth)) {
        WalertBox("Roof light dimensions must be between %.3f and %.1f", kMinRoofLightSize,
                  kMaxRoofLightSize);
        return false;
    }
    double xOrig = 0.0, yOrig = 0.0;
    if (!ReadNumber(m_pXOrig, kXOrig, xOrig) || !ReadNumber(m_pYOrig, kYOrig, yOrig)) return false;
    if (xOrig < 0.0 || yOrig < 0.0) {
        WalertBox("Roof light origin must not be less than 0.0");
        return false;
    }
    if (xOrig + xLength > m_dRoomWidth + kRoomFitTolerance) {
        WalertBox("Roof light x dimension too big for the room");
        return false;
    }
    if (yOrig + yWidth > m_dRoomDepth + kRoomFitTolerance) {
        WalertBox("Roof light y dimension too big for the room");
        return false;
    }
    r.m_dXLength = xLength;
    r.m_dYWidth = yWidth;
    r.m_dXOrig = xOrig;
    r.m_dYOrig = yOrig;
    double tauSna = 0.0, tauSa = 0.0;
    if (!ReadNumber(m_pTauSna, kTauSna, tauSna) || !ReadNumber(m_pTauSa, kTauSa, tauSa)) return false;
    if (tauSna < 0.0 || tauSna > 1.0 || tauSa < 0.0 || tauSa > 1.0) {
        WalertBox("Values of Tau have to be between 0.0 and 1.0");
        return false;
    }
    r.m_dTauD65Sna = tauSna;
    r.m_dTauD65Sa = tauSa;
    double kObl[3] = {0.0, 0.0, 0.0};
    QLineEdit* const kOblFields[3] = {m_pKObl1, m_pKObl2, m_pKObl3};
    for (int i = 0; i < 3; ++i)
        if (!ReadNumber(kOblFields[i], kKObl[i], kObl[i])) return false;
    for (double k : kObl) {
        if (k < 0.0 || k > 1.0) {
            WalertBox("Values of K Obl... have to be between 0.0 and 1.0");
            return false;
        }
    }
    r.m_dKObl1 = kObl[0];
    r.m_dKObl2 = kObl[1];
    r.m_dKObl3 = kObl[2];
    const int orientation = m_pOrient->currentIndex();
    if (orientation < 0) {
        Log().Printf(LOG_ERROR, "m_cbOrient.GetCurSel failed");
        return false;
    }
    r.SetOrientation(orientation);
    double gammaW = 0.0;
    if (!ReadNumber(m_pGammaW, kGammaW, gammaW)) return false;
    if (gammaW < 0.0 || gammaW > 90.0) {
        WalertBox("Gamma w error: enter degrees from 0 to 90");
        return false;
    }
    r.m_dGammaW = gammaW;
    r.m_iType = m_pType->currentIndex() == 0 ? RL_SHED : RL_FLAT;
    if (r.m_iType == RL_FLAT) {
        if (orientation != RLO_HORIZONTAL) {
            WalertBox("Flat Roof Light, orientation must be horizontal");
            return false;
        }
        double hs = 0.0;
        if (!ReadNumber(m_pHs, kHs, hs)) return false;
        if (hs < 0.0) {
            WalertBox("Flat Roof Light, error : hs=%.3f", hs);
            return false;
        }
        r.m_dHs = hs;
    } else {
        double gammaF = 0.0;
        if (!ReadNumber(m_pGammaF, kGammaF, gammaF)) return false;
        if (!(gammaF > 1.0 && gammaF <= 90.0)) {
            WalertBox("Shed Roof Light, Gamma W error: enter \xCE\xB3"
                      "F in degrees above 1, at most 90");
            return false;
        }
        if (orientation == RLO_HORIZONTAL) {
            WalertBox("Shed Roof Light, orientation cannot be horizontal");
            return false;
        }
        double hg = 0.0, hw = 0.0;
        if (!ReadNumber(m_pHg, kHg, hg) || !ReadNumber(m_pHw, kHw, hw)) return false;
        if (!(hg > 0.0) || !(hw > 0.0)) {
            WalertBox("Shed Roof Light, error hg = %.2f hw = %.2f", hg, hw);
            return false;
        }
        if (!(hg < hw)) {
            WalertBox("Shed Roof Light, error hg = %.2f hw = %.2f\nbut hg must be smaller than hw.", hg, hw);
            return false;
        }
        r.m_dGammaF = gammaF;
        r.m_dHg = hg;
        r.m_dHw = hw;
    }
    Preferences().m_RoofLightTemplate = r;
    return true;
}
