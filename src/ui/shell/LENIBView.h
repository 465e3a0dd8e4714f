#pragma once
// The document's view: a strip of tabs, one floor page per floor of the project, in floor order
// (the leftmost tab is the first floor, the rightmost the top floor). Tabs can be dragged to
// reorder the floors. It carries out the floor commands of the main window and answers the
// document's requests for dialogs.

#include "app/LENIBDoc.h"
#include "ui/editor/PlanDisplay.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class CDxfFile;
class CDxfTabDlg;
class QTabWidget;

class CLENIBView : public QWidget, public IDocumentUi {
    Q_OBJECT
  public:
    static constexpr const char* kNoFloorLoaded = "NO DXF FLOOR LOADED";
    static constexpr const char* kNoDxf = "NO DXF";

    explicit CLENIBView(CLENIBDoc& doc, QWidget* parent = nullptr);
    ~CLENIBView() override;

    CLENIBDoc& GetDocument() { return m_Doc; }
    QTabWidget* GetTabCtrl() const { return m_pTabCtrl; }
    int GetTabCount() const;
    // The page of that tab, its drawing read first when the page has not been shown yet.
    CDxfTabDlg* GetPage(int index) const;
    // Whether the page's drawing has been read (a page not shown yet waits for it).
    bool IsPageRead(int index) const;
    std::string GetTabText(int index) const;
    // The page of the selected tab (tab 0 is selected when none is); null when there is none.
    CDxfTabDlg* GetCurrDxfTabDlg();
    CDxfTabDlg* GetCurrDxfTabDlg() const;
    // Text of tab 0, for the single-tab states.
    void SetTabText(const std::string& text);
    // Status texts of the floor pages go here.
    void SetStatusHandler(std::function<void(const std::string&)> handler) {
        m_StatusHandler = std::move(handler);
    }

    // Floor commands of the main window.
    void OnAddDxfFloor();
    void OnAddSimpleFloor();
    void OnRemoveDxfFloor();
    void OnGridSnapSettings();
    void OnFloorCalculation();
    void OnZoomAll();
    void OnObjectSnap();
    void OnGridSnap();
    void OnDxfBackground();
    // View switches of every floor page (ID_SHOW_LUMINAIRE_TABLES, ID_SHOW_OPENING_LABELS,
    // ID_DXF_BACKGROUND), remembered in the preferences, and whether one is on.
    void TogglePlanDisplay(int id);
    bool IsCommandChecked(int id) const;
    // Drawing modes of the current page: MM_ADD_ROOM, MM_ADD_ZONE or MM_ADD_ATRIUM.
    void OnStartMode(int mode);
    void OnUndo();
    void OnRedo();
    // Whether the view's part of a command's enabling rule holds.
    bool IsCommandEnabled(int id) const;

    // The dialog part of adding a DXF floor, for the menu command and for a dropped file.
    void AddDxfFloor(const std::string& path);
    // Copies the file into the project folder and adds the floor (importing the special layers
    // when asked); false when nothing was added.
    // scale: metres per drawing unit; a drawing not in metres is kept in the project in metres.
    bool AddDxfFloorToProject(const std::string& path, double height, bool import, double scale = 1.0);
    // Reads the DXF file into a tab: the empty first tab, or a new last one.
    bool OpenDxfTab(const std::string& path);
    // A tab for every floor with a drawing; only the shown one reads it now, the others when they
    // are first shown or asked for (GetPage).
    void LoadProjectDxfs();
    void RemoveAllDxfTabs();
    // The project's floors follow the tab order; marks the document modified when they moved.
    void ReconcileFloorOrder();

    // IDocumentUi
    void ClearView() override { RemoveAllDxfTabs(); }
    void ShowProject() override { LoadProjectDxfs(); }
    void DocumentChanged() override;
    bool IsEditorIdle() const override;
    bool HasCurrentTab() const override { return GetCurrDxfTabDlg() != nullptr; }
    bool RunProjectDialog(CLENIProject& settings, int mode) override;
    bool RunNameDialog(const std::string& proposal, std::string& name) override;
    bool AskProjectFileToOpen(const std::string& startDir, std::string& path) override;
    bool AskResultsFileToSave(const std::string& startDir, const std::string& proposedName,
                              std::string& path) override;
    void OpenFolderInBrowser(const std::string& folder) override;
    void RunBuildingCalculation() override;
    void SetWaitCursor(bool wait) override;
    // An undo or redo may bring a floor back or take one away: the tabs follow the floors.
    void ModelReplaced() override { SyncPagesWithFloors(); }

  signals:
    // The title, the modified mark or the enabling of commands may have changed.
    void documentChanged();

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    CDxfTabDlg* AddPage(const std::string& text);
    // The empty first tab, named for the floor, or a new last one.
    CDxfTabDlg* PageForFloor(const std::string& modelName);
    // A floor's tab whose drawing is read when the page is first shown or asked for.
    void AddUnreadDxfTab(const std::string& path);
    void ReadPendingDrawing(CDxfTabDlg* page) const;
    // Floor pointers of the pages, after the project's floor list changed.
    void RefreshFloors();
    // A tab for each floor whose drawing is in the project folder, in the floors' order; the tabs
    // of floors the project no longer has go (their files stay).
    void SyncPagesWithFloors();
    // Takes the page out of the tab strip (the last one is emptied instead).
    void RemovePage(CDxfTabDlg* page);
    // The room of a new simple floor, with a single zone when the user wants one.
    void AddSimpleFloorRoom(const std::string& floorName, double x, double y);
    void OnTabChanged(int index);

    CLENIBDoc& m_Doc;
    QTabWidget* m_pTabCtrl;
    std::function<void(const std::string&)> m_StatusHandler;
    bool m_bReconciling = false;
    PlanDisplay m_PlanDisplay;
};
