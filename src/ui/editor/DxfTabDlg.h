#pragma once
// One floor's page of the tab strip: owns the floor's DXF drawing and shows it, with the floor's
// model over it, in the floor view. A page without drawing is the empty first tab.

#include "dxf/Point.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class CDxfFile;
class CFloorView;
class CLENIBDoc;
class CLENIFloor;
struct FloorPageContext;

class CDxfTabDlg : public QWidget {
    Q_OBJECT
  public:
    explicit CDxfTabDlg(QWidget* parent = nullptr);
    ~CDxfTabDlg() override;

    // Takes the drawing (null: the page becomes empty) and the floor drawn over it. The drawing
    // starts with both snaps off and the default grid size, zoomed to all.
    void SetDxfFile(std::unique_ptr<CDxfFile> dxf, const std::string& floorName, const CLENIFloor* floor,
                    double gridSize);
    bool HasDrawing() const { return m_pDxf != nullptr; }
    CDxfFile* GetDxfFile() const { return m_pDxf.get(); }
    // The drawing's floor name; empty without drawing.
    const std::string& GetFloorName() const { return m_csFloorName; }
    // The floor object moved or changed: draw it again.
    void SetFloor(const CLENIFloor* floor);

    // No drawing or panning in progress.
    bool IsIdle() const;
    void ZoomAll();
    void ToggleObjectSnap();
    void ToggleGridSnap();
    void ToggleDxfBackground();
    double GetGridSize() const;
    void SetGridSize(double size);
    bool IsObjectSnapOn() const;
    bool IsGridSnapOn() const;
    std::string GetStatusText() const;
    void SetStatusCallback(std::function<void(const std::string&)> callback);
    // The page's floor view (null in a build without one).
    CFloorView* GetFloorView() const { return m_pView; }

    // The open project the page edits.
    void SetDocument(CLENIBDoc* doc) { m_pDoc = doc; }
    // Starts drawing a room, zone or atrium outline (MM_ADD_ROOM, MM_ADD_ZONE, MM_ADD_ATRIUM).
    void StartMode(int mode);
    // The main window's commands that the context menu repeats (Remove DXF floor, Floor
    // Calculation), and what follows a change of the model or of the mode.
    void SetCommandHandler(std::function<void(int id)> handler) { m_CommandHandler = std::move(handler); }
    void SetChangedHandler(std::function<void()> handler) { m_ChangedHandler = std::move(handler); }
    void SetModeHandler(std::function<void()> handler);

    // The context menu as a right click at the world point opens it (shown at global).
    QMenu* OpenContextMenu(const Point& at, const QPoint& global);
    // The menu opened last, while it is open.
    QMenu* GetContextMenu() const { return m_pMenu; }
    // Whether the context menu's item is enabled, and running it at a world point.
    bool IsContextCommandEnabled(int id) const;
    void RunContextCommand(int id, const Point& at);
    FloorPageContext MakeContext(const Point& at);

  private:
    int FinishOutline(int mode, const Polygon& outline);
    // The model changed: the document is modified and the floor drawn again.
    void ModelChanged();

    std::unique_ptr<CDxfFile> m_pDxf;
    std::string m_csFloorName;
    const CLENIFloor* m_pFloor = nullptr;
    CFloorView* m_pView = nullptr;
    QWidget* m_pPlaceholder = nullptr;
    CLENIBDoc* m_pDoc = nullptr;
    std::function<void(int)> m_CommandHandler;
    std::function<void()> m_ChangedHandler;
    QPointer<QMenu> m_pMenu;
};
