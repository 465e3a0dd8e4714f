#pragma once
// The abstract DXF entity. Coordinates are kept in the entity's object coordinate system; its
// object-to-world matrix (identity unless read with an extrusion direction) maps them to the
// drawing. Lists own their entities and receive clones.

#include "dxf/DxfLayer.h"
#include "dxf/Point.h"

#include <algorithm>
#include <memory>
#include <string>

class IDrawCanvas;

enum DxfEntityType {
    DXF_POINT = 0,
    DXF_LINE = 1,
    DXF_PLINE = 2,
    DXF_CIRCLE = 3,
    DXF_ELLIPSE = 4,
    DXF_ARC = 5,
    DXF_TEXT = 6,
    DXF_MESH = 7,
    DXF_PGONMESH = 8,
    DXF_INSERT = 9,
    DXF_3DFACE = 10,
    DXF_SOLID = 11,
};

// Degrees to radians the way drawings have always been converted here.
constexpr double kDxfPi = 3.14159265359;
constexpr double kDegToRad = kDxfPi / 180.0;

// Colour numbers: 1-255 a palette colour, 0 by block, 256 by layer.
constexpr int kColourByBlock = 0;
constexpr int kColourByLayer = 256;

// The smallest box holding the points added to it.
struct ExtentsBox {
    bool valid = false;
    Point min, max;
    // Inline: measuring a plan adds every point of it.
    void Add(const Point& p) {
        if (!valid) {
            min = max = Point(p.x, p.y, p.z, 0.0);
            valid = true;
            return;
        }
        min.x = std::min(min.x, p.x);
        min.y = std::min(min.y, p.y);
        min.z = std::min(min.z, p.z);
        max.x = std::max(max.x, p.x);
        max.y = std::max(max.y, p.y);
        max.z = std::max(max.z, p.z);
    }
    void Add(const ExtentsBox& box) {
        if (box.valid) {
            Add(box.min);
            Add(box.max);
        }
    }
};

class CDxfEntity {
  public:
    virtual ~CDxfEntity() = default;

    // A new entity of the same class with the same layer, matrix, colour and data; null when the
    // entity cannot be copied.
    virtual std::unique_ptr<CDxfEntity> Clone() const = 0;
    // A clone whose coordinates are mapped through matrix x own matrix, with the identity matrix.
    virtual std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const = 0;
    virtual int GetType() const = 0;
    virtual const char* GetTypeName() const = 0;
    // Coordinates become (coordinate + offset) x scale; sizes are scaled.
    virtual void ApplyWriteTransform(double scale, const Point& offset) = 0;
    // Rotates about the origin of the entity's plane; an angle of exactly 0 does nothing.
    virtual void RotateAboutOrigin(double radians) = 0;
    // How far the point is from the entity, for picking.
    virtual double DistanceTo(const Point& p) const = 0;
    // Whether the entity may touch the rectangle (x and y only).
    virtual bool IsInBox(const Point& /*min*/, const Point& /*max*/) const { return true; }
    virtual bool IsOnLayer(const std::string& name) const;
    // other is an entity of the same class; false for any other class.
    virtual bool IsSame(const CDxfEntity& other, double tolerance) const = 0;
    virtual Point GetStartPoint() const { return Point(); }
    virtual Point GetEndPoint() const { return Point(); }
    // The box of the entity under matrix x own matrix; false when there is nothing to measure.
    virtual bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const = 0;
    virtual void DrawIntoDC(IDrawCanvas& /*canvas*/, const Matrix4& /*matrix*/) const {}
    // One line describing the entity, written to the general log as a note.
    virtual void Dump(const char* prefix) const = 0;

    CDxfLayer* GetLayer() const { return m_pLayer; }
    // A null layer is refused with a note and the entity keeps its layer.
    void SetLayer(CDxfLayer* layer);
    // The layer's name, "" without a layer.
    const std::string& GetLayerName() const;
    int GetColour() const { return m_iColour; }
    void SetColour(int colour) { m_iColour = colour; }
    const Matrix4& GetMatrix() const;
    void SetMatrix(const Matrix4& matrix);
    bool HasIdentityMatrix() const { return !m_pMatrix; }
    // matrix x own matrix.
    Matrix4 ComposeWithOwn(const Matrix4& matrix) const;

  protected:
    CDxfEntity() = default;
    CDxfEntity(const CDxfEntity& other);
    CDxfEntity& operator=(const CDxfEntity& other);

  private:
    CDxfLayer* m_pLayer = nullptr;      // not owned; set from group 8
    std::unique_ptr<Matrix4> m_pMatrix; // object-to-world from groups 210/220/230; null = identity
    int m_iColour = kColourByLayer;     // group 62
};

// Helpers shared by the entity classes.
Point RotatePointAboutOrigin(const Point& p, double radians);
Point ApplyWriteTransformToPoint(const Point& p, double scale, const Point& offset);
// Adds the eight corners of the box lo-hi mapped through the matrix.
void AddTransformedBox(ExtentsBox& box, const Point& lo, const Point& hi, const Matrix4& matrix);
// Length of the vector (dx, dy, dz) after the matrix's linear part.
double TransformedLength(const Matrix4& m, double dx, double dy, double dz);
// Distance to a segment for picking: in x-y to the foot of the perpendicular, else the 3D
// distance to the nearer end point.
double PickDistanceToSegment(const Point& a, const Point& b, const Point& p);
bool BoxesOverlap2D(const Point& aMin, const Point& aMax, const Point& bMin, const Point& bMax);
