#pragma once
// The top-level window: the main menu, the toolbar, the tab strip of the floors (the view) and
// the status bar. It owns the project document and routes the commands to it and to the view.

#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "calc/RoomPassMemo.h"

#include <QMainWindow>
#include <map>
#include <string>
#include <vector>

class CLENIBView;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    // Help > Help: the contents of the user manual (F1).
    static constexpr int ID_HELP_CONTENTS = 57667;
    // The widest text the floor page puts in the status pane (both snaps on, a large grid and
    // coordinates of a large plan): the pane is made at least this wide.
    static constexpr const char* kStatusTemplate =
        "[GRID SNAP ON 100.00 m F9] [OBJECT SNAP ON F3]   DXFPOS: -99999.99 -99999.99";

    // File > "Export Report as PDF..." (an id of this program's own, beside the resource ids).
    static constexpr int kExportReportPdf = 33001;
    // File > "Export Results as CSV...".
    static constexpr int kExportResultsCsv = 33002;
    // View > "Colour Rooms by LENI" (checkable).
    static constexpr int kColourRoomsByLeni = 33003;
    // File > "Compare with Project..." and Calculation > "Savings Advisor...".
    static constexpr int kCompareWithProject = 33004;
    static constexpr int kSavingsAdvisor = 33005;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLENIBDoc& GetDocument() { return m_Doc; }
    CLENIBView* GetView() const { return m_pView; }
    QTabWidget* GetTabCtrl() const;
    QToolBar* GetToolBar() const { return m_pToolBar; }
    // The menu item of a command id, or nullptr.
    QAction* FindCommand(int id) const;
    // Runs the command as its menu item would, when it is enabled; false when it is not.
    bool RunCommand(int id);

    // The second pane of the status bar; every text is shown whole (the pane grows for a longer one).
    void SetStatusText(const char* format, ...) ORV_PRINTF(2, 3);
    std::string GetStatusText() const;
    QLabel* GetStatusPane() const { return m_pStatusPane; }
    std::string GetPromptText() const;

    // Commands are enabled as the document and the current floor tab allow.
    void UpdateCommandUi();
    // The recent-file items of the File menu.
    void UpdateRecentFileItems();
    // What dropping these files on the window does.
    void DropFiles(const std::vector<std::string>& paths);
    // A project file given from outside ("orvantis open"): the window comes to the front and opens
    // it as File > Open does, asking first to save a modified project; the file joins the recent files.
    void OpenProjectFromOutside(const std::string& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateMainMenu();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* AddCommand(QMenu* menu, const char* text, int id);
    void OnCommand(int id);
    void OnDocumentChanged();
    void OnFoldersProjects();
    void OnFoldersAppData();
    void OnAppAbout();
    void OnHelpContents();

    // The rooms' results of this session's calculations, so a recalculation after an edit works out
    // only what the edit touched.
    CRoomResultMemo m_RoomResults;
    CLENIBDoc m_Doc;
    CLENIBView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pPromptPane = nullptr;
    QLabel* m_pStatusPane = nullptr;
    std::map<int, QAction*> m_commands;
};

// A recent-file path as its menu item shows it: longer than 40 characters, "..." and the last 40.
std::string ShortenRecentPath(const std::string& path);
