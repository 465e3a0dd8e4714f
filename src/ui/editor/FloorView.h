#pragma once
// One floor's page: the floor's DXF drawing with the building model over it, drawn into an
// off-screen picture that is kept while the page keeps its size and redrawn only when the view,
// the model or a switch changes. Zoom All, wheel zoom about the pointer, middle-button pan, arrow
// keys, keypad plus and minus, F3 and F9 snap toggles and the pointer position in the status text.

#include "dxf/Point.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

class CDxfFile;
class CEntList;
class CSnapPointList;
class CLENIFloor;

enum MouseMode { MM_NONE = 0, MM_PAN = 1, MM_ADD_ROOM = 2, MM_ADD_ZONE = 3, MM_ADD_ATRIUM = 4 };

class CFloorView : public QWidget {
    Q_OBJECT
  public:
    explicit CFloorView(QWidget* parent = nullptr);

    // The drawing's entities and snap settings and the floor drawn over them; none is owned and
    // each must outlive the page or be replaced first. Zooms to all.
    void SetDrawing(const CEntList* entities, CSnapPointList* snap, const CLENIFloor* floor);
    // The same for a drawing read from a file, shown on white with colour 7 in black.
    void SetDxfFile(CDxfFile* drawing, const CLENIFloor* floor);
    bool HasDrawing() const { return m_pEntities != nullptr; }
    // The model changed: draw again.
    void SetFloor(const CLENIFloor* floor);

    // The view window becomes the drawing's extents on visible layers with 5 % more on each side,
    // grown to hold every room, roof light and atrium of the floor.
    void ZoomAll();
    // n wheel notches about the world point c: each view limit moves towards c by 5 % per notch.
    // Refused below a view width of 0.01 m when zooming in and above 5e8 m when zooming out.
    void ZoomStep(int n, const Point& c);
    // Moves the view window by (dx, dy) metres.
    void Pan(double dx, double dy);
    void SetViewWindow(const Point& min, const Point& max);
    Point GetViewMin() const { return m_ViewMin; }
    Point GetViewMax() const { return m_ViewMax; }

    void SetShowDxfBackground(bool show);
    bool GetShowDxfBackground() const { return m_bShowDxf; }
    void ToggleObjectSnap();
    void ToggleGridSnap();

    int GetMouseMode() const { return m_eMouseMode; }
    // The status text, "[grid snap off F9] [object snap off F3]   DXFPOS: 1.00 2.00" and so on;
    // given to the callback on every pointer move and snap toggle.
    std::string GetStatusText() const;
    void SetStatusCallback(std::function<void(const std::string&)> callback) {
        m_StatusCallback = std::move(callback);
    }
    // The world position under a pixel of the widget.
    Point WidgetToWorld(const QPoint& pixel) const;

    // Draws the off-screen picture now if it is missing, of another size or out of date; the paint
    // event calls it and shows the result.
    void RenderImage();
    const QImage& GetImage() const { return m_Image; }
    // How many times the picture was drawn from the drawing and the model.
    int GetRenderCount() const { return m_iRenderCount; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Invalidate();
    void ReportStatus();
    QSize AreaSize() const;
    // World to picture pixels for the current view window and size.
    Matrix4 GetWorldToPixel() const;

    const CEntList* m_pEntities = nullptr;
    CSnapPointList* m_pSnap = nullptr;
    const CLENIFloor* m_pFloor = nullptr;
    Point m_ViewMin{0, 0};
    Point m_ViewMax{1, 1};
    QPoint m_Pointer; // picture pixels
    Point m_PointerWorld;
    int m_eMouseMode = MM_NONE;
    int m_iSavedMode = MM_NONE;
    bool m_bShowDxf = true;
    bool m_bRedrawNeeded = true;
    QImage m_Image;
    int m_iRenderCount = 0;
    std::function<void(const std::string&)> m_StatusCallback;
};
