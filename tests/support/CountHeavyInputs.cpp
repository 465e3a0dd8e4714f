#include "support/CountHeavyInputs.h"

#include <cstdio>
#include <string>

namespace {

std::string Format(const char* format, int a, int b = 0) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, a, b);
    return buf;
}

std::string Product(const std::string& refId) {
    return "<LumTypeData refid=\"" + refId +
           "\"><MaxPow>36</MaxPow><StandbyPow>0.5</StandbyPow><ChargePow>0</ChargePow></LumTypeData>\n";
}

const char* const kSquare = "<Polygon><xy>0;0</xy><xy>5;0</xy><xy>5;4</xy><xy>0;4</xy></Polygon>";

std::string Zone(const std::string& name, const std::string& lumList) {
    return "<Zone zonename=\"" + name +
           "\" controltechnique=\"Manual\" ocs=\"1\" zonelux=\"500\" zoneluxreal=\"500\" fa=\"0.300\" "
           "fo=\"ffa\">"
           "<ConstantIllum active=\"0\" fcc=\"1.000\" /><ConstLumenOuput active=\"0\" />" +
           std::string(kSquare) + "<LumList>" + lumList + "</LumList></Zone>\n";
}

std::string Room(const std::string& name, const std::string& zones) {
    return "<Room roomname=\"" + name +
           "\" type=\"[Offices]Cellular office 2-6 persons.(Fa=0.30)\" mf=\"0.800\" hta=\"0.800\" "
           "td=\"2250\" "
           "tn=\"250\"><DcajSettings><Type>Calculated</Type><UserVal>0</UserVal></DcajSettings>"
           "<Shading type=\"No Shading\" />" +
           std::string(kSquare) + "<ZoneList>" + zones +
           "</ZoneList><WindowList /><RoofLightList /></Room>\n";
}

std::string Floor(const std::string& name, const std::string& rooms) {
    return "<Floor floorname=\"" + name + "\" hi=\"3.00\" count=\"1\"><RoomList>" + rooms +
           "</RoomList><AtriumList /></Floor>\n";
}

std::string Project(const std::string& products, const std::string& floors) {
    return "<?xml version=\"1.0\" ?>\n<NUVA_LENI_V3><Name>HEAVY</Name><DominantBuildingType>Offices</"
           "DominantBuildingType><Latitude>45.47</Latitude><HdirHglob>0.45</HdirHglob>\n<Products>\n" +
           Product("LUM36") + products + "</Products>\n<FloorList>\n" + floors +
           "</FloorList></NUVA_LENI_V3>\n";
}

const std::string kOneLuminaire = "<Luminaire refid=\"LUM36\" count=\"4\" />";

std::string OneRoomFloor() {
    return Floor("Ground", Room("Office", Zone("Desks", kOneLuminaire)));
}

// Luminaire entries first..first+count-1, each of its own product.
std::string Entries(int first, int count) {
    std::string list;
    for (int i = first; i < first + count; ++i)
        list += Format("<Luminaire refid=\"P%d\" count=\"1\" />", i);
    return list;
}

std::string Products(int count) {
    std::string products;
    for (int i = 0; i < count; ++i)
        products += Product(Format("P%d", i));
    return products;
}

// DXF: a layer table, then entities.
std::string Dxf(const std::string& blocks, const std::string& entities) {
    return "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nLENI_ROOM\n62\n1\n0\nENDTAB\n0\nENDSEC\n"
           "0\nSECTION\n2\nBLOCKS\n" +
           blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

} // namespace

std::string SmallProject() {
    return Project("", OneRoomFloor());
}

std::vector<CountHeavyInput> CountHeavyInputs() {
    std::vector<CountHeavyInput> inputs;

    {
        CountHeavyInput in{"one element with 100 000 attributes",
                           "attributes.LENI1XML",
                           "",
                           true,
                           "has more than 1000 attributes (the limit of attributes on one element)",
                           1.0};
        std::string attributes;
        for (int i = 0; i < 100000; ++i)
            attributes += Format(" a%d=\"1\"", i);
        in.text = Project("", OneRoomFloor());
        in.text.replace(in.text.find("<Name>"), 6, "<Name" + attributes + ">");
        inputs.push_back(in);
    }
    // Half of this run is the project copy built as a document tree and printed; streamed to its
    // file (the performance work) the run keeps within 2 s, until then 4 s.
    inputs.push_back(
        {"100 000 products", "products.LENI1XML", Project(Products(100000), OneRoomFloor()), false, "", 4.0});
    {
        // Every product twice over: the duplicate check of every one finds its twin.
        CountHeavyInput in{"50 000 products, each twice", "duplicates.LENI1XML", "", false, "", 2.0};
        in.text = Project(Products(50000) + Products(50000), OneRoomFloor());
        inputs.push_back(in);
    }
    inputs.push_back(
        {"10 000 distinct luminaire entries in one list", "entries.LENI1XML",
         Project(Products(10000), Floor("Ground", Room("Office", Zone("Desks", Entries(0, 10000))))), true,
         "More than 1000 luminaire entries in one list", 1.0});
    {
        // Within the limits: ten rooms of 1 000 entries each, 10 000 products.
        std::string rooms;
        for (int r = 0; r < 10; ++r)
            rooms += Room(Format("Office %d", r), Zone("Desks", Entries(r * 1000, 1000)));
        inputs.push_back({"10 000 distinct luminaire entries in ten lists", "entries10.LENI1XML",
                          Project(Products(10000), Floor("Ground", rooms)), false, "", 2.0});
    }
    {
        std::string floors = OneRoomFloor();
        for (int i = 0; i < 40000; ++i)
            floors += Format(
                "<Floor floorname=\"F%d\" hi=\"3.00\" count=\"1\"><RoomList /><AtriumList /></Floor>\n", i);
        inputs.push_back({"40 000 empty floors", "floors.LENI1XML", Project("", floors), true,
                          "More than 1000 floors in a project", 1.0});
    }
    {
        std::string rooms;
        for (int i = 0; i <= 10000; ++i)
            rooms += Room(Format("R%d", i), Zone("Desks", kOneLuminaire));
        inputs.push_back({"10 001 rooms on one floor", "rooms.LENI1XML", Project("", Floor("Ground", rooms)),
                          true, "More than 10000 rooms on one floor", 1.0});
    }
    {
        std::string zones;
        for (int i = 0; i <= 1000; ++i)
            zones += Zone(Format("Z%d", i), kOneLuminaire);
        inputs.push_back({"1 001 zones in one room", "zones.LENI1XML",
                          Project("", Floor("Ground", Room("Office", zones))), true,
                          "More than 1000 zones in one room", 1.0});
    }
    {
        // 10 000 inserts of a block of 1 000 lines: the drawing's expansion limit.
        std::string block = "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n";
        for (int i = 0; i < 1000; ++i)
            block += Format("0\nLINE\n8\n0\n10\n%d\n20\n0\n11\n%d\n21\n1\n", i, i);
        block += "0\nENDBLK\n8\n0\n";
        std::string entities;
        for (int i = 0; i < 10000; ++i)
            entities += Format("0\nINSERT\n8\n0\n2\nB\n10\n%d\n20\n%d\n", i % 100, i / 100);
        inputs.push_back({"10 000 inserts of a 1 000-line block", "inserts.dxf", Dxf(block, entities), false,
                          "would draw more than", 2.0});
    }
    return inputs;
}
