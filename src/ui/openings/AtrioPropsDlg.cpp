#include "ui/openings/AtrioPropsDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/ShadingIndex.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

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
    m_pTau = AddField("\xCF\x84 Atrium", QString::fromStdString(FormatDouble("%.3f", atrium.m_dTrans)));
    m_pK1 = AddField("k1", QString::fromStdString(FormatDouble("%.3f", atrium.m_dK1)));
    m_pK2 = AddField("k2", QString::fromStdString(FormatDouble("%.3f", atrium.m_dK2)));
    m_pK3 = AddField("k3", QString::fromStdString(FormatDouble("%.3f", atrium.m_dK3)));
    FinishLayout();
}

bool CAtrioPropsDlg::OnOK() {
    m_Atrium.m_iKind = m_pType->currentText().startsWith('c') ? ATRIUM_COURTYARD : ATRIUM_ATRIUM;
    const struct {
        QLineEdit* field;
        const char* message;
    } values[] = {{m_pTau, "The atrium glass transmittance must be between 0 and 1"},
                  {m_pK1, "k1  must be between 0 and 1"},
                  {m_pK2, "k2  must be between 0 and 1"},
                  {m_pK3, "k3  must be between 0 and 1"}};
    for (const auto& v : values) {
        const double value = FieldDouble(v.field);
        if (value < 0.0 || value > 1.0) {
            WalertBox("%s", v.message);
            return false;
        }
    }
    m_Atrium.m_dTrans = FieldDouble(m_pTau);
    m_Atrium.m_dK1 = FieldDouble(m_pK1);
    m_Atrium.m_dK2 = FieldDouble(m_pK2);
    m_Atrium.m_dK3 = FieldDouble(m_pK3);
    return true;
}
