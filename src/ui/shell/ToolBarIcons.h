#pragma once
// The pictures of the toolbar buttons, drawn at 48 x 48 pixels.

#include <QIcon>

QIcon MakeNewProjectIcon();
QIcon MakeOpenProjectIcon();
QIcon MakeSaveProjectIcon();
QIcon MakeAddFloorIcon();
QIcon MakeRemoveFloorIcon();
QIcon MakeAddRoomIcon();
QIcon MakeAddZoneIcon();
