#include "ui/openings/AtrioPropsDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/ShadingIndex.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
const TypedNumberField kTau = {"\xCF\x84 Atrium", "", "a factor from 0 to 1", false};
const TypedNumberField kK1 = {"k1", "", "a factor from 0 to 1", false};
const TypedNumberField kK2 = {"k2", "", "a factor from 0 to 1", false};
const TypedNumberField kK3 = {"k3", "", "a factor from 0 to 1", false};
} // namespace

CAtrioPropsDlg::CAtrioPropsDlg(const CLENIAtrium& atrium, double h, QWidget* parent)
    : CCheckedDialog("Atrium Properties", parent), m_Atrium(atrium) {
    SetHelpPage("atrium.html");
    GetForm()->addRow("Name:", new QLabel(QString::fromStdString(m_Atrium.m_csName), this));
    m_pType = new QComboBox(this);
    m_pType->addItems({"courtyard", "atrium"});
    m_pType->setCurrentIndex(atrium.m_iKind == ATRIUM_COURTYARD ? 0 : 1);
    GetForm()->addRow("Atrium Type:", m_pType);
    m_pWi = new QLabel(QString::fromStdString(FormatDouble("%.3f", GetAtriumWellIndex(atrium, h))), this);
    GetForm()->addRow("Well index wi:", m_pWi);
    m_pH = new QLabel(QString::fromStdString(FormatDouble("%.3f", h)), this);
    GetForm()->addRow("Height h to the top (m):", m_pH);
    m_pTau = AddNumberField("\xCF\x84 Atrium", kTau, atrium.m_dTrans, 3);
    m_pK1 = AddNumberField("k1", kK1, atrium.m_dK1, 3);
    m_pK2 = AddNumberField("k2", kK2, atrium.m_dK2, 3);
    m_pK3 = AddNumberField("k3", kK3, atrium.m_dK3, 3);
    FinishLayout();
}

bool CAtrioPropsDlg::OnOK() {
    m_Atrium.m_iKind = m_pType->currentText().startsWith('c') ? ATRIUM_COURTYARD : ATRIUM_ATRIUM;
    double tau = 0.0, k1 = 0.0, k2 = 0.0, k3 = 0.0;
    const struct {
        QLineEdit* field;
        const TypedNumberField& what;
        double& value;
        const char* message;
    } values[] = {{m_pTau, kTau, tau, "The atrium glass transmittance must be between 0 and 1"},
                  {m_pK1, kK1, k1, "k1  must be between 0 and 1"},
                  {m_pK2, kK2, k2, "k2  must be between 0 and 1"},
                  {m_pK3, kK3, k3, "k3  must be between 0 and 1"}};
    for (const auto& v : values) {
        if (!ReadNumber(v.field, v.what, v.value)) return false;
        if (v.value < 0.0 || v.value > 1.0) {
            WalertBox("%s", v.message);
            return false;
        }
    }
    m_Atrium.m_dTrans = tau;
    m_Atrium.m_dK1 = k1;
    m_Atrium.m_dK2 = k2;
    m_Atrium.m_dK3 = k3;
    return true;
}
