#pragma once
// One floor's page: the floor's DXF drawing with the building model over it, drawn into an
// off-screen picture that is kept while the page keeps its size and redrawn only when the view,
// the model or a switch changes. Zoom All, wheel zoom about the pointer, middle-button pan, arrow
// keys, keypad plus and minus, F3 and F9 snap toggles and the pointer position in the status text.

#include "dxf/Point.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

class CDxfFile;
class CEntList;
class CSnapPointList;
class CLENIFloor;

enum MouseMode { MM_NONE = 0, MM_PAN = 1, MM_ADD_ROOM = 2, MM_ADD_ZONE = 3, MM_ADD_ATRIUM = 4 };

// What finishing an outline came to.
enum FinishResult {
    FINISH_FAILED = 0,   // the outline and the mode stay
    FINISH_DONE = 1,     // the outline is discarded, mode 0
    FINISH_CANCELLED = 2 // mode 0, the outline stays on screen until Esc
};

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
    // The mode saved while the middle button pans (0 when none).
    int GetSavedMode() const { return m_iSavedMode; }

    // Drawing of room, zone and atrium outlines (modes 2, 3 and 4) with the left button; Enter or
    // a click near the first corner finishes, Ctrl+Z takes back the last corner, Esc discards.
    void StartDrawing(int mode);
    // Mode 0, default cursor, no outline.
    void StopDrawing();
    const Polygon& GetOutline() const { return m_Outline; }
    bool HasOutline() const { return m_bHasOutline; }
    // The room in which the zone being drawn was started; empty otherwise.
    const std::string& GetZoneRoomName() const { return m_csZoneRoom; }
    void ClearZoneRoomName() { m_csZoneRoom.clear(); }
    // Corners snap within this distance (a fortieth of the view width).
    double GetSnapTolerance() const { return (m_ViewMax.x - m_ViewMin.x) / 40.0; }
    Point GetPointerWorld() const { return m_PointerWorld; }
    // Finishing an outline of the given mode (the page builds the room, zone or atrium).
    void SetFinishHandler(std::function<int(int mode, const Polygon& outline)> handler) {
        m_FinishHandler = std::move(handler);
    }
    // A right-button press: the world point and the pointer on the screen.
    void SetContextHandler(std::function<void(const Point& world, const QPoint& global)> handler) {
        m_ContextHandler = std::move(handler);
    }
    // The mode changed (the main window's commands are enabled only in mode 0).
    void SetModeHandler(std::function<void()> handler) { m_ModeHandler = std::move(handler); }
    // How many times the outline and rubber band were drawn over the kept picture.
    int GetOverlayCount() const { return m_iOverlayCount; }
    // Layer name and colour of the outline of a drawing mode.
    static const char* GetOutlineLayer(int mode);
    static int GetOutlineColour(int mode);
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
    bool event(QEvent* event) override;

  private:
    void SetMode(int mode);
    // A left click at P in a drawing mode.
    void AddCorner(const Point& p);
    // False with the message shown when P may not be a corner of the outline.
    bool CheckClick(const Point& p);
    void FinishOutline();
    void DrawOutline(QPainter& painter);
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
    Polygon m_Outline;
    bool m_bHasOutline = false;
    std::string m_csZoneRoom;
    int m_iOverlayCount = 0;
    std::function<int(int, const Polygon&)> m_FinishHandler;
    std::function<void(const Point&, const QPoint&)> m_ContextHandler;
    std::function<void()> m_ModeHandler;
};
