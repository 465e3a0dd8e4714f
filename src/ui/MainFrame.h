#pragma once
// The top-level window: the main menu, the tab strip of the floors and the status bar.

#include <QMainWindow>
#include <map>

class QAction;
class QMenu;
class QTabWidget;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QTabWidget* GetTabCtrl() const { return m_pTabCtrl; }
    // The menu item of a command id, or nullptr.
    QAction* FindCommand(int id) const;

  private:
    void CreateMainMenu();
    QAction* AddCommand(QMenu* menu, const char* text, int id);
    void OnFoldersProjects();
    void OnFoldersAppData();
    void OnAppAbout();

    QTabWidget* m_pTabCtrl = nullptr;
    std::map<int, QAction*> m_commands;
};
