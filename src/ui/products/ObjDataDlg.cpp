#include "ui/products/ObjDataDlg.h"

#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "products/LumSysDataBase.h"
#include "products/Photometry.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/products/PolarDiagramWidget.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
const TypedNumberField kPower = {"Luminaire Circuit Power (Pi)", "W", "watts from 0 to 1000000", false};
const TypedNumberField kStandby = {"Luminaire Control Standby Power (Pci)", "W", "watts from 0 to 1000000",
                                   false};
const TypedNumberField kCharge = {"Luminaire Standby Emergency Charge Power (Pei)", "W",
                                  "watts from 0 to 1000000", false};
} // namespace

CObjDataDlg::CObjDataDlg(const CLumTypeData& product, int mode, const CPhotometry* preview, QWidget* parent)
    : CCheckedDialog(mode == OBJDATA_NEW ? "New Product" : "Edit Product", parent), m_Product(product),
      m_iMode(mode) {
    SetHelpPage("product.html");
    m_pRefId = AddField("Reference Id:", QString::fromStdString(product.GetRefId()), 100);
    m_pDesc = AddField("Description:", QString::fromStdString(product.GetDesc()), 100);
    m_pType = new QComboBox(this);
    GetForm()->addRow("Product Type:", m_pType);
    m_pPower = AddNumberField("Luminaire Circuit Power (Pi)[W]:", kPower, product.GetMaxPow(), 2, " W", 14);
    m_pStandby = AddNumberField("Luminaire Control Standby Power (Pci)[W]:", kStandby,
                                product.GetStandbyPow(), 2, " W", 14);
    m_pConSys = new QComboBox(this);
    GetForm()->addRow("Control Type:", m_pConSys);
    m_pCharge = AddNumberField("Luminaire Standby Emergency Charge Power (Pei)[W]:", kCharge,
                               product.GetChargePow(), 2, " W", 14);

    // The key of an existing product stays: lists elsewhere refer to it.
    if (mode == OBJDATA_EDIT) m_pRefId->setReadOnly(true);

    int typeIndex = -1;
    for (int i = 0; i < 7; ++i) {
        m_pType->addItem(kLumTypeNames[i].name);
        if (kLumTypeNames[i].typeFlags == product.GetTypeFlags()) typeIndex = i;
    }
    if (typeIndex < 0) {
        typeIndex = 0;
        Log().Printf(LOG_ERROR, "Unrecognised default type flags: %d", product.GetTypeFlags());
    }
    m_pType->setCurrentIndex(typeIndex);
    for (const char* name : kProdConSysNames)
        m_pConSys->addItem(name);
    int conSys = product.GetProdConSys();
    if (conSys < 0 || conSys > 2) {
        Log().Printf(LOG_ERROR, "Unrecognised default cons sys enum flags: %d", conSys);
        conSys = 0;
    }
    m_pConSys->setCurrentIndex(conSys);
    connect(m_pType, &QComboBox::currentIndexChanged, this, &CObjDataDlg::OnTypeChanged);
    OnTypeChanged();
    setMinimumWidth(520);

    if (preview) AddPreview(*preview);
    FinishLayout();
}

void CObjDataDlg::AddPreview(const CPhotometry& p) {
    m_pPreview = new QGroupBox("Read from the photometric file", this);
    auto* row = new QHBoxLayout(m_pPreview);
    auto* facts = new QFormLayout;
    auto text = [](const std::string& s) { return s.empty() ? QString("-") : QString::fromStdString(s); };
    facts->addRow("Maker:", new QLabel(text(p.m_csMaker)));
    facts->addRow("Name:", new QLabel(text(p.m_csName)));
    facts->addRow("Lamp lumens:",
                  new QLabel(p.m_dLampLumens > 0
                                 ? QString::fromStdString(FormatDouble("%.0f lm", p.m_dLampLumens))
                                 : QString("-")));
    facts->addRow("Wattage:", new QLabel(ShowNumber(m_Product.GetMaxPow(), 2, " W")));
    facts->addRow(
        "Light output ratio:",
        new QLabel(p.m_dLor >= 0 ? QString::fromStdString(FormatDouble("%.1f %%", p.m_dLor)) : "-"));
    for (int i = 0; i < facts->rowCount(); ++i)
        if (auto* item = facts->itemAt(i, QFormLayout::FieldRole))
            if (auto* label = qobject_cast<QLabel*>(item->widget())) label->setWordWrap(true);
    row->addLayout(facts, 1);
    row->addWidget(new CPolarDiagramWidget(p, m_pPreview), 1);
    GetMainLayout()->addWidget(m_pPreview);
    setMinimumWidth(640);
}

void CObjDataDlg::OnTypeChanged() {
    const std::string name = m_pType->currentText().toStdString();
    m_pConSys->setEnabled(name.find("Control") != std::string::npos);
    m_pCharge->setEnabled(name.find("Emerg") != std::string::npos);
}

bool CObjDataDlg::OnOK() {
    const std::string refId = TrimWhiteSpace(FieldText(m_pRefId));
    if (refId.empty()) {
        WalertBox("Please enter a reference id");
        return false;
    }
    if (m_iMode == OBJDATA_NEW && CLumSysDataBase::Global().HasRefId(refId)) {
        WalertBox("This object (%s) already exists in the database", refId.c_str());
        return false;
    }
    int typeFlags = 1;
    if (m_pType->currentIndex() < 0) {
        Log().Printf(LOG_ERROR, "Could not get type flags from combo");
    } else {
        const std::string name = m_pType->currentText().toStdString();
        bool found = false;
        for (const LumTypeName& t : kLumTypeNames)
            if (name == t.name) {
                typeFlags = t.typeFlags;
                found = true;
            }
        if (!found) Log().Printf(LOG_ERROR, "Could not recognise type flags for <%s> in combo", name.c_str());
    }
    int conSys = 1;
    if (m_pConSys->currentIndex() < 0) {
        Log().Printf(LOG_ERROR, "Could not get product control system from combo");
    } else {
        const std::string name = m_pConSys->currentText().toStdString();
        bool found = false;
        for (int i = 0; i < 3; ++i)
            if (name == kProdConSysNames[i]) {
                conSys = i;
                found = true;
            }
        if (!found)
            Log().Printf(LOG_ERROR, "Could not recognise product control system %s in combo", name.c_str());
    }
    double power = 0.0;
    if (!ReadNumber(m_pPower, kPower, power)) return false;
    if (power < 0) {
        WalertBox("Please enter a non negative power");
        return false;
    }
    if (power == 0.0 &&
        WyesNoBox("Power is 0.0 W.\nThis is valid for a purely emergency luminaire\nContinue?") != IDYES)
        return false;
    double charge = 0.0, standby = 0.0;
    if (!ReadNumber(m_pCharge, kCharge, charge) || !ReadNumber(m_pStandby, kStandby, standby)) return false;
    if (charge < 0) {
        WalertBox("Please enter a valid charging power");
        return false;
    }
    if (standby < 0) {
        WalertBox("Please enter a valid standby power");
        return false;
    }
    // Powers beyond this would be refused when the database is read again.
    for (double w : {power, charge, standby})
        if (w > CLumTypeData::kMaxPower) {
            WalertBox("Please enter a power of at most %.0f W", CLumTypeData::kMaxPower);
            return false;
        }
    CLumTypeData result;
    result.SetRefId(refId);
    result.SetDesc(FieldText(m_pDesc));
    result.SetTypeFlags(typeFlags);
    result.SetProdConSys(conSys);
    result.SetMaxPow(power);
    result.SetStandbyPow(standby);
    result.SetChargePow(charge);
    m_Product = result;
    return true;
}

bool EditProduct(QWidget* parent, CLumTypeData& product, int mode, const CPhotometry* preview) {
    CObjDataDlg dialog(product, mode, preview, parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    product = dialog.GetProduct();
    return true;
}
