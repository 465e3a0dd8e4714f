#pragma once
// The daylight dependency factor Fd of a vertical window.

#include "calc/ShadingIndex.h"
#include "dxf/Point.h"

#include <functional>
#include <string>

class CLENIFloor;
class CLENIProject;
class CLENIRoom;
class CLENIWindow;
class CLENIZone;

// Everything the daylight dependency factor of one window reads, gathered from the window, its room,
// the zone and the project.
struct WindowDaylightInput {
    // window
    double width = 0.0, height = 0.0, sill = 0.0;
    double tauD65 = 0.85, k1 = 0.95, k2 = 0.8, k3 = 0.85;
    ShadingIndexInput shading;
    // Evaluates the shading index in place of `shading` when set (the model form: it is looked up
    // afresh each time, as the window dialog shows it).
    std::function<double()> shadingIndex;
    // room
    double workSurfaceHeight = 0.0;
    int shadingType = 0;
    double roomDepth = 0.0;                // in front of the window
    Point wallDirection = Point(1.0, 0.0); // unit vector; the room lies to its left
    // zone
    std::string controlTechnique = "Manual";
    double em = 500.0;
    // project and step
    double latitude = 45.0;
    double hdirHglob = 0.45;
    unsigned timeStep = 0;
    double area = 0.0; // of the window's daylight area inside the zone
};

// Facade class of a wall direction: EastWest when |y| > |x|, else South for x > 0 and North for
// x < 0; a zero vector is reported and counts as South.
int GetFacadeOfWallDirection(const Point& direction);

// Daylight class of a window's Dcaj: strong from 6, medium from 4, else weak; writes the class line
// (for a weak class only from Dcaj 2 on).
int GetDaylightClassOfDcaj(double dcaj);

// Fd = 1 - V x Fdc x Fds; writes every step to the calculation log.
double GetDaylightDependencyFactorFd(const WindowDaylightInput& in);

// The same for a window (vertical, or the vertical equivalent of a sloped one) of a room, in a zone:
// area is the window's daylight area inside the zone.
double GetDaylightDependencyFactorFd(const CLENIWindow& window, const CLENIZone& zone, const CLENIRoom& room,
                                     const CLENIFloor& floor, double area, double hdirHglob, double latitude,
                                     unsigned timeStep, const CLENIProject& project);

// The vertical equivalent of a vertical sloped window in a room of height h, its working written
// to the calculation log.
CLENIWindow GetLoggedVerticalEquivalent(const CLENIWindow& window, double h);
