#pragma once
// "Zone Luminaires": the counted luminaire list of a zone's area away from daylight (AND) or of a
// daylight area (AD), edited on a copy: add from the product database, change a count by a double
// click, remove with Del or Backspace.

#include "products/ZoneObjList.h"
#include "ui/dialogs/CheckedDialog.h"

class CLENIBDoc;
class QPushButton;
class QTreeWidget;

class CZoneObjectsDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // ad: the list of a daylight area, otherwise the zone's AND list.
    CZoneObjectsDlg(const CZoneObjList& list, CLENIBDoc* doc, bool ad, QWidget* parent = nullptr);
    const CZoneObjList& GetList() const { return m_List; }

    QTreeWidget* GetListControl() const { return m_pList; }
    QPushButton* GetAddButton() const { return m_pAdd; }
    QLabel* GetHint() const { return m_pHint; }
    // The actions behind the buttons and keys.
    void OnAdd();
    void OnChangeCount(int row);
    void OnRemove(int row);

  protected:
    bool OnOK() override { return true; }
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillRows();

    CZoneObjList m_List;
    CLENIBDoc* m_pDoc;
    QTreeWidget* m_pList;
    QPushButton* m_pAdd;
    QLabel* m_pHint;
};
