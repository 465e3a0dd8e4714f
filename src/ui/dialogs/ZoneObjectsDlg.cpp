#include "ui/dialogs/ZoneObjectsDlg.h"

#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "products/LumSysDataBase.h"
#include "products/LumTypeData.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/dialogs/LumCntDlg.h"
#include "ui/editor/ContextHooks.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The product behind a reference id: the project's copy first, then the global database.
bool FindProduct(const CLENIProject& project, const std::string& refId, CLumTypeData& product) {
    if (project.GetProducts().HasRefId(refId)) {
        product = project.GetProducts().GetLumDataFromRefId(refId);
        return true;
    }
    const CLumSysDataBase& global = CLumSysDataBase::Global();
    if (!global.HasRefId(refId)) return false;
    product = global.GetLumDataFromRefId(refId);
    return true;
}

} // namespace

CZoneObjectsDlg::CZoneObjectsDlg(const CZoneObjList& list, CLENIBDoc* doc, bool ad, QWidget* parent)
    : CCheckedDialog(ad ? "Products in zone, AD (Area Daylight, near window)"
                        : "Products in zone, AND (Area No Daylight, far from window)",
                     parent),
      m_List(list), m_pDoc(doc) {
    SetHelpPage("zone-luminaires.html");
    m_pList = new QTreeWidget(this);
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    const QStringList titles = {"Reference Id", "Count", "Description                             "};
    m_pList->setHeaderLabels(titles);
    const QFontMetrics metrics(m_pList->header()->font());
    for (int i = 0; i < titles.size(); ++i)
        m_pList->setColumnWidth(i, metrics.horizontalAdvance(titles[i]) + 15);
    m_pList->setMinimumSize(560, 220);
    m_pList->installEventFilter(this);
    GetMainLayout()->addWidget(m_pList);
    m_pAdd = new QPushButton(ad ? "Add object to AD..." : "Add object to AND...", this);
    GetMainLayout()->addWidget(m_pAdd, 0, Qt::AlignLeft);
    m_pHint = AddNote(ad ? "Double click on a product to change its count in the AD area. Use DEL key or "
                           "backspace to remove it."
                         : "Double click on a product to change its count in the AND area. Use DEL key or "
                           "backspace to remove it.");
    FinishLayout();
    connect(m_pAdd, &QPushButton::clicked, this, &CZoneObjectsDlg::OnAdd);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnChangeCount(m_pList->indexOfTopLevelItem(item)); });
    // Enter in the list must not close the dialog behind the user's back.
    if (QPushButton* ok = GetOkButton()) ok->setAutoDefault(false);
    FillRows();
}

void CZoneObjectsDlg::FillRows() {
    m_pList->clear();
    const CLENIProject* project = nullptr;
    if (!m_pDoc)
        Log().Printf(LOG_ERROR, "CLENIBApp::::GD, There was a problem getting the active doc");
    else
        project = &m_pDoc->GetProject();
    for (const CZoneObjList::Entry& entry : m_List.GetEntries()) {
        QString description;
        CLumTypeData product;
        if (project && FindProduct(*project, entry.refId, product))
            description = Q(StrPrintf("%s %.2fW %s", product.GetDesc().c_str(), product.GetMaxPow(),
                                      GetLumTypeName(product.GetTypeFlags())));
        auto* row = new QTreeWidgetItem(m_pList, {Q(entry.refId), QString::number(entry.count), description});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void CZoneObjectsDlg::OnAdd() {
    if (!m_pDoc) {
        Log().Printf(LOG_ERROR, "CLENIBApp::::GD, There was a problem getting the active doc");
        return;
    }
    std::string refId;
    if (!ChooseProduct(this, *m_pDoc, refId)) return;
    if (refId.empty()) {
        Log().Printf(LOG_ERROR, "Did not get refid of the object");
        return;
    }
    if (m_List.HasLuminaire(refId)) {
        Log().Printf(LOG_ERROR, "%s is already present", refId.c_str());
        return;
    }
    m_List.AddLuminaire(refId);
    FillRows();
}

void CZoneObjectsDlg::OnChangeCount(int row) {
    if (row < 0 || row >= m_pList->topLevelItemCount()) return;
    const std::string refId = m_pList->topLevelItem(row)->text(0).toStdString();
    int count = 0;
    bool found = false;
    for (const CZoneObjList::Entry& entry : m_List.GetEntries())
        if (EqualsNoCase(entry.refId, refId)) {
            count = entry.count;
            found = true;
        }
    if (!found) Log().Printf(LOG_ERROR, "CZoneObjList::GLFRI not found (%s)", refId.c_str());
    CLumCntDlg dialog(count, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    m_List.SetLuminaireCount(refId, dialog.GetCount());
    FillRows();
}

void CZoneObjectsDlg::OnRemove(int row) {
    if (row < 0 || row >= m_pList->topLevelItemCount()) return;
    const std::string refId = m_pList->topLevelItem(row)->text(0).toStdString();
    if (WyesNoBox("Remove <%s> from the zone?", refId.c_str()) != IDYES) return;
    m_List.SetLuminaireCount(refId, 0);
    FillRows();
}

bool CZoneObjectsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            QTreeWidgetItem* current = m_pList->currentItem();
            if (current && current->isSelected()) OnRemove(m_pList->indexOfTopLevelItem(current));
            return true;
        }
    }
    return CCheckedDialog::eventFilter(watched, event);
}
