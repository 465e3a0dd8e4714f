#pragma once
// Shared plane and space types: a point of four doubles, a polygon as an ordered vertex array,
// and a 4 x 4 transform.
// Note: plan coordinates are drawing units read as metres; y points up; polygons are kept
// counter-clockwise and closed implicitly (edge i runs from vertex i to vertex (i + 1) mod n).

#include <vector>

struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0; // carried along; 0 for every point the program makes
    Point() = default;
    Point(double px, double py, double pz = 0.0, double pw = 0.0) : x(px), y(py), z(pz), w(pw) {}
    bool operator==(const Point& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

using Polygon = std::vector<Point>;

// Row-major 4 x 4 matrix applied to column vectors: x' = m[0][0] x + m[0][1] y + m[0][2] z + m[0][3],
// likewise y' and z' from rows 1 and 2; row 3 is 0 0 0 1. A product A x B applies B first.
struct Matrix4 {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// Tolerances shared by model, import and editor.
constexpr double kDuplicateVertexTolerance = 0.01; // m
constexpr double kContainmentTolerance = 0.05;     // m, rooms and zones
constexpr double kWindowWallTolerance = 0.2;       // m
