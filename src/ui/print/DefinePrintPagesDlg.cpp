#include "ui/print/DefinePrintPagesDlg.h"

#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "model/LENIProject.h"
#include "ui/dialogs/DialogRunner.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const std::string& name, bool checked) {
    auto* item = new QTreeWidgetItem(parent, QStringList(QString::fromStdString(name)));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool IsChecked(const QTreeWidgetItem* item) {
    return item->checkState(0) == Qt::Checked;
}

// Gives the item's tick to everything below it.
void TickBelow(QTreeWidgetItem* item, Qt::CheckState state) {
    for (int i = 0; i < item->childCount(); ++i) {
        item->child(i)->setCheckState(0, state);
        TickBelow(item->child(i), state);
    }
}

std::string Name(const QTreeWidgetItem* item) {
    return item->text(0).toStdString();
}

} // namespace

CDefinePrintPagesDlg::CDefinePrintPagesDlg(CLENIProject& project, QWidget* parent)
    : CCheckedDialog("Define Print Pages", parent), m_Project(project) {
    m_pTree = new QTreeWidget(this);
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(true);
    m_pTree->setMinimumSize(360, 320);
    auto* root = new QTreeWidgetItem(QStringList(QString::fromStdString(project.GetName())));
    root->setFlags(root->flags() | Qt::ItemIsUserCheckable);
    root->setCheckState(0, project.GetPrintMe() ? Qt::Checked : Qt::Unchecked);
    m_pTree->addTopLevelItem(root);
    for (const CLENIFloor& floor : project.GetFloors()) {
        QTreeWidgetItem* floorItem = AddItem(root, floor.GetName(), floor.GetPrintMe());
        for (const CLENIRoom& room : floor.GetRooms()) {
            QTreeWidgetItem* roomItem = AddItem(floorItem, room.GetName(), room.GetPrintMe());
            for (const CLENIZone& zone : room.GetZones())
                AddItem(roomItem, zone.GetName(), zone.GetPrintMe());
        }
    }
    m_pTree->expandAll();
    GetMainLayout()->addWidget(m_pTree);
    // A floor's or a room's tick goes to its rooms and zones; the project's is its own page only.
    connect(m_pTree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (m_bTicking || !item->parent()) return;
        m_bTicking = true;
        TickBelow(item, item->checkState(0));
        m_bTicking = false;
    });
    auto* buttons = new QHBoxLayout;
    m_pAll = new QPushButton("All", this);
    m_pNone = new QPushButton("None", this);
    m_pAll->setAutoDefault(false);
    m_pNone->setAutoDefault(false);
    connect(m_pAll, &QPushButton::clicked, this, [this] { TickAll(true); });
    connect(m_pNone, &QPushButton::clicked, this, [this] { TickAll(false); });
    buttons->addWidget(m_pAll);
    buttons->addWidget(m_pNone);
    buttons->addStretch(1);
    GetMainLayout()->addLayout(buttons);
    SetHelpPage("print-pages.html");
    AddNote("Checked items are printed: the project page, floor pages, room pages and zone pages.\n"
            "Ticking a floor or a room ticks everything in it.");
    FinishLayout();
}

void CDefinePrintPagesDlg::TickAll(bool tick) {
    QTreeWidgetItem* root = m_pTree->topLevelItem(0);
    if (!root) return;
    m_bTicking = true;
    root->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    TickBelow(root, tick ? Qt::Checked : Qt::Unchecked);
    m_bTicking = false;
}

bool CDefinePrintPagesDlg::OnOK() {
    QTreeWidgetItem* root = m_pTree->topLevelItem(0);
    if (!root) return true;
    m_Project.SetPrintMe(IsChecked(root));
    for (int f = 0; f < root->childCount(); ++f) {
        const QTreeWidgetItem* floorItem = root->child(f);
        CLENIFloor* floor = m_Project.GetFloorByName(Name(floorItem)); // reports an unknown name
        if (!floor) continue;
        floor->SetPrintMe(IsChecked(floorItem));
        for (int r = 0; r < floorItem->childCount(); ++r) {
            const QTreeWidgetItem* roomItem = floorItem->child(r);
            CLENIRoom* room = floor->FindRoom(Name(roomItem));
            if (!room) {
                Log().Printf(LOG_ERROR, "CLENIProject::GRBN (%s) no floor by that name",
                             Name(roomItem).c_str());
                continue;
            }
            room->SetPrintMe(IsChecked(roomItem));
            for (int z = 0; z < roomItem->childCount(); ++z) {
                const QTreeWidgetItem* zoneItem = roomItem->child(z);
                CLENIZone* zone = room->FindZone(Name(zoneItem));
                if (!zone) {
                    Log().Printf(LOG_ERROR, "CLENIProject::GZBN could not find zone <%s>",
                                 Name(zoneItem).c_str());
                    continue;
                }
                zone->SetPrintMe(IsChecked(zoneItem));
            }
        }
    }
    return true;
}

bool RunDefinePrintPages(QWidget* parent, CLENIBDoc& doc) {
    if (!doc.IsProjectOpen()) {
        Log().Printf(LOG_ERROR, "No project is loaded");
        return false;
    }
    CDefinePrintPagesDlg dialog(doc.GetProject(), parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    doc.SetModifiedFlag(true);
    return true;
}
