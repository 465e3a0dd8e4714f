#pragma once
// An office floor made in code: a grid of 6 x 5 m office modules, each with walls, a door, window
// marks, two desks with chairs, light fittings, a column and its room texts (about 22 entities per
// module), and optionally the building model over part of it.

#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"
#include "model/LENIFloor.h"

#include <cmath>
#include <memory>
#include <string>

class SamplePlan {
  public:
    static constexpr double kModuleX = 6.0;
    static constexpr double kModuleY = 5.0;
    static constexpr int kEntitiesPerModule = 22;

    CLayerTable layers;
    CEntList entities;
    CSnapPointList snap;
    CDxfBlock door;
    CDxfBlock desk;
    CLENIFloor floor{"GROUND", 3.0};

    // cols x rows modules; the model covers at most modelCols x modelRows of them.
    SamplePlan(int cols, int rows, int modelCols = 0, int modelRows = 0) {
        layers.AddLayer("0", 7, true);
        CDxfLayer* zero = layers.GetLayerPtrFromName("0");
        walls = layers.AddLayer("WALLS", 7, true);
        doors = layers.AddLayer("DOORS", 3, true);
        windows = layers.AddLayer("WINDOWS", 5, true);
        furniture = layers.AddLayer("FURNITURE", 8, true);
        lights = layers.AddLayer("LIGHTS", 30, true);
        text = layers.AddLayer("TEXT", 7, true);
        columns = layers.AddLayer("COLUMNS", 250, true);
        layers.AddLayer("LENI_ROOM", 1, false);

        door.SetName("DOOR");
        door.m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(0, 0.9)), zero); // the open leaf
        door.m_EntList.AddEntity(CDxfArc(Point(0, 0), 0.9, 0.0, 90.0), zero);
        desk.SetName("DESK");
        CDxfPline top;
        top.AddVertex(Point(0, 0));
        top.AddVertex(Point(1.6, 0));
        top.AddVertex(Point(1.6, 0.8));
        top.AddVertex(Point(0, 0.8));
        top.m_bClosed = true;
        desk.m_EntList.AddEntity(top, zero);
        desk.m_EntList.AddEntity(CDxfCircle(Point(0.8, 1.2), 0.3), zero);

        entities.Reserve(static_cast<size_t>(cols) * rows * kEntitiesPerModule);
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < cols; ++i)
                AddModule(i, j, j * cols + i + 1);
        for (const auto& e : entities)
            AddSnapPoints(snap, e.get(), Matrix4());
        for (int j = 0; j < std::min(rows, modelRows); ++j)
            for (int i = 0; i < std::min(cols, modelCols); ++i)
                AddRoom(i, j, j * cols + i + 1);
    }

    // Plans of about n entities, square.
    static int ModulesPerSide(int n) {
        return static_cast<int>(std::ceil(std::sqrt(double(n) / kEntitiesPerModule)));
    }

  private:
    CDxfLayer* walls;
    CDxfLayer* doors;
    CDxfLayer* windows;
    CDxfLayer* furniture;
    CDxfLayer* lights;
    CDxfLayer* text;
    CDxfLayer* columns;

    static CDxfPline Rectangle(double x0, double y0, double x1, double y1) {
        CDxfPline p;
        p.AddVertex(Point(x0, y0));
        p.AddVertex(Point(x1, y0));
        p.AddVertex(Point(x1, y1));
        p.AddVertex(Point(x0, y1));
        p.m_bClosed = true;
        return p;
    }

    void AddModule(int i, int j, int number) {
        const double x = i * kModuleX, y = j * kModuleY;
        entities.AddEntity(Rectangle(x, y, x + kModuleX, y + kModuleY), walls);
        entities.AddEntity(Rectangle(x + 0.15, y + 0.15, x + kModuleX - 0.15, y + kModuleY - 0.15), walls);
        CDxfInsert d;
        d.m_pBlock = &door;
        d.SetBlockName("DOOR");
        d.m_Insert = Point(x + kModuleX - 1.3, y + kModuleY - 0.15);
        d.m_dRotation = 180.0;
        entities.AddEntity(d, doors);
        entities.AddEntity(CDxfLine(Point(x + 1.5, y + 0.05), Point(x + 4.5, y + 0.05)), windows);
        entities.AddEntity(CDxfLine(Point(x + 1.5, y + 0.1), Point(x + 4.5, y + 0.1)), windows);
        for (int k = 0; k < 2; ++k) {
            CDxfInsert desk1;
            desk1.m_pBlock = &desk;
            desk1.SetBlockName("DESK");
            desk1.m_Insert = Point(x + 0.8 + 2.6 * k, y + 1.0);
            entities.AddEntity(desk1, furniture);
        }
        for (int k = 0; k < 4; ++k) {
            const double lx = x + 1.5 + 3.0 * (k % 2), ly = y + 1.6 + 2.0 * (k / 2);
            entities.AddEntity(CDxfCircle(Point(lx, ly), 0.25), lights);
            entities.AddEntity(CDxfLine(Point(lx - 0.18, ly - 0.18), Point(lx + 0.18, ly + 0.18)), lights);
            entities.AddEntity(CDxfLine(Point(lx - 0.18, ly + 0.18), Point(lx + 0.18, ly - 0.18)), lights);
        }
        CDxfSolid column;
        column.m_iNumCorners = 4;
        column.m_Corners[0] = Point(x, y);
        column.m_Corners[1] = Point(x + 0.4, y);
        column.m_Corners[2] = Point(x, y + 0.4);
        column.m_Corners[3] = Point(x + 0.4, y + 0.4);
        entities.AddEntity(column, columns);
        CDxfText name("OFFICE " + std::to_string(number), Point(x + kModuleX / 2, y + 3.2), 0.3);
        name.m_iHorzJustify = 1;
        entities.AddEntity(name, text);
        CDxfText area("28.1 m2", Point(x + kModuleX / 2, y + 2.7), 0.2);
        area.m_iHorzJustify = 1;
        entities.AddEntity(area, text);
    }

    void AddRoom(int i, int j, int number) {
        const double x = i * kModuleX, y = j * kModuleY;
        CLENIRoom room;
        const std::string name = "R" + std::to_string(number);
        room.InitFromPolygon(name,
                             {Point(x + 0.15, y + 0.15), Point(x + kModuleX - 0.15, y + 0.15),
                              Point(x + kModuleX - 0.15, y + kModuleY - 0.15),
                              Point(x + 0.15, y + kModuleY - 0.15)},
                             floor.GetHeight());
        CLENIZone zone;
        zone.InitFromPolygon("Z" + std::to_string(number),
                             {Point(x + 0.15, y + 0.15), Point(x + kModuleX - 0.15, y + 0.15),
                              Point(x + kModuleX - 0.15, y + 3.0), Point(x + 3.0, y + 3.0),
                              Point(x + 3.0, y + kModuleY - 0.15), Point(x + 0.15, y + kModuleY - 0.15)});
        zone.GetLumList().AddLuminaire("LED-PANEL-600-36W");
        zone.GetLumList().SetLuminaireCount("LED-PANEL-600-36W", 4);
        zone.GetLumList().AddLuminaire("DOWNLIGHT-EMERGENCY-3H-MAINTAINED");
        room.AddZone(zone);
        CLENIWindow window;
        window.m_iWallId = 0;
        window.m_iWindowId = 1;
        window.m_dStart = 1.35;
        window.m_dWidth = 3.0;
        window.m_dSillHeight = 0.9;
        window.m_dHeight = 1.5;
        window.m_LumList.AddLuminaire("LED-PANEL-600-36W");
        window.m_LumList.SetLuminaireCount("LED-PANEL-600-36W", 2);
        room.AddWindow(window);
        if (number == 1) {
            CLENIRoofLight roofLight;
            roofLight.m_iId = 1;
            roofLight.m_dXOrig = 3.6;
            roofLight.m_dYOrig = 3.6;
            roofLight.m_dXLength = 1.5;
            roofLight.m_dYWidth = 0.8;
            roofLight.m_iType = RL_SHED;
            roofLight.SetOrientation(RLO_SOUTH);
            room.AddRoofLight(roofLight);
        }
        floor.AddRoom(room);
    }
};
