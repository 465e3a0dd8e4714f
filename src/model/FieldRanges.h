#pragma once
// The range each number of an opening, an atrium and the project can take in a building: sizes
// and heights not below 0, transmittances and correction factors from 0 to 1, obstruction and
// slope angles from 0 to 90 degrees, latitudes from -90 to 90 and longitudes from -180 to 180.
// A number a file gives outside its range is clamped into it, and the log names the element,
// the field and the value.

#include <string>

class CLENIAtrium;
class CLENIRoofLight;
class CLENIWindow;

void KeepInRange(CLENIWindow& window, const std::string& room);
void KeepInRange(CLENIRoofLight& roofLight, const std::string& room);
void KeepInRange(CLENIAtrium& atrium);
// The project's latitude, longitude, maintenance factor and Hdir/Hglob.
void KeepProjectNumbersInRange(double& latitude, double& longitude, double& mf, double& hdirHglob);
