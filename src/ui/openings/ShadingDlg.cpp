#include "ui/openings/ShadingDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIFloor.h"
#include "model/OpeningPictures.h"
#include "ui/openings/OpeningFields.h"
#include "ui/openings/PictureFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr double kMaxObstructionAngle = 89.999;
const TypedNumberField kAngles[3] = {
    {"Front obstruction angle", "\xC2\xB0|deg", "degrees from 0, below 90", false},
    {"Overhang obstruction angle", "\xC2\xB0|deg", "degrees from 0, below 90", false},
    {"Side obstruction angle", "\xC2\xB0|deg", "degrees from 0, below 90", false}};
const TypedNumberField kGdfTau = {"\xCF\x84 GDF", "", "a factor from 0 to 1", false};
const TypedNumberField kGdfK1 = {"GDF k1", "", "a factor from 0 to 1", false};
const TypedNumberField kGdfK2 = {"GDF k2", "", "a factor from 0 to 1", false};
const TypedNumberField kGdfK3 = {"GDF k3", "", "a factor from 0 to 1", false};
} // namespace

CShadingDlg::CShadingDlg(const CLENIWindow& window, const CLENIFloor& floor, QWidget* parent)
    : CCheckedDialog("Shading Index Of This Window", parent), m_Window(window) {
    SetHelpPage("shading.html");
    auto* angles = new QGroupBox("Obstruction angles (degrees)", this);
    auto* grid = new QGridLayout(angles);
    const char* names[3] = {
        "Front obstruction angle:", "Overhang obstruction angle:", "Side obstruction angle:"};
    const double values[3] = {window.m_dFrontAngle, window.m_dOverhangAngle, window.m_dSideAngle};
    QLineEdit** fields[3] = {&m_pFront, &m_pOverhang, &m_pSide};
    const CTypedNumberReader reader = NumberReader();
    for (int kind = 0; kind < 3; ++kind) {
        *fields[kind] = NewNumberField(angles, reader, kAngles[kind], values[kind], 1, "", 10);
        QLineEdit* field = *fields[kind];
        m_pPictures[kind] = new CPictureFrame(
            [kind, field](IDrawCanvas& canvas, const PictureBox& box) {
                DrawShadingPicture(canvas, box, kind, FieldDouble(field));
            },
            QSize(170, 150), angles);
        grid->addWidget(new QLabel(names[kind], angles), 0, kind);
        grid->addWidget(field, 1, kind);
        grid->addWidget(m_pPictures[kind], 2, kind);
        grid->setColumnStretch(kind, 1);
        connect(field, &QLineEdit::textChanged, m_pPictures[kind], qOverload<>(&QWidget::update));
    }
    grid->setRowStretch(2, 1);
    GetMainLayout()->insertWidget(0, angles, 100);

    m_pHasGdf = new QCheckBox("Has A Glazed Double Facade", this);
    m_pHasGdf->setChecked(window.m_bHasGdf);
    GetMainLayout()->insertWidget(1, m_pHasGdf);
    m_pGdfGroup = new QGroupBox("Glazed double facade", this);
    auto* gdf = new QFormLayout(m_pGdfGroup);
    m_pGdfTau = NewNumberField(m_pGdfGroup, reader, kGdfTau, window.m_dGdfTau, 3);
    gdf->addRow("\xCF\x84 GDF", m_pGdfTau);
    m_pGdfK1 = NewNumberField(m_pGdfGroup, reader, kGdfK1, window.m_dGdfK1, 3);
    gdf->addRow("GDF k1", m_pGdfK1);
    m_pGdfK2 = NewNumberField(m_pGdfGroup, reader, kGdfK2, window.m_dGdfK2, 3);
    gdf->addRow("GDF k2", m_pGdfK2);
    m_pGdfK3 = NewNumberField(m_pGdfGroup, reader, kGdfK3, window.m_dGdfK3, 3);
    gdf->addRow("GDF k3", m_pGdfK3);
    GetMainLayout()->insertWidget(2, m_pGdfGroup);

    m_pAtrium = new QComboBox(this);
    m_pAtrium->addItem(QString());
    for (const CLENIAtrium& atrium : floor.GetAtria()) {
        m_pAtrium->addItem(QString::fromStdString(atrium.m_csName));
        if (!window.m_csAtriumName.empty() && EqualsNoCase(atrium.m_csName, window.m_csAtriumName))
            m_pAtrium->setCurrentIndex(m_pAtrium->count() - 1);
    }
    GetForm()->addRow("Window faces atrium:", m_pAtrium);
    FinishLayout();

    connect(m_pHasGdf, &QCheckBox::toggled, this, [this] { OnGdfToggled(); });
    OnGdfToggled();
}

void CShadingDlg::OnGdfToggled() {
    m_pGdfGroup->setEnabled(m_pHasGdf->isChecked());
}

bool CShadingDlg::OnOK() {
    double angles[3] = {0.0, 0.0, 0.0};
    QLineEdit* const angleFields[3] = {m_pFront, m_pOverhang, m_pSide};
    for (int kind = 0; kind < 3; ++kind)
        if (!ReadNumber(angleFields[kind], kAngles[kind], angles[kind])) return false;
    if (std::any_of(std::begin(angles), std::end(angles), [](double a) { return a < 0.0; })) {
        WalertBox("All angles must be equal to or greater than 0 degrees.");
        return false;
    }
    if (std::any_of(std::begin(angles), std::end(angles), [](double a) { return a >= 90.0; })) {
        WalertBox("All angles must be less than 90 degrees.");
        return false;
    }
    double tau = 0.0, k1 = 0.0, k2 = 0.0, k3 = 0.0;
    const struct {
        QLineEdit* field;
        const TypedNumberField& what;
        double& value;
        const char* format;
    } factors[] = {{m_pGdfTau, kGdfTau, tau, "GDF, bad tau:%.3f"},
                   {m_pGdfK1, kGdfK1, k1, "GDF, bad k1:%.3f"},
                   {m_pGdfK2, kGdfK2, k2, "GDF, bad k2:%.3f"},
                   {m_pGdfK3, kGdfK3, k3, "GDF, bad k3:%.3f"}};
    for (const auto& factor : factors) {
        if (!ReadNumber(factor.field, factor.what, factor.value)) return false;
        const double value = factor.value;
        if (value < 0.0 || value > 1.0) {
            ShowMessageText(StrPrintf(factor.format, value), MB_BUTTONS_OK, MB_ICON_NONE);
            return false;
        }
    }
    m_Window.m_dFrontAngle = std::clamp(angles[0], 0.0, kMaxObstructionAngle);
    m_Window.m_dOverhangAngle = std::clamp(angles[1], 0.0, kMaxObstructionAngle);
    m_Window.m_dSideAngle = std::clamp(angles[2], 0.0, kMaxObstructionAngle);
    m_Window.m_bHasGdf = m_pHasGdf->isChecked();
    m_Window.m_dGdfTau = tau;
    m_Window.m_dGdfK1 = k1;
    m_Window.m_dGdfK2 = k2;
    m_Window.m_dGdfK3 = k3;
    m_Window.m_csAtriumName = m_pAtrium->currentText().toStdString();
    return true;
}
