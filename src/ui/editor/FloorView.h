#pragma once
// One floor's page: the floor's DXF drawing with the building model over it, drawn into an
// off-screen picture that is kept while the page keeps its size and redrawn only when the view,
// the model or a switch changes. Zoom All, wheel zoom about the pointer, middle-button pan, arrow
// keys, keypad plus and minus, F3 and F9 snap toggles and the pointer position in the status text.

#include "dxf/Point.h"
#include "model/ModelGeometry.h"
#include "model/OutlineEdit.h"
#include "ui/editor/PlanDisplay.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

class CDxfFile;
class CEntList;
class CSnapPointList;
class CLENIFloor;

enum MouseMode { MM_NONE = 0, MM_PAN = 1, MM_ADD_ROOM = 2, MM_ADD_ZONE = 3, MM_ADD_ATRIUM = 4, MM_MEASURE = 5 };

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
    // Draws the picture anew at the next paint (the model or how it is shown changed).
    void Invalidate();

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
    // The View switches; room names are always drawn and each room's tables kept apart.
    void SetPlanDisplay(const PlanDisplay& display);
    const PlanDisplay& GetPlanDisplay() const { return m_Display; }
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
    // Measuring (mode 5): a click (snapped as drawing is) takes a point and tells the area of the zone
    // and room under it, the next click the distance from it; Esc ends the mode.
    void StartMeasure();
    void MeasureAt(const Point& p);
    // The last measurement ("Distance 5.00 m (dx 3.00 m, dy 4.00 m)" or "Zone <Z>: 12.00 m2 ...").
    const std::string& GetMeasureText() const { return m_MeasureText; }
    const Polygon& GetOutline() const { return m_Outline; }
    bool HasOutline() const { return m_bHasOutline; }
    // The room in which the zone being drawn was started; empty otherwise.
    const std::string& GetZoneRoomName() const { return m_csZoneRoom; }
    void ClearZoneRoomName() { m_csZoneRoom.clear(); }
    // Corners snap within this distance (a fortieth of the view width).
    double GetSnapTolerance() const { return (m_ViewMax.x - m_ViewMin.x) / 40.0; }
    Point GetPointerWorld() const { return m_PointerWorld; }
    // Where a pick at P lands and what it snapped to (SnapKind of ModelGeometry.h). With object
    // snap (F3) on: a corner of the floor's rooms, zones and atria, else the nearest point on one
    // of their sides, else a point of the drawing; then, with grid snap (F9) on, the grid.
    struct SnapResult {
        Point point;
        int kind = SNAPPED_NONE;
    };
    SnapResult SnapPick(const Point& p) const;
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
    // Editing outlines in mode 0. A left click selects the zone, room or atrium under the pointer
    // (a zone before its room); dragging a corner of the selection moves that corner, dragging
    // inside it moves the whole outline (a room with its zones, windows and roof lights), both
    // snapping as drawing does. Insert puts a corner on the side nearest the pointer, Delete takes
    // the corner nearest the pointer away, a typed @dx;dy and Enter moves the selection, Esc lets
    // go of it. Each edit goes to the edit handler, which checks it and makes it one undo step.
    bool SelectAt(const Point& p);
    void ClearSelection();
    int GetSelectedKind() const { return m_iSelKind; }
    const std::string& GetSelectedRoom() const { return m_SelRoom; }
    const std::string& GetSelectedName() const { return m_SelName; }
    // The selection's outline, as it is being dragged while a drag is on.
    const Polygon& GetSelectedOutline() const { return m_SelOutline; }
    bool InsertCornerAt(const Point& p);
    bool DeleteCornerAt(const Point& p);
    bool MoveSelection(const Point& by);
    // Copying a selected room: C (or Ctrl held while dragging its inside) makes the next move put a
    // copy there instead, the room staying where it is; the copy handler makes the copy.
    void SetCopyMode(bool copy);
    bool IsCopyMode() const { return m_bCopy; }
    void SetCopyHandler(std::function<bool(const std::string& room, const Point& by)> handler) {
        m_CopyHandler = std::move(handler);
    }
    // True when the edit was made (the handler shows why when it was not).
    void SetEditHandler(std::function<bool(const OutlineEdit&)> handler) { m_EditHandler = std::move(handler); }
    // How many times the outline and rubber band were drawn over the kept picture.
    int GetOverlayCount() const { return m_iOverlayCount; }
    // Layer name and colour of the outline of a drawing mode.
    static const char* GetOutlineLayer(int mode);
    static int GetOutlineColour(int mode);
    // The status text, "[grid snap off F9] [object snap off F3]   DXFPOS: 1.00 2.00" and so on;
    // given to the callback on every pointer move and snap toggle.
    // In a drawing mode it goes on with what the snap would do and what the mode expects.
    std::string GetStatusText() const;
    // What the drawing mode expects next ("Click the next corner, ..."); empty in other modes.
    std::string GetPrompt() const;
    // Typed corners: in a drawing mode, digits and the signs of a coordinate go to the entry
    // (shown in the status text and beside the pointer), Backspace takes one back, Enter places
    // the corner exactly (see CoordinateEntry.h; refused with a message, the outline untouched),
    // Esc clears the entry before it ends the mode.
    const std::string& GetEntry() const { return m_Entry; }
    // The decimal sign of typed numbers; the user's locale's by default.
    void SetDecimalSign(char sign) { m_cDecimalSign = sign == ',' ? ',' : '.'; }
    char GetDecimalSign() const { return m_cDecimalSign; }
    // Rectangle drawing: R before the first corner; two opposite corners make the outline, which is
    // then finished as an outline closed with Enter is.
    bool IsRectangle() const { return m_bRectangle; }
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
    // A left click at P in a drawing mode (snapped), or a typed corner (exact).
    void AddCorner(const Point& p, bool typed = false);
    void PlaceTypedCorner();
    // The second corner of a rectangle: the four corners, then finishing.
    void CompleteRectangle(const Point& corner);
    // False with the message shown when P may not be a corner of the outline.
    bool CheckClick(const Point& p);
    // False with the message shown when the zone side from A to B leaves the zone's room.
    bool CheckZoneSide(const Point& a, const Point& b);
    void DrawSnapMarker(QPainter& painter);
    void DrawMeasure(QPainter& painter);
    // The areas of the zone, room or atrium holding P.
    std::string AreaTextAt(const Point& p) const;
    void DrawSelection(QPainter& painter);
    // Sends an edit of the selection to the handler; the selection shows the model's outline after.
    bool CommitEdit(const Polygon& outline, std::vector<int> wallMap, const Point& shift);
    void RefreshSelection();
    // Ends a move of the selection by `by`: a copy in copy mode, else an edit.
    bool PlaceSelection(const Point& by);
    // Pixels per metre of the current view.
    double PixelScale() const;
    void FinishOutline();
    void DrawOutline(QPainter& painter);
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
    PlanDisplay m_Display;
    bool m_bRedrawNeeded = true;
    QImage m_Image;
    int m_iRenderCount = 0;
    std::function<void(const std::string&)> m_StatusCallback;
    Polygon m_Outline;
    bool m_bHasOutline = false;
    std::string m_csZoneRoom;
    std::string m_Entry;
    int m_iSelKind = OUTLINE_NONE;
    std::string m_SelRoom, m_SelName;
    Polygon m_SelOutline;
    int m_iDragCorner = -1;
    bool m_bMovingOutline = false;
    bool m_bLeftDown = false;
    bool m_bCopy = false;
    int m_iMeasurePoints = 0; // 0, 1 (a first point) or 2 (a distance)
    Point m_MeasureFrom, m_MeasureTo;
    std::string m_MeasureText;
    std::function<bool(const std::string&, const Point&)> m_CopyHandler;
    Point m_DragFrom;
    std::function<bool(const OutlineEdit&)> m_EditHandler;
    char m_cDecimalSign = '.';
    bool m_bRectangle = false;
    int m_iOverlayCount = 0;
    std::function<int(int, const Polygon&)> m_FinishHandler;
    std::function<void(const Point&, const QPoint&)> m_ContextHandler;
    std::function<void()> m_ModeHandler;
};
