#pragma once
// One floor's page of the tab strip: owns the floor's DXF drawing and shows it, with the floor's
// model over it, in the floor view. A page without drawing is the empty first tab.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class CDxfFile;
class CFloorView;
class CLENIFloor;

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

  private:
    std::unique_ptr<CDxfFile> m_pDxf;
    std::string m_csFloorName;
    const CLENIFloor* m_pFloor = nullptr;
    CFloorView* m_pView = nullptr;
    QWidget* m_pPlaceholder = nullptr;
};
