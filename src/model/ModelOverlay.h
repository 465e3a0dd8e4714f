#pragma once
// Draws a floor's building model over its plan: room outlines, zones with their luminaire tables,
// windows with their daylight areas, roof lights and atria, with fixed pens, colours and label
// places so that a picture can be reproduced. Points go through the world-to-pixel matrix of the
// plan (y down on the screen).

#include "dxf/DrawCanvas.h"
#include "dxf/Point.h"

#include <string>
#include <unordered_map>
#include <vector>

class CLENIFloor;
class CLENIRoom;
class CLENIZone;
class CLENIWindow;
class CLENIRoofLight;
class CLENIAtrium;
class CZoneObjList;

namespace overlay {
constexpr CanvasPen kRoomPen{MakeRgb(0, 100, 55), 6, PEN_SOLID};
constexpr CanvasPen kZonePen{MakeRgb(127, 0, 0), 2, PEN_SOLID};
constexpr CanvasPen kZoneTablePen{MakeRgb(127, 0, 0), 1, PEN_SOLID};
constexpr CanvasPen kWindowPen{MakeRgb(0, 100, 250), 8, PEN_SOLID};
constexpr CanvasPen kDaylightAreaPen{MakeRgb(0, 0, 100), 1, PEN_DASH};
constexpr CanvasPen kRoofLightPen{MakeRgb(0, 0, 55), 2, PEN_SOLID};
constexpr CanvasPen kAtriumPen{MakeRgb(0, 128, 127), 2, PEN_DASHDOTDOT};
constexpr Rgb kWindowLabelColour = MakeRgb(0, 100, 0);
constexpr Rgb kRoofLightTextColour = MakeRgb(0, 0, 55);
constexpr Rgb kAtriumTextColour = MakeRgb(0, 128, 127);
constexpr Rgb kRoomTextColour = MakeRgb(0, 0, 0);
// Opaque labels sit on the plan's white.
constexpr Rgb kLabelBackground = MakeRgb(255, 255, 255);
constexpr int kRowHeight = 14;
constexpr int kHalfTableWidth = 84;
constexpr size_t kMaxShownRefId = 20;
} // namespace overlay

// The font of every model label: "ARIAL", 12 pixels.
CanvasFont GetModelLabelFont();

// A box in pixels (y down).
struct PixelBounds {
    double left = 0, top = 0, right = 0, bottom = 0;
};
// The box every mark of the room's model falls in: its outline, zones, daylight areas and roof
// lights, grown by the most its tables and labels can reach beyond the points they are drawn at.
PixelBounds GetRoomModelBounds(const CLENIRoom& room, const Matrix4& worldToPixel);

// While one is alive on this thread, where each room's marks lie is worked out once per room, not
// once per picture: for many pictures of a model that does not change meanwhile (a printed report).
class CRoomExtentMemo {
  public:
    CRoomExtentMemo();
    ~CRoomExtentMemo();
    CRoomExtentMemo(const CRoomExtentMemo&) = delete;
    CRoomExtentMemo& operator=(const CRoomExtentMemo&) = delete;

    // Where a room's marks lie in the world (y up), and how far its tables and labels reach
    // beyond them in pixels: the same for every picture of the room.
    struct Extent {
        PixelBounds world;
        int reach = 0;
    };

  private:
    std::unordered_map<const CLENIRoom*, Extent> m_Extents;
    std::unordered_map<const CLENIRoom*, Extent>* m_pOuter;
};

// What the model drawing shows besides the outlines. The defaults draw every table and label at
// its own anchor (the printed pages); the plan editor adds room names and keeps tables apart.
struct OverlayOptions {
    bool luminaireTables = true; // zone, daylight-area and roof-light tables
    bool openingLabels = true;   // window and roof-light labels
    bool roomNames = false;      // each room's name, on white, at the room's label point
    // Each room's tables and name moved, where they fit, to the nearest place inside the room
    // clear of the ones drawn before them.
    bool keepTablesApart = false;
};

// Rooms in list order (each with its zones, windows and roof lights), then the atria. h is the floor
// height, the room height the roof lights' daylight areas are worked out with. With visible given,
// a room none of whose marks can fall in it is left out.
void DrawFloorModel(IDrawCanvas& canvas, const CLENIFloor& floor, const Matrix4& worldToPixel, double h,
                    const PixelBounds* visible = nullptr, const OverlayOptions& options = OverlayOptions());
void DrawRoomModel(IDrawCanvas& canvas, const CLENIRoom& room, const Matrix4& worldToPixel, double h,
                   const OverlayOptions& options = OverlayOptions());

// Where one room's tables and labels go when they are kept apart: each box is put at the nearest
// place to where it is wanted (searched in half rows and quarter table widths, up to 30 rows and
// 3 table widths away) that lies inside the room and clear of the boxes placed before it; where
// none does, at the wanted place. Pixels, y down.
class CLabelPlacer {
  public:
    CLabelPlacer(const Polygon& roomPixels, bool active);
    // The top-centre point of a box halfWidth either side of x and height high, wanted with its
    // top centre at (x, y).
    CanvasPoint Place(int x, int y, int halfWidth, int height);
    // A box the boxes placed later keep clear of (a roof light and its label).
    void Reserve(const PixelBounds& box) {
        if (m_bActive) m_Placed.push_back(box);
    }
    const std::vector<PixelBounds>& GetPlaced() const { return m_Placed; }

  private:
    bool Fits(const PixelBounds& box) const;
    Polygon m_Room;
    PixelBounds m_RoomBox;
    bool m_bActive;
    std::vector<PixelBounds> m_Placed;
};
void DrawZoneModel(IDrawCanvas& canvas, const CLENIZone& zone, const Matrix4& worldToPixel);
void DrawWindowModel(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIWindow& window,
                     const Matrix4& worldToPixel);
void DrawRoofLightModel(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIRoofLight& roofLight,
                        const Matrix4& worldToPixel);
void DrawAtriumModel(IDrawCanvas& canvas, const CLENIAtrium& atrium, const Matrix4& worldToPixel);

// A table of reference ids and counts, 168 pixels wide, its top edge centred on the anchor, one
// 14-pixel row for the title and one per entry; drawn with the given pen, not filled.
void DrawLuminaireTable(IDrawCanvas& canvas, int x, int y, const std::string& title, const CZoneObjList& list,
                        const CanvasPen& pen, Rgb textColour);
// A reference id as a table shows it: more than 20 characters become the first 20 and "...".
std::string ShortenRefId(const std::string& refId);
// The label point of a zone polygon in pixels: the vertex mean when it lies inside, else the centroid
// of the triangle at the topmost vertex (smallest pixel y, the first such) and the next two.
CanvasPoint GetZoneLabelPoint(const Polygon& pixels);

// The north arrow near the top-right corner of an area whose right edge is at x = right.
void DrawNorthArrow(IDrawCanvas& canvas, int right);
// "X<count>" right-aligned below the north arrow, for a floor standing for several storeys.
void DrawInstanceMark(IDrawCanvas& canvas, int right, int count);
