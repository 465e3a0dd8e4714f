// The context-menu functions whose dialogs are still to come: each says so plainly.
#include "app/LENIBDoc.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "products/LumSysDataBase.h"
#include "ui/dialogs/CheckedDialog.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/ContextHooks.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace {
void Pending(const char* what) {
    AlertBox("%s\n\nThis part of the program is not ready yet.", what);
}
} // namespace

// Windows, roof lights and atria.
void CmdAddWindow(const FloorPageContext&) {
    Pending("Add Window");
}
void CmdWindowProperties(const FloorPageContext&) {
    Pending("Window Properties");
}
void CmdEraseWindow(const FloorPageContext&) {
    Pending("Erase Window");
}
void CmdAddRoofLight(const FloorPageContext&) {
    Pending("Add Roof Light");
}
void CmdRoofLightProperties(const FloorPageContext&) {
    Pending("Roof Light Properties");
}
void CmdEraseRoofLight(const FloorPageContext&) {
    Pending("Erase Roof Light");
}
void CmdAtriumProperties(const FloorPageContext&) {
    Pending("Atrium Properties");
}
void CmdEraseAtrium(const FloorPageContext&) {
    Pending("Erase Atrium");
}
// Until the dialog comes, a drawn atrium is kept with its starting values.
bool EditNewAtrium(QWidget*, CLENIAtrium&, double) {
    Pending("Atrium Properties");
    return true;
}

// Results and printing.
void ShowFloorCalculation(QWidget*, CLENIBDoc&, const std::string&) {
    Pending("Floor Calculation");
}
void ShowRoomCalculation(QWidget*, CLENIBDoc&, const std::string&, const std::string&) {
    Pending("Room Energy Calculation");
}
void PrintFloorPage(const FloorPageContext&, bool) {
    Pending("Printing of the floor page");
}
void PrintRoomPage(const FloorPageContext&, const std::string&, bool) {
    Pending("Printing of the room page");
}
void PrintZonePage(const FloorPageContext&, const std::string&, const std::string&, bool) {
    Pending("Printing of the zone page");
}

// The 3D view.
void ShowRoom3DView(QWidget*, const CLENIProject&, const std::string&, const std::string&) {
    Pending("Room 3D view");
}

// The product database: until its own dialog comes, a plain list of the products of the global
// database and of the project to pick one from.
namespace {
class CProductChoiceDlg : public CCheckedDialog {
  public:
    CProductChoiceDlg(const CLENIProject& project, QWidget* parent)
        : CCheckedDialog("Choose a product", parent) {
        AddNote("Products of the luminaire database and of this project:");
        m_pList = new QListWidget(this);
        m_pList->setMinimumSize(480, 240);
        GetMainLayout()->addWidget(m_pList);
        for (const CLumSysDataBase* db : std::initializer_list<const CLumSysDataBase*>{
                 &CLumSysDataBase::Global(), &project.GetProducts()})
            for (const CLumTypeData& product : db->GetProducts()) {
                // A product the project copied from the database is listed once.
                bool listed = false;
                for (const std::string& seen : m_Listed)
                    listed = listed || EqualsNoCase(seen, product.GetRefId());
                if (listed) continue;
                m_Listed.push_back(product.GetRefId());
                auto* item = new QListWidgetItem(
                    QString::fromStdString(StrPrintf("%s  %s %.2fW", product.GetRefId().c_str(),
                                                     product.GetDesc().c_str(), product.GetMaxPow())));
                item->setData(Qt::UserRole, QString::fromStdString(product.GetRefId()));
                m_pList->addItem(item);
            }
        connect(m_pList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { accept(); });
        FinishLayout();
    }
    const std::string& GetRefId() const { return m_csRefId; }

  protected:
    bool OnOK() override {
        const QListWidgetItem* item = m_pList->currentItem();
        if (!item) {
            WalertBox("Please select a product");
            return false;
        }
        m_csRefId = item->data(Qt::UserRole).toString().toStdString();
        return true;
    }

  private:
    QListWidget* m_pList;
    std::vector<std::string> m_Listed;
    std::string m_csRefId;
};
} // namespace

bool ChooseProduct(QWidget* parent, CLENIBDoc& doc, std::string& refId) {
    CProductChoiceDlg dialog(doc.GetProject(), parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    refId = dialog.GetRefId();
    return true;
}
