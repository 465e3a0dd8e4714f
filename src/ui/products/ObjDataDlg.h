#pragma once
// The product edit dialog: one product of the luminaire database, new or edited. Opened for a
// photometric file, it also shows what the file says (maker, flux, wattage, polar diagram).

#include "products/LumTypeData.h"
#include "ui/dialogs/CheckedDialog.h"

class CPhotometry;
class QComboBox;
class QGroupBox;

enum ObjDataMode { OBJDATA_NEW = 0, OBJDATA_EDIT = 1 };

class CObjDataDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // preview: what a photometric file read, or null.
    CObjDataDlg(const CLumTypeData& product, int mode, const CPhotometry* preview = nullptr,
                QWidget* parent = nullptr);

    const CLumTypeData& GetProduct() const { return m_Product; }
    QLineEdit* GetRefIdField() const { return m_pRefId; }
    QLineEdit* GetDescField() const { return m_pDesc; }
    QComboBox* GetTypeList() const { return m_pType; }
    QLineEdit* GetPowerField() const { return m_pPower; }
    QLineEdit* GetStandbyField() const { return m_pStandby; }
    QComboBox* GetConSysList() const { return m_pConSys; }
    QLineEdit* GetChargeField() const { return m_pCharge; }
    QGroupBox* GetPreview() const { return m_pPreview; }

  protected:
    bool OnOK() override;

  private:
    void OnTypeChanged();
    void AddPreview(const CPhotometry& photometry);

    CLumTypeData m_Product;
    int m_iMode;
    QLineEdit* m_pRefId;
    QLineEdit* m_pDesc;
    QComboBox* m_pType;
    QLineEdit* m_pPower;
    QLineEdit* m_pStandby;
    QComboBox* m_pConSys;
    QLineEdit* m_pCharge;
    QGroupBox* m_pPreview = nullptr;
};

// Opens the dialog on the product; true and the product changed when the user pressed OK.
bool EditProduct(QWidget* parent, CLumTypeData& product, int mode, const CPhotometry* preview = nullptr);
