#include "BuildingGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) out.append(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
}

struct XY {
    double u, v;
};

// Room frame: u runs along the facade, v into the room. South rooms face y = 0, north rooms face
// y = 13 and are turned half round, so that wall 0 is the facade of both and the outline stays
// counter-clockwise.
constexpr double kRoomWidth = 6.0;
constexpr double kRoomDepth = 5.0;
constexpr double kNorthFacadeY = 13.0;
// The notch of an L-shaped room: u in [kNotchU, width], v in [kNotchV, depth].
constexpr double kNotchU = 4.0;
constexpr double kNotchV = 3.5;

struct RoomFrame {
    double x0;
    bool north;
    XY ToWorld(const XY& p) const {
        if (north) return {x0 + kRoomWidth - p.u, kNorthFacadeY - p.v};
        return {x0 + p.u, p.v};
    }
};

std::vector<XY> RoomOutline(bool lShaped) {
    if (!lShaped) return {{0, 0}, {kRoomWidth, 0}, {kRoomWidth, kRoomDepth}, {0, kRoomDepth}};
    return {{0, 0},         {kRoomWidth, 0}, {kRoomWidth, kNotchV}, {kNotchU, kNotchV}, {kNotchU, kRoomDepth},
            {0, kRoomDepth}};
}

// Strip k of n across the room depth, cut by the notch of an L-shaped room (concave when the
// strip spans the notch's edge).
std::vector<XY> ZoneOutline(bool lShaped, int k, int n) {
    const double v0 = kRoomDepth * k / n, v1 = kRoomDepth * (k + 1) / n;
    if (!lShaped || v1 <= kNotchV) return {{0, v0}, {kRoomWidth, v0}, {kRoomWidth, v1}, {0, v1}};
    if (v0 >= kNotchV) return {{0, v0}, {kNotchU, v0}, {kNotchU, v1}, {0, v1}};
    return {{0, v0}, {kRoomWidth, v0}, {kRoomWidth, kNotchV}, {kNotchU, kNotchV}, {kNotchU, v1}, {0, v1}};
}

void AppendPolygon(std::string& out, const char* indent, const RoomFrame& frame,
                   const std::vector<XY>& local) {
    Append(out, "%s<Polygon>\n", indent);
    for (const XY& p : local) {
        const XY w = frame.ToWorld(p);
        Append(out, "%s    <xy>%.7f;%.7f</xy>\n", indent, w.u, w.v);
    }
    Append(out, "%s</Polygon>\n", indent);
}

const char* const kRoomTypes[] = {
    "[Offices]Cellular office 2-6 persons.(Fa=0.30)",
    "[Offices]Cellular office 1 person.(Fa=0.40)",
    "[Offices]Open plan office > 6 persons sensing/10m2(Fa=0.20)",
    "[Offices]Corridor (dimmed)(Fa=0.40)",
};
const double kRoomTypeFa[] = {0.30, 0.40, 0.20, 0.40};
const char* const kShadings[] = {"No Shading", "Glare Protection", "Auto Glare Protection", "Light Guides"};
const char* const kControlTechniques[] = {
    "Manual",
    "Automatic Switched On/Off",
    "Automatic Dimmed No Stand-by Losses No Switch On",
    "Automatic Daylight Responsive Off",
    "Automatic Dimmed Stand-by Losses Switch On",
};

void AppendProducts(std::string& out) {
    struct Product {
        const char* id;
        const char* desc;
        double power, standby, charge;
    };
    const Product products[] = {
        {"LUM-A36", "Recessed 36 W", 36.0, 0.5, 0.0},
        {"LUM-B18", "Downlight 18 W", 18.0, 0.2, 0.0},
        {"LED-P40", "LED panel 40 W", 40.0, 0.3, 0.0},
        {"EM-3", "Emergency 3 W", 3.0, 0.0, 1.0},
    };
    out += "    <Products>\n";
    for (const Product& p : products) {
        Append(out, "        <LumTypeData refid=\"%s\">\n", p.id);
        Append(out, "            <Desc>%s</Desc>\n", p.desc);
        out += "            <TypeFlags>1</TypeFlags>\n            <ProdConSys>1</ProdConSys>\n";
        Append(out, "            <MaxPow>%.7f</MaxPow>\n", p.power);
        Append(out, "            <StandbyPow>%.7f</StandbyPow>\n", p.standby);
        Append(out, "            <ChargePow>%.7f</ChargePow>\n", p.charge);
        out += "        </LumTypeData>\n";
    }
    out += "    </Products>\n";
}

void AppendLumList(std::string& out, const char* indent, const char* id, int count, bool emergency) {
    Append(out, "%s<LumList>\n", indent);
    Append(out, "%s    <Luminaire refid=\"%s\" count=\"%d\" />\n", indent, id, count);
    if (emergency) Append(out, "%s    <Luminaire refid=\"EM-3\" count=\"1\" />\n", indent);
    Append(out, "%s</LumList>\n", indent);
}

void AppendZone(std::string& out, const RoomFrame& frame, bool lShaped, int room, int k, int zones,
                double fa) {
    const int seed = room * 7 + k;
    Append(out,
           "                        <Zone zonename=\"Z%d\" controltechnique=\"%s\" ocs=\"%d\" zonelux=\"%d\" "
           "zoneluxreal=\"%d\" fa=\"%.3f\" fo=\"%s\">\n",
           k, kControlTechniques[seed % 5], 1 + seed % 4, seed % 3 ? 500 : 300, seed % 3 ? 500 : 350, fa,
           seed % 5 == 2 ? "1" : "ffa");
    Append(out, "                            <ConstantIllum active=\"%d\" fcc=\"%.3f\" />\n", seed % 4 == 1,
           seed % 4 == 1 ? 0.9 : 1.0);
    Append(out, "                            <ConstLumenOuput active=\"%d\" />\n", seed % 6 == 3);
    out += "                            <PrintMe>false</PrintMe>\n";
    AppendPolygon(out, "                            ", frame, ZoneOutline(lShaped, k, zones));
    AppendLumList(out, "                            ", seed % 3 == 2 ? "LED-P40" : "LUM-A36", 2 + seed % 3,
                  seed % 2 == 0);
    out += "                        </Zone>\n";
}

// Walls a window may sit on, in the order the windows of a room take them: the facade first.
int WindowWall(int k, bool lShaped) {
    const int last = lShaped ? 5 : 3;
    const int back = lShaped ? 4 : 2;
    const int order[] = {0, 1, 0, last, 0, back};
    return order[k % 6];
}

double WallLength(const std::vector<XY>& outline, int wall) {
    const XY& a = outline[wall];
    const XY& b = outline[(wall + 1) % outline.size()];
    return std::hypot(b.u - a.u, b.v - a.v);
}

void AppendWindow(std::string& out, const std::vector<XY>& outline, bool lShaped, int floor, int room, int k,
                  int onWall, int type) {
    const int wall = WindowWall(k, lShaped);
    const double length = WallLength(outline, wall);
    const int slots = std::max(1, static_cast<int>((length - 0.3) / 1.5));
    const double start = 0.3 + (onWall % slots) * 1.5;
    const double width = std::max(0.4, std::min(1.2 + 0.1 * (k % 3), length - start - 0.1));
    const bool facesAtrium = wall != 0 && (room + k) % 2 == 0;
    const int seed = floor * 31 + room * 7 + k;
    Append(out,
           "                        <Window wallid=\"%d\" windowid=\"%d\" wide=\"%.4f\" high=\"%.4f\" "
           "x=\"%.4f\" "
           "y=\"%.4f\" td65=\"0.8500\" k1=\"0.9500\" k2=\"0.8000\" k3=\"0.8500\" hasgdf=\"%d\" "
           "gdftau=\"0.8000\" "
           "gdfk1=\"0.9000\" gdfk2=\"1.0000\" gdfk3=\"0.9500\">\n",
           wall, onWall, width, 1.4 + 0.1 * (seed % 4), start, 0.8 + 0.1 * (seed % 3), seed % 7 == 0 ? 1 : 0);
    Append(out,
           "                            <ShadingIndex frontangle=\"%.4f\" sideangle=\"%.4f\" "
           "overhangangle=\"%.4f\" "
           "/>\n",
           static_cast<double>((seed * 7) % 40), static_cast<double>((seed * 11) % 30),
           static_cast<double>((seed * 5) % 25));
    if (facesAtrium)
        Append(out, "                            <AtriumName>ATR_%d</AtriumName>\n", floor);
    else
        out += "                            <AtriumName />\n";
    AppendLumList(out, "                            ", "LUM-B18", 1 + k % 2, seed % 5 == 0);
    Append(out, "                            <VertWinType>%d</VertWinType>\n", type);
    if (type == 1 || type == 2) {
        out += "                            <SlopeParamsV>\n";
        out += "                                <DistToWall>0.4000000</DistToWall>\n";
        Append(out, "                                <Gamma>%.7f</Gamma>\n", 25.0 + 10.0 * (seed % 3));
        out += "                                <SlopeLength>1.1000000</SlopeLength>\n";
        out += "                                <HeightToSlope>2.2000000</HeightToSlope>\n";
        Append(out, "                                <SlopeType>%d</SlopeType>\n", 1 + seed % 2);
        out += "                                <TD65SA>0.4500000</TD65SA>\n";
        out += "                            </SlopeParamsV>\n";
    }
    out += "                        </Window>\n";
}

void AppendRoofLight(std::string& out, int room, int j) {
    const int seed = room + j;
    Append(out, "                        <RoofLight id=\"%d\" type=\"%s\" orient=\"%d\">\n", j,
           seed % 2 ? "ShedRoofLight" : "FlatRoofLight", seed % 6);
    Append(out, "                            <XOrig>%.7f</XOrig>\n", 0.8 + 2.2 * (j % 2));
    Append(out, "                            <YOrig>%.7f</YOrig>\n", 0.7 + 1.6 * ((j / 2) % 2));
    out += "                            <XLength>1.6000000</XLength>\n";
    out += "                            <YWidth>1.0000000</YWidth>\n";
    out += "                            <TauD65Sna>0.8500000</TauD65Sna>\n";
    out += "                            <TauD65Sa>0.5000000</TauD65Sa>\n";
    out += "                            <kObl1>0.9000000</kObl1>\n";
    out += "                            <kObl2>0.9000000</kObl2>\n";
    out += "                            <kObl3>0.8500000</kObl3>\n";
    out += "                            <hw>1.0000000</hw>\n";
    out += "                            <hg>1.0000000</hg>\n";
    Append(out, "                            <GammaF>%.7f</GammaF>\n", seed % 2 ? 60.0 : 0.0);
    out += "                            <GammaW>30.0000000</GammaW>\n";
    out += "                            <hs>1.0000000</hs>\n";
    AppendLumList(out, "                            ", "LUM-A36", 1 + j % 2, false);
    out += "                        </RoofLight>\n";
}

void AppendRoom(std::string& out, const BuildingShape& shape, int floor, int room) {
    const bool lShaped = room % 4 == 3;
    const RoomFrame frame{(room / 2) * kRoomWidth, room % 2 == 1};
    const std::vector<XY> outline = RoomOutline(lShaped);
    const int typeIndex = (floor + room) % 4;
    const bool userDcaj = room % 9 == 5;
    Append(out,
           "                <Room roomname=\"R%02d_%03d\" type=\"%s\" mf=\"0.800\" hta=\"0.800\" td=\"2250\" "
           "tn=\"250\">\n",
           floor, room, kRoomTypes[typeIndex]);
    Append(out,
           "                    <DcajSettings>\n                        <Type>%s</Type>\n"
           "                        <UserVal>%.7f</UserVal>\n                    </DcajSettings>\n",
           userDcaj ? "User" : "Calculated", userDcaj ? 3.5 : 0.0);
    Append(out, "                    <Shading type=\"%s\" />\n", kShadings[(floor + room) % 4]);
    out += "                    <PrintMe>false</PrintMe>\n";
    AppendPolygon(out, "                    ", frame, outline);

    out += "                    <ZoneList>\n";
    for (int k = 0; k < shape.zonesPerRoom; ++k)
        AppendZone(out, frame, lShaped, room, k, shape.zonesPerRoom, kRoomTypeFa[typeIndex]);
    out += "                    </ZoneList>\n";

    out += "                    <WindowList>\n";
    std::vector<int> perWall(outline.size(), 0);
    for (int k = 0; k < shape.windowsPerRoom; ++k) {
        const int wall = WindowWall(k, lShaped);
        int type = (k + room + floor) % 3;
        if (floor == 0 && room == 1 && shape.windowsPerRoom >= 2 && k == shape.windowsPerRoom - 1) type = 3;
        AppendWindow(out, outline, lShaped, floor, room, k, perWall[wall]++, type);
    }
    out += "                    </WindowList>\n";

    if (floor == shape.floors - 1 && shape.roofLightsPerRoom > 0) {
        out += "                    <RoofLightList>\n";
        for (int j = 0; j < shape.roofLightsPerRoom; ++j)
            AppendRoofLight(out, room, j);
        out += "                    </RoofLightList>\n";
    } else {
        out += "                    <RoofLightList />\n";
    }
    out += "                </Room>\n";
}

void AppendAtrium(std::string& out, int floor) {
    Append(out,
           "                <Atrium atriumname=\"ATR_%d\" trans=\"0.700\" type=\"%s\" k1=\"0.900\" "
           "k2=\"0.900\" k3=\"0.950\">\n",
           floor, floor % 2 ? "courtyard" : "atrium");
    out += "                    <Polygon>\n";
    out += "                        <xy>-10.0000000;0.0000000</xy>\n";
    out += "                        <xy>-4.0000000;0.0000000</xy>\n";
    out += "                        <xy>-4.0000000;13.0000000</xy>\n";
    out += "                        <xy>-10.0000000;13.0000000</xy>\n";
    out += "                    </Polygon>\n";
    out += "                </Atrium>\n";
}

} // namespace

std::string GenerateBuildingXml(const BuildingShape& shape, const std::string& name) {
    std::string out;
    out.reserve(
        static_cast<size_t>(shape.floors) * shape.roomsPerFloor *
        (2500 + 1200 * shape.zonesPerRoom + 1400 * shape.windowsPerRoom + 1000 * shape.roofLightsPerRoom));
    out += "<?xml version=\"1.0\" ?>\n<NUVA_LENI_V3>\n";
    Append(out, "    <Name>%s</Name>\n", name.c_str());
    Append(out, "    <Descr>Synthetic building %d x %d x %d x %d x %d</Descr>\n", shape.floors,
           shape.roomsPerFloor, shape.zonesPerRoom, shape.windowsPerRoom, shape.roofLightsPerRoom);
    out += "    <Location>Bench</Location>\n    <DominantBuildingType>Offices</DominantBuildingType>\n";
    out +=
        "    <MF>0.8000000</MF>\n    <Latitude>45.4700000</Latitude>\n    <Longitude>9.1900000</Longitude>\n";
    out += "    <YearToBeBuilt>2030</YearToBeBuilt>\n    <YearBuilt>0</YearBuilt>\n";
    out += "    <HdirHglob>0.4500000</HdirHglob>\n    <PrintMe>false</PrintMe>\n";
    AppendProducts(out);
    out += "    <FloorList>\n";
    for (int f = 0; f < shape.floors; ++f) {
        Append(out, "        <Floor floorname=\"F%02d\" hi=\"%.2f\" count=\"%d\">\n", f, f % 2 ? 3.2 : 3.0,
               f % 4 == 1 ? 2 : 1);
        out += "            <PrintMe>false</PrintMe>\n            <RoomList>\n";
        for (int r = 0; r < shape.roomsPerFloor; ++r)
            AppendRoom(out, shape, f, r);
        out += "            </RoomList>\n            <AtriumList>\n";
        AppendAtrium(out, f);
        out += "            </AtriumList>\n        </Floor>\n";
    }
    out += "    </FloorList>\n</NUVA_LENI_V3>\n";
    return out;
}

// ---- DXF plans ----

namespace {

void Group(std::string& out, int code, const char* value) {
    Append(out, "%3d\n%s\n", code, value);
}

void Group(std::string& out, int code, double value) {
    Append(out, "%3d\n%.6f\n", code, value);
}

void GroupInt(std::string& out, int code, int value) {
    Append(out, "%3d\n%6d\n", code, value);
}

// Handles of the entities being written.
unsigned g_handle = 0x100;

// Entity start as an R2000 file has it: type, handle, subclass markers and layer, so that other
// readers take the file as well.
void Entity(std::string& out, const char* type, const char* layer, const char* subclass,
            const char* subclass2 = nullptr) {
    Group(out, 0, type);
    Append(out, "  5\n%X\n", g_handle++);
    Group(out, 100, "AcDbEntity");
    Group(out, 8, layer);
    Group(out, 100, subclass);
    if (subclass2) Group(out, 100, subclass2);
}

const char* const kLayers[] = {"0",      "A-WALL", "A-DOOR",    "A-GLAZ",
                               "A-FURN", "A-ANNO", "LENI_ROOM", "LENI_ZONE"};

void AppendBlocks(std::string& out) {
    Group(out, 0, "SECTION");
    Group(out, 2, "BLOCKS");
    // DOOR: a leaf and its swing.
    Group(out, 0, "BLOCK");
    Group(out, 8, "0");
    Group(out, 2, "DOOR");
    GroupInt(out, 70, 0);
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Entity(out, "LINE", "A-DOOR", "AcDbLine");
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Group(out, 11, 0.0);
    Group(out, 21, 0.9);
    Group(out, 31, 0.0);
    Entity(out, "ARC", "A-DOOR", "AcDbCircle", "AcDbArc");
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Group(out, 40, 0.9);
    Group(out, 50, 0.0);
    Group(out, 51, 90.0);
    Group(out, 0, "ENDBLK");
    // DESK: a rectangle with a chair inserted (a block defined further on).
    Group(out, 0, "BLOCK");
    Group(out, 8, "0");
    Group(out, 2, "DESK");
    GroupInt(out, 70, 0);
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Entity(out, "LWPOLYLINE", "A-FURN", "AcDbPolyline");
    GroupInt(out, 90, 4);
    GroupInt(out, 70, 1);
    const double desk[4][2] = {{0, 0}, {1.6, 0}, {1.6, 0.8}, {0, 0.8}};
    for (const auto& p : desk) {
        Group(out, 10, p[0]);
        Group(out, 20, p[1]);
    }
    Entity(out, "INSERT", "A-FURN", "AcDbBlockReference");
    Group(out, 2, "CHAIR");
    Group(out, 10, 0.8);
    Group(out, 20, 1.1);
    Group(out, 30, 0.0);
    Group(out, 0, "ENDBLK");
    Group(out, 0, "BLOCK");
    Group(out, 8, "0");
    Group(out, 2, "CHAIR");
    GroupInt(out, 70, 0);
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Entity(out, "CIRCLE", "A-FURN", "AcDbCircle");
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Group(out, 40, 0.25);
    Group(out, 0, "ENDBLK");
    Group(out, 0, "ENDSEC");
}

// One bay of the plan (about 2.5 kB): walls, a room outline with bulges, an old-style polyline,
// texts, a door, a desk and a tagged insert.
void AppendBay(std::string& out, int bay) {
    const double x = (bay % 200) * 6.0, y = (bay / 200) * 8.0;
    char text[64];
    for (int w = 0; w < 4; ++w) {
        Entity(out, "LINE", "A-WALL", "AcDbLine");
        GroupInt(out, 62, 1 + w);
        Group(out, 10, x + (w == 1 ? 6.0 : 0.0));
        Group(out, 20, y + (w == 2 ? 5.0 : 0.0));
        Group(out, 30, 0.0);
        Group(out, 11, x + (w == 3 ? 0.0 : 6.0));
        Group(out, 21, y + (w >= 1 ? 5.0 : 0.0));
        Group(out, 31, 0.0);
    }
    Entity(out, "LWPOLYLINE", bay % 2 ? "LENI_ROOM" : "A-GLAZ", "AcDbPolyline");
    GroupInt(out, 90, 5);
    GroupInt(out, 70, 1);
    const double room[5][3] = {
        {0.1, 0.1, 0.0}, {5.9, 0.1, 0.0}, {5.9, 4.9, 0.41421356}, {3.0, 4.9, 0.0}, {0.1, 4.9, 0.0}};
    for (const auto& p : room) {
        Group(out, 10, x + p[0]);
        Group(out, 20, y + p[1]);
        if (p[2] != 0.0) Group(out, 42, p[2]);
    }
    Entity(out, "POLYLINE", "A-GLAZ", "AcDb2dPolyline");
    GroupInt(out, 66, 1);
    GroupInt(out, 70, 0);
    for (int v = 0; v < 3; ++v) {
        Entity(out, "VERTEX", "A-GLAZ", "AcDbVertex", "AcDb2dVertex");
        Group(out, 10, x + 1.0 + v);
        Group(out, 20, y - 0.1);
        Group(out, 30, 0.0);
        if (v == 1) Group(out, 42, -0.5);
    }
    Group(out, 0, "SEQEND");
    Append(out, "  5\n%X\n", g_handle++);
    Group(out, 100, "AcDbEntity");
    Group(out, 8, "A-GLAZ");
    Entity(out, "TEXT", "A-ANNO", "AcDbText");
    Group(out, 10, x + 2.0);
    Group(out, 20, y + 2.5);
    Group(out, 30, 0.0);
    Group(out, 40, 0.25);
    std::snprintf(text, sizeof text, "Office %d", bay);
    Group(out, 1, text);
    Entity(out, "MTEXT", "A-ANNO", "AcDbMText");
    Group(out, 10, x + 2.0);
    Group(out, 20, y + 2.0);
    Group(out, 30, 0.0);
    Group(out, 40, 0.18);
    GroupInt(out, 71, 7);
    std::snprintf(text, sizeof text, "{\\fArial|b0;Area %.2f m2}", 29.0 + bay % 7);
    Group(out, 1, text);
    Entity(out, "INSERT", "A-DOOR", "AcDbBlockReference");
    Group(out, 2, "DOOR");
    Group(out, 10, x + 5.0);
    Group(out, 20, y + 5.0);
    Group(out, 30, 0.0);
    Group(out, 50, 180.0);
    Entity(out, "INSERT", "A-FURN", "AcDbBlockReference");
    GroupInt(out, 66, 1);
    Group(out, 2, "DESK");
    Group(out, 10, x + 1.0);
    Group(out, 20, y + 1.0);
    Group(out, 30, 0.0);
    Group(out, 41, 1.0);
    Group(out, 42, 1.0);
    Entity(out, "ATTRIB", "A-ANNO", "AcDbText", "AcDbAttribute");
    Group(out, 10, x + 1.0);
    Group(out, 20, y + 0.8);
    Group(out, 30, 0.0);
    Group(out, 40, 0.15);
    std::snprintf(text, sizeof text, "D-%05d", bay);
    Group(out, 1, text);
    Group(out, 2, "DESKNO");
    GroupInt(out, 70, 0);
    Group(out, 0, "SEQEND");
    Append(out, "  5\n%X\n", g_handle++);
    Group(out, 100, "AcDbEntity");
    Group(out, 8, "A-FURN");
    Entity(out, "CIRCLE", "A-FURN", "AcDbCircle");
    Group(out, 10, x + 4.5);
    Group(out, 20, y + 3.5);
    Group(out, 30, 0.0);
    Group(out, 40, 0.3);
}

} // namespace

std::string GenerateDxfPlan(size_t targetBytes) {
    std::string out;
    out.reserve(targetBytes + 4096);
    g_handle = 0x100;
    Group(out, 999, "Synthetic floor plan");
    Group(out, 0, "SECTION");
    Group(out, 2, "HEADER");
    Group(out, 9, "$ACADVER");
    Group(out, 1, "AC1015");
    Group(out, 9, "$EXTMIN");
    Group(out, 10, 0.0);
    Group(out, 20, 0.0);
    Group(out, 30, 0.0);
    Group(out, 9, "$EXTMAX");
    Group(out, 10, 1200.0);
    Group(out, 20, 8.0 * (targetBytes / 2500 / 200 + 1));
    Group(out, 30, 0.0);
    Group(out, 0, "ENDSEC");
    Group(out, 0, "SECTION");
    Group(out, 2, "TABLES");
    Group(out, 0, "TABLE");
    Group(out, 2, "LAYER");
    GroupInt(out, 70, static_cast<int>(sizeof kLayers / sizeof kLayers[0]));
    int colour = 1;
    for (const char* layer : kLayers) {
        Group(out, 0, "LAYER");
        Group(out, 2, layer);
        GroupInt(out, 70, 0);
        GroupInt(out, 62, colour++);
        Group(out, 6, "CONTINUOUS");
    }
    Group(out, 0, "ENDTAB");
    Group(out, 0, "ENDSEC");
    AppendBlocks(out);
    Group(out, 0, "SECTION");
    Group(out, 2, "ENTITIES");
    for (int bay = 0; out.size() < targetBytes; ++bay)
        AppendBay(out, bay);
    Group(out, 0, "ENDSEC");
    Group(out, 0, "EOF");
    return out;
}

std::string GenerateDxfLongPolylines(size_t targetBytes, int vertices) {
    std::string out;
    out.reserve(targetBytes + 4096);
    g_handle = 0x100;
    Group(out, 0, "SECTION");
    Group(out, 2, "ENTITIES");
    for (int line = 0; out.size() < targetBytes; ++line) {
        Entity(out, "LWPOLYLINE", "A-WALL", "AcDbPolyline");
        GroupInt(out, 90, vertices);
        GroupInt(out, 70, 0);
        for (int i = 0; i < vertices; ++i) {
            Group(out, 10, line * 3.0 + (i % 7) * 0.5);
            Group(out, 20, i * 0.01);
        }
    }
    Group(out, 0, "ENDSEC");
    Group(out, 0, "EOF");
    return out;
}
