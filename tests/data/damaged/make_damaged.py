#!/usr/bin/env python3
"""Writes the damaged-file corpus next to this script: one folder per reader, each with its files
and EXPECTED.tsv (file, what the reader does, a part of the message it must give).
Run it again after changing a case; the files are kept in the repository."""
import os
import random
import re

HERE = os.path.dirname(os.path.abspath(__file__))

PROJECT = """<?xml version="1.0" ?>
<NUVA_LENI_V3>
    <Name>Damaged</Name>
    <Descr>Base of the damaged files</Descr>
    <Location>Roma</Location>
    <DominantBuildingType>Offices</DominantBuildingType>
    <MF>0.8000000</MF>
    <Latitude>41.9000000</Latitude>
    <Longitude>12.5000000</Longitude>
    <YearToBeBuilt>0</YearToBeBuilt>
    <YearBuilt>2010</YearBuilt>
    <HdirHglob>0.4500000</HdirHglob>
    <PrintMe>true</PrintMe>
    <Products>
        <LumTypeData refid="L1">
            <Desc>Panel 40 W</Desc>
            <TypeFlags>1</TypeFlags>
            <ProdConSys>1</ProdConSys>
            <MaxPow>40.0000000</MaxPow>
            <StandbyPow>0.5000000</StandbyPow>
            <ChargePow>0.0000000</ChargePow>
        </LumTypeData>
    </Products>
    <FloorList>
        <Floor floorname="Ground" hi="3.00" count="2">
            <PrintMe>false</PrintMe>
            <RoomList>
                <Room roomname="Office" type="[Offices]Cellular office 2-6 persons.(Fa=0.30)" mf="0.800" hta="0.800" td="2250" tn="250">
                    <DcajSettings>
                        <Type>Calculated</Type>
                        <UserVal>0.0000000</UserVal>
                    </DcajSettings>
                    <Shading type="No Shading" />
                    <PrintMe>false</PrintMe>
                    <Polygon>
                        <xy>0.0000000;0.0000000</xy>
                        <xy>8.0000000;0.0000000</xy>
                        <xy>8.0000000;6.0000000</xy>
                        <xy>0.0000000;6.0000000</xy>
                    </Polygon>
                    <ZoneList>
                        <Zone zonename="Desks" controltechnique="Manual" ocs="1" zonelux="500" zoneluxreal="500" fa="0.300" fo="ffa">
                            <ConstantIllum active="0" fcc="1.000" />
                            <ConstLumenOuput active="0" />
                            <PrintMe>false</PrintMe>
                            <Polygon>
                                <xy>0.0000000;0.0000000</xy>
                                <xy>8.0000000;0.0000000</xy>
                                <xy>8.0000000;6.0000000</xy>
                                <xy>0.0000000;6.0000000</xy>
                            </Polygon>
                            <LumList>
                                <Luminaire refid="L1" count="4" />
                            </LumList>
                        </Zone>
                    </ZoneList>
                    <WindowList>
                        <Window wallid="0" windowid="0" wide="2.4000" high="1.6000" x="1.0000" y="0.9000" td65="0.8500" k1="0.9500" k2="0.8000" k3="0.8500" hasgdf="0" gdftau="0.8500" gdfk1="1.0000" gdfk2="1.0000" gdfk3="1.0000">
                            <ShadingIndex frontangle="0.0000" sideangle="0.0000" overhangangle="0.0000" />
                            <AtriumName />
                            <LumList>
                                <Luminaire refid="L1" count="2" />
                            </LumList>
                            <VertWinType>0</VertWinType>
                        </Window>
                    </WindowList>
                    <RoofLightList>
                        <RoofLight id="1" type="FlatRoofLight" orient="0">
                            <XOrig>2.0000000</XOrig>
                            <YOrig>2.0000000</YOrig>
                            <XLength>2.0000000</XLength>
                            <YWidth>1.0000000</YWidth>
                            <TauD65Sna>0.8000000</TauD65Sna>
                            <TauD65Sa>0.6000000</TauD65Sa>
                            <kObl1>0.9000000</kObl1>
                            <kObl2>0.9000000</kObl2>
                            <kObl3>0.9000000</kObl3>
                            <hw>1.0000000</hw>
                            <hg>0.5000000</hg>
                            <GammaF>30.0000000</GammaF>
                            <GammaW>60.0000000</GammaW>
                            <hs>0.2000000</hs>
                            <LumList>
                                <Luminaire refid="L1" count="1" />
                            </LumList>
                        </RoofLight>
                    </RoofLightList>
                </Room>
            </RoomList>
            <AtriumList>
                <Atrium atriumname="Court" trans="0.666" type="courtyard" k1="1.000" k2="1.000" k3="1.000">
                    <Polygon>
                        <xy>8.0000000;0.0000000</xy>
                        <xy>12.0000000;0.0000000</xy>
                        <xy>12.0000000;6.0000000</xy>
                    </Polygon>
                </Atrium>
            </AtriumList>
        </Floor>
    </FloorList>
</NUVA_LENI_V3>
"""


def sub(text, old, new, count=1):
    assert old in text, old
    return text.replace(old, new, count)


def drop_element(text, name, nth=0):
    """Removes the nth element called name (with everything inside it)."""
    pattern = re.compile(r"[ \t]*<%s(\s[^>]*)?(/>|>.*?</%s>)\n?" % (name, name), re.S)
    matches = list(pattern.finditer(text))
    m = matches[nth]
    return text[:m.start()] + text[m.end():]


def drop_attribute(text, element, attribute):
    pattern = re.compile(r"(<%s\b[^>]*?)\s%s=\"[^\"]*\"" % (element, attribute))
    new, n = pattern.subn(r"\1", text, count=1)
    assert n == 1, (element, attribute)
    return new


def noise(seed, size):
    rnd = random.Random(seed)
    return bytes(rnd.randrange(256) for _ in range(size))


def write(folder, name, content):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    mode = "wb" if isinstance(content, bytes) else "w"
    with open(os.path.join(HERE, folder, name), mode, **({} if mode == "wb" else {"newline": ""})) as f:
        f.write(content)


def write_expected(folder, rows, header):
    lines = ["# " + header] + ["\t".join(str(c) for c in row) for row in rows]
    write(folder, "EXPECTED.tsv", "\n".join(lines) + "\n")


# ---- Project files: file, report exit code, message part -------------------------------------
P = PROJECT
project_cases = [
    ("empty.LENI1XML", "", 3, "Could not load project XML file"),
    ("truncated.LENI1XML", P[: len(P) // 2], 3, "Could not load project XML file"),
    ("noise.LENI1XML", noise(1, 4096), 3, "Could not load project XML file"),
    ("deep_nesting.LENI1XML", "<NUVA_LENI_V3>" + "<a>" * 100000 + "</a>" * 100000 + "</NUVA_LENI_V3>",
     3, "Could not load project XML file"),
    ("wrong_root.LENI1XML", sub(sub(P, "<NUVA_LENI_V3>", "<NUVA_LENI_V2>"), "</NUVA_LENI_V3>", "</NUVA_LENI_V2>"),
     3, "Top level element missing in file"),
    # Every required element or attribute missing in turn.
    ("missing_DominantBuildingType.LENI1XML", drop_element(P, "DominantBuildingType"), 3,
     "Could not read DominantBuildingType from project file"),
    ("empty_DominantBuildingType.LENI1XML", sub(P, "<DominantBuildingType>Offices<", "<DominantBuildingType><"), 3,
     "Empty DominantBuildingType in project file"),
    ("missing_FloorList.LENI1XML", drop_element(P, "FloorList"), 3, "Missing FloorList element in the xml file."),
    ("missing_Floor.LENI1XML", drop_element(P, "Floor"), 3, "No floors defined in the project."),
    ("missing_floorname.LENI1XML", drop_attribute(P, "Floor", "floorname"), 3,
     "Floor in XML file does not have a floorname attribute"),
    ("missing_RoomList.LENI1XML", drop_element(P, "RoomList"), 0, "Missing RoomList element in the xml file, Floor <Ground>."),
    ("missing_roomname.LENI1XML", drop_attribute(P, "Room", "roomname"), 0,
     "Room in XML file does not have a roomname attribute"),
    ("missing_roomtype.LENI1XML", drop_attribute(P, "Room", "type"), 0,
     "Room Office in XML file does not have a roomtype attribute"),
    ("missing_room_Polygon.LENI1XML", drop_element(P, "Polygon", 0), 0, "Missing Polygon element in object <Office>."),
    ("missing_ZoneList.LENI1XML", drop_element(P, "ZoneList"), 0, "Missing ZoneList element in the xml file, room <Office>."),
    ("missing_zonename.LENI1XML", drop_attribute(P, "Zone", "zonename"), 0,
     "Zone in XML file does not have a zonename attribute"),
    ("missing_zone_Polygon.LENI1XML", drop_element(P, "Polygon", 1), 0, "Error reading polygon of zone"),
    ("missing_lum_refid.LENI1XML", drop_attribute(P, "Luminaire", "refid"), 0,
     "Missing 'refid' attribute in LumList XML element"),
    ("missing_lum_count.LENI1XML", drop_attribute(P, "Luminaire", "count"), 0,
     "Missing 'count' attribute in LumList XML element"),
    ("missing_atriumname.LENI1XML", drop_attribute(P, "Atrium", "atriumname"), 0,
     "Atrium in XML file does not have a name attribute"),
    ("missing_atrium_Polygon.LENI1XML", drop_element(P, "Polygon", 2), 0, "Missing Polygon element in object <Court>."),
    ("missing_product_refid.LENI1XML", drop_attribute(P, "LumTypeData", "refid"), 0, "CLumTypeData::RFX no refid attribute"),
    ("missing_product_MaxPow.LENI1XML", drop_element(P, "MaxPow"), 0, "CLumTypeData::RFX no MaxPow"),
    # Wrong types: a text where a number stands, an element where an attribute stands.
    ("text_coordinate.LENI1XML", sub(P, "<xy>8.0000000;0.0000000</xy>", "<xy>eight;zero</xy>"), 0,
     "Coordinate 1 in polygon of <Office> has an error."),
    ("one_number_coordinate.LENI1XML", sub(P, "<xy>8.0000000;0.0000000</xy>", "<xy>8.0</xy>"), 0,
     "Coordinate 1 in polygon of <Office> has an error."),
    ("empty_coordinate.LENI1XML", sub(P, "<xy>8.0000000;0.0000000</xy>", "<xy></xy>"), 0,
     "Missing Polygon coords in object <Office>"),
    ("two_vertex_polygon.LENI1XML", sub(sub(P, "<xy>8.0000000;6.0000000</xy>", "", 1), "<xy>0.0000000;6.0000000</xy>", "", 1),
     0, "Read polygon of only 2 vertices for <Office>"),
    ("roomname_as_element.LENI1XML", sub(drop_attribute(P, "Room", "roomname"), "<DcajSettings>",
                                         "<roomname>Office</roomname>\n<DcajSettings>"), 0,
     "Room in XML file does not have a roomname attribute"),
    ("FloorList_as_text.LENI1XML", re.sub(r"<FloorList>.*</FloorList>", "<FloorList>Ground</FloorList>", P, flags=re.S),
     3, "No floors defined in the project."),
    ("text_numbers.LENI1XML", sub(sub(sub(P, 'hi="3.00"', 'hi="three"'), 'count="4"', 'count="four"'),
                                  "<MaxPow>40.0000000</MaxPow>", "<MaxPow>forty</MaxPow>"), 0,
     "'count' attribute = 0 in LumList XML element, refid=<L1>"),
    ("wallid_out_of_range.LENI1XML", sub(P, 'wallid="0"', 'wallid="4"'), 0,
     "Window(4) has wall id out of range (0 ... 3), room <Office>"),
    ("negative_wallid.LENI1XML", sub(P, 'wallid="0"', 'wallid="-1"'), 0, "wall id"),
    ("doubly_defined_floor.LENI1XML", sub(P, "    </FloorList>",
                                          '        <Floor floorname="GROUND" hi="3.00" count="1"><RoomList /></Floor>\n    </FloorList>'),
     3, "Floor <GROUND> doubly defined in project file"),
    # Huge and non-finite numbers.
    ("huge_coordinates.LENI1XML", sub(P, "<xy>8.0000000;6.0000000</xy>", "<xy>1e308;1e308</xy>"), 0,
     "Coordinate 2 in polygon of <Office> has an error."),
    ("nan_coordinates.LENI1XML", sub(P, "<xy>8.0000000;6.0000000</xy>", "<xy>nan;nan</xy>"), 0,
     "Coordinate 2 in polygon of <Office> has an error."),
    ("inf_coordinates.LENI1XML", sub(P, "<xy>8.0000000;6.0000000</xy>", "<xy>inf;-inf</xy>"), 0,
     "Coordinate 2 in polygon of <Office> has an error."),
    ("overflow_coordinates.LENI1XML", sub(P, "<xy>8.0000000;6.0000000</xy>", "<xy>1e999;6</xy>"), 0,
     "Coordinate 2 in polygon of <Office> has an error."),
    ("nan_project_numbers.LENI1XML", sub(sub(sub(P, "<MF>0.8000000</MF>", "<MF>nan</MF>"), "<Latitude>41.9000000</Latitude>",
                                             "<Latitude>nan</Latitude>"), "<HdirHglob>0.4500000</HdirHglob>",
                                         "<HdirHglob>inf</HdirHglob>"), 0, ""),
    ("huge_project_numbers.LENI1XML", sub(sub(sub(P, "<MF>0.8000000</MF>", "<MF>1e308</MF>"), "<Latitude>41.9000000</Latitude>",
                                              "<Latitude>-1e308</Latitude>"), "<YearBuilt>2010</YearBuilt>",
                                          "<YearBuilt>99999999999999</YearBuilt>"), 0, ""),
    ("huge_floor_height.LENI1XML", sub(P, 'hi="3.00"', 'hi="1e308"'), 0, ""),
    ("nan_floor_height.LENI1XML", sub(P, 'hi="3.00"', 'hi="nan"'), 0, ""),
    ("huge_instance_count.LENI1XML", sub(sub(P, 'count="2"', 'count="2147483647"'), "    </FloorList>",
                                         '        <Floor floorname="Top" hi="3.00" count="99999999999999"><RoomList /></Floor>\n    </FloorList>'),
     0, ""),
    ("nan_room_numbers.LENI1XML", sub(P, 'mf="0.800" hta="0.800" td="2250" tn="250"', 'mf="nan" hta="inf" td="1e308" tn="-nan"'),
     0, "The number <inf> in the file is not finite; 0 is used."),
    ("overflowing_hours.LENI1XML", sub(P, 'td="2250" tn="250"', 'td="2147483647" tn="1"'),
     0, "Room Office in XML file: the operating hours td = 2147483647 and tn = 1 are out of range"),
    ("negative_hours.LENI1XML", sub(P, 'td="2250" tn="250"', 'td="-2000" tn="-1"'),
     0, "Room Office in XML file: the operating hours td = -2000 and tn = -1 are out of range"),
    ("byte_order_mark.LENI1XML", "\ufeff" + P, 0, ""),
    ("nan_zone_numbers.LENI1XML", sub(P, 'zonelux="500" zoneluxreal="500" fa="0.300"', 'zonelux="nan" zoneluxreal="inf" fa="nan"'),
     0, "CLENIZone::SZLE"),
    ("huge_zone_numbers.LENI1XML", sub(P, 'zonelux="500" zoneluxreal="500" fa="0.300"', 'zonelux="1e308" zoneluxreal="1e308" fa="1e308"'),
     0, "CLENIZone::SZLE"),
    ("nan_window_numbers.LENI1XML", sub(P, 'wide="2.4000" high="1.6000" x="1.0000" y="0.9000" td65="0.8500"',
                                        'wide="nan" high="inf" x="1e308" y="-1e308" td65="nan"'), 0, ""),
    ("huge_window_numbers.LENI1XML", sub(P, 'wide="2.4000" high="1.6000" x="1.0000" y="0.9000" td65="0.8500"',
                                         'wide="1e308" high="1e308" x="1e308" y="1e308" td65="1e308"'), 0, ""),
    ("nan_rooflight_numbers.LENI1XML", sub(sub(sub(P, "<XLength>2.0000000</XLength>", "<XLength>nan</XLength>"),
                                               "<YWidth>1.0000000</YWidth>", "<YWidth>1e308</YWidth>"),
                                           "<GammaF>30.0000000</GammaF>", "<GammaF>inf</GammaF>"), 0, ""),
    ("nan_product_powers.LENI1XML", sub(sub(P, "<MaxPow>40.0000000</MaxPow>", "<MaxPow>nan</MaxPow>"),
                                        "<StandbyPow>0.5000000</StandbyPow>", "<StandbyPow>inf</StandbyPow>"), 0,
     "CLumTypeData::RFX no MaxPow"),
    ("huge_product_powers.LENI1XML", sub(P, "<MaxPow>40.0000000</MaxPow>", "<MaxPow>1e308</MaxPow>"), 0,
     "CLumTypeData::RFX no MaxPow"),
    ("huge_lum_count.LENI1XML", sub(P, 'count="4"', 'count="99999999999999"'), 0, ""),
    ("nan_atrium_numbers.LENI1XML", sub(P, 'trans="0.666" type="courtyard" k1="1.000"', 'trans="nan" type="courtyard" k1="inf"'), 0, ""),
    # Zero-size objects.
    ("zero_size_zone.LENI1XML", re.sub(r"(<Zone .*?<Polygon>).*?(</Polygon>)",
                                       r"\1<xy>1;1</xy><xy>1;1</xy><xy>1;1</xy>\2", P, count=1, flags=re.S), 0, ""),
    ("zero_size_room.LENI1XML", re.sub(r"(<PrintMe>false</PrintMe>\s*<Polygon>).*?(</Polygon>)",
                                       r"\1<xy>0;0</xy><xy>0;0</xy><xy>0;0</xy>\2", P, count=1, flags=re.S), 0, ""),
    ("zero_size_openings.LENI1XML", sub(sub(sub(P, 'wide="2.4000" high="1.6000"', 'wide="0" high="0"'),
                                            "<XLength>2.0000000</XLength>", "<XLength>0</XLength>"),
                                        "<YWidth>1.0000000</YWidth>", "<YWidth>0</YWidth>"), 0, ""),
]
rows = []
for name, content, code, message in project_cases:
    write("project", name, content)
    rows.append((name, code, message))
write_expected("project", rows, "file\treport exit code (3: not read, 0: read)\tpart of a message the reader gives")

# ---- Luminaire database files: file, products read, message part ------------------------------
DB = """<?xml version="1.0" ?>
<LENI_V1_LUM_DB>
    <LumTypeData refid="A-1">
        <Desc>Downlight</Desc>
        <TypeFlags>1</TypeFlags>
        <ProdConSys>1</ProdConSys>
        <MaxPow>36.5000000</MaxPow>
        <StandbyPow>0.0000000</StandbyPow>
        <ChargePow>0.0000000</ChargePow>
    </LumTypeData>
    <LumTypeData refid="B-2">
        <Desc>Exit sign</Desc>
        <TypeFlags>5</TypeFlags>
        <ProdConSys>2</ProdConSys>
        <MaxPow>8.0000000</MaxPow>
        <StandbyPow>0.5000000</StandbyPow>
        <ChargePow>1.2000000</ChargePow>
    </LumTypeData>
</LENI_V1_LUM_DB>
"""
db_cases = [
    ("empty.XML", "", -1, "Could not load luminaire database project XML file"),
    ("truncated.XML", DB[: len(DB) // 2], -1, "Could not load luminaire database project XML file"),
    ("noise.XML", noise(2, 4096), -1, "Could not load luminaire database project XML file"),
    ("deep_nesting.XML", "<LENI_V1_LUM_DB>" + "<a>" * 100000 + "</a>" * 100000 + "</LENI_V1_LUM_DB>", -1,
     "Could not load luminaire database project XML file"),
    ("wrong_root.XML", sub(sub(DB, "<LENI_V1_LUM_DB>", "<LUM_DB>"), "</LENI_V1_LUM_DB>", "</LUM_DB>"), -1,
     "Top level element missing in luminaire database file"),
    ("missing_refid.XML", drop_attribute(DB, "LumTypeData", "refid"), 1, "CLumTypeData::RFX no refid attribute"),
    ("missing_MaxPow.XML", drop_element(DB, "MaxPow"), 1, "CLumTypeData::RFX no MaxPow"),
    ("missing_StandbyPow.XML", drop_element(DB, "StandbyPow"), 1, "CLumTypeData::RFX no StandbyPow"),
    ("missing_ChargePow.XML", drop_element(DB, "ChargePow"), 1, "CLumTypeData::RFX no ChargePow"),
    ("nan_MaxPow.XML", sub(DB, "<MaxPow>36.5000000</MaxPow>", "<MaxPow>nan</MaxPow>"), 1, "CLumTypeData::RFX no MaxPow"),
    ("inf_StandbyPow.XML", sub(DB, "<StandbyPow>0.0000000</StandbyPow>", "<StandbyPow>inf</StandbyPow>"), 1,
     "CLumTypeData::RFX no StandbyPow"),
    ("overflow_ChargePow.XML", sub(DB, "<ChargePow>0.0000000</ChargePow>", "<ChargePow>1e999</ChargePow>"), 1,
     "CLumTypeData::RFX no ChargePow"),
    ("huge_MaxPow.XML", sub(DB, "<MaxPow>36.5000000</MaxPow>", "<MaxPow>1e308</MaxPow>"), 1, "CLumTypeData::RFX no MaxPow"),
    ("text_numbers.XML", sub(sub(DB, "<TypeFlags>1</TypeFlags>", "<TypeFlags>one</TypeFlags>"),
                             "<MaxPow>36.5000000</MaxPow>", "<MaxPow>many</MaxPow>"), 2, ""),
    ("huge_TypeFlags.XML", sub(DB, "<TypeFlags>1</TypeFlags>", "<TypeFlags>99999999999999999999</TypeFlags>"), 2, ""),
    ("product_as_text.XML", sub(DB, "<LumTypeData refid=\"A-1\">", "<LumTypeData refid=\"A-1\">A-1 36.5 W"), 2, ""),
]
rows = []
for name, content, count, message in db_cases:
    write("lumdb", name, content)
    rows.append((name, count, message))
write_expected("lumdb", rows, "file\tproducts read (-1: the file is refused)\tpart of a message the reader gives")

# ---- DXF files: file, whether the read reaches EOF, message part --------------------------------
def dxf(groups):
    return "".join("%s\n%s\n" % (c, v) for c, v in groups)


ROOM = [(0, "LWPOLYLINE"), (8, "LENI_ROOM"), (90, "4"), (70, "1"),
        (10, "0"), (20, "0"), (10, "8"), (20, "0"), (10, "8"), (20, "6"), (10, "0"), (20, "6")]
GOOD = dxf([(0, "SECTION"), (2, "ENTITIES")] + ROOM +
           [(0, "LINE"), (8, "0"), (10, "0"), (20, "0"), (11, "8"), (21, "6"), (0, "ENDSEC"), (0, "EOF")])


def entities(groups):
    return dxf([(0, "SECTION"), (2, "ENTITIES")] + groups + [(0, "ENDSEC"), (0, "EOF")])


dxf_cases = [
    ("empty.dxf", "", "fail", "DXF_Error, end of file at line"),
    ("truncated.dxf", GOOD[: len(GOOD) // 2], "fail", "DXF_Error, end of file at line"),
    ("noise.dxf", noise(3, 4096), "fail", ""),
    ("binary.dxf", b"AutoCAD Binary DXF\r\n\x1a\x00" + noise(4, 256), "fail", ""),
    ("no_eof.dxf", GOOD[: GOOD.index("0\nEOF")], "fail", "DXF_Error, end of file at line"),
    ("text_as_numbers.dxf", entities([(0, "LINE"), (8, "0"), (10, "one"), (20, "two"), (11, "--"), (21, "1e")]), "ok", ""),
    ("text_as_group_code.dxf", "0\nSECTION\n2\nENTITIES\nten\n5\n0\nENDSEC\n0\nEOF\n", "ok", ""),
    ("huge_coordinates.dxf", entities([(0, "LINE"), (8, "0"), (10, "1e308"), (20, "-1e308"), (11, "-1e308"), (21, "1e308"),
                                       (0, "CIRCLE"), (8, "0"), (10, "1e308"), (20, "1e308"), (40, "1e308")]), "ok", ""),
    ("nan_coordinates.dxf", entities([(0, "LINE"), (8, "0"), (10, "nan"), (20, "inf"), (11, "-inf"), (21, "1e999"),
                                      (0, "LWPOLYLINE"), (8, "LENI_ROOM"), (10, "nan"), (20, "0"), (10, "1"), (20, "inf"),
                                      (10, "2"), (20, "2")]), "ok", ""),
    ("huge_counts.dxf", entities([(0, "POLYLINE"), (8, "0"), (66, "1"), (70, "16"), (71, "2147483647"), (72, "2147483647"),
                                  (0, "VERTEX"), (10, "0"), (20, "0"), (70, "64"), (0, "SEQEND")]), "ok", ""),
    ("bad_solid.dxf", entities([(0, "SOLID"), (8, "0"), (10, "0"), (20, "0"), (11, "1"), (21, "0")]), "fail",
     "ReadSolidEntity, iNumCoords coordinates must be between 9 and 16:4"),
    ("bad_3dface.dxf", entities([(0, "3DFACE"), (8, "0"), (14, "0")]), "fail", "Read3DFaceEntity, bad ikIndex=4"),
    ("unterminated_attrib.dxf", dxf([(0, "SECTION"), (2, "ENTITIES"), (0, "INSERT"), (8, "0"), (2, "B"), (66, "1"),
                                     (0, "ATTRIB"), (1, "v"), (2, "t")]), "fail", "ATTRIB SEQEND not found in file"),
    ("long_value_line.dxf", "0\nSECTION\n2\nENTITIES\n0\nTEXT\n1\n" + "x" * 5000 + "\n0\nENDSEC\n0\nEOF\n", "ok", ""),
    ("self_insert.dxf", dxf([(0, "SECTION"), (2, "BLOCKS"), (0, "BLOCK"), (2, "A"), (70, "0"), (10, "0"), (20, "0"),
                             (0, "INSERT"), (8, "0"), (2, "B"), (10, "1"), (20, "0"),
                             (0, "ENDBLK"), (0, "BLOCK"), (2, "B"), (70, "0"), (10, "0"), (20, "0"),
                             (0, "INSERT"), (8, "0"), (2, "A"), (10, "1"), (20, "0"), (0, "LINE"), (10, "0"), (20, "0"),
                             (11, "1"), (21, "1"), (0, "ENDBLK"), (0, "ENDSEC")]) +
     entities([(0, "INSERT"), (8, "0"), (2, "A"), (10, "0"), (20, "0")]).replace("0\nEOF\n", "", 0),
     "ok", "inserts itself"),
]
# Blocks that insert the previous block ten times each, eight levels deep: 10^8 entities if
# every insert were drawn.
blocks = [(0, "SECTION"), (2, "BLOCKS"), (0, "BLOCK"), (2, "L0"), (70, "0"), (10, "0"), (20, "0"),
          (0, "LINE"), (8, "0"), (10, "0"), (20, "0"), (11, "1"), (21, "0"), (0, "ENDBLK")]
for level in range(1, 9):
    blocks += [(0, "BLOCK"), (2, "L%d" % level), (70, "0"), (10, "0"), (20, "0")]
    for k in range(10):
        blocks += [(0, "INSERT"), (8, "0"), (2, "L%d" % (level - 1)), (10, str(k)), (20, "0")]
    blocks += [(0, "ENDBLK")]
blocks += [(0, "ENDSEC")]
dxf_cases.append(("exploding_blocks.dxf",
                  dxf(blocks) + entities([(0, "INSERT"), (8, "0"), (2, "L8"), (10, "0"), (20, "0")]), "ok",
                  "it is not drawn"))
rows = []
for name, content, result, message in dxf_cases:
    write("dxf", name, content)
    rows.append((name, result, message))
write_expected("dxf", rows, "file\tok: read up to EOF, fail: read stops\tpart of a message the reader gives")

# ---- Photometric files: file, whether the import succeeds, watts, message part ------------------
LDT = ["Maker", "1", "1", "1", "0", "3", "45", "REP", "Downlight 2x18W", "DL-218", "dl.ldt", "2020",
       "200", "0", "100", "180", "0", "0", "0", "0", "0", "90", "62.5", "1.0", "0", "1", "2", "TC-D", "2400",
       "3000", "1B", "36.5"] + ["0.5"] * 10 + ["0", "0", "45", "90", "300", "200", "0"]


def ldt(lines):
    return "\r\n".join(lines) + "\r\n"


def ldt_with(line32):
    lines = list(LDT)
    lines[31] = line32
    return ldt(lines)


IES = """IESNA:LM-63-2002
[LUMCAT] ABC-1
[LUMINAIRE] Troffer
TILT=NONE
1 3350 1 3 1 1 1 0.6 1.2 0.1
1.0 1.0 %s
0 45 90
0
300 200 0
"""
photometric_cases = [
    ("empty.ldt", "", "fail", 0, "Line 10 (ref id) of the LDT is empty"),
    ("truncated.ldt", ldt(LDT[:9]), "fail", 0, "Line 10 (ref id) of the LDT is empty"),
    ("short.ldt", ldt(LDT[:20]), "ok", 0, ""),
    ("noise.ldt", noise(5, 4096), "any", 0, ""),
    ("nan_watts.ldt", ldt_with("nan"), "ok", 0, ""),
    ("inf_watts.ldt", ldt_with("inf"), "ok", 0, ""),
    ("overflow_watts.ldt", ldt_with("1e999"), "ok", 0, ""),
    ("negative_watts.ldt", ldt_with("-36.5"), "ok", 0, ""),
    ("huge_watts.ldt", ldt_with("1e308"), "ok", 0, ""),
    # A line longer than 258 characters counts as several: the 5000 characters are 20 lines, so
    # line 32 is the date line 2020 of the file.
    ("long_lines.ldt", ldt(["x" * 5000] + LDT), "ok", 2020, ""),
    ("empty.ies", "", "ok", 0, ""),
    ("noise.ies", noise(6, 4096), "ok", 0, ""),
    ("nan_watts.ies", IES % "nan", "ok", 0, ""),
    ("inf_watts.ies", IES % "inf", "ok", 0, ""),
    ("negative_watts.ies", IES % "-40", "ok", 0, ""),
    ("huge_watts.ies", IES % "1e308", "ok", 0, ""),
    ("no_tilt.ies", IES.replace("TILT=NONE", "TILT-LESS"), "ok", 0, ""),
    ("huge_tilt_count.ies", (IES % "36.5").replace("TILT=NONE", "TILT=INCLUDE\n1\n99999999999999999"), "ok", 0, ""),
    ("truncated_tilt.ies", (IES % "36.5").replace("TILT=NONE", "TILT=INCLUDE\n1\n3\n0 45"), "any", 0, ""),
]
rows = []
for name, content, result, watts, message in photometric_cases:
    write("photometric", name, content)
    rows.append((name, result, repr(float(watts)), message))
write_expected("photometric", rows, "file\tok / fail / any: the import\twatts when ok\tpart of a message")

# ---- Names that would lead out of the project folder -------------------------------------------
write("names", "unsafe_names.LENI1XML",
      PROJECT.replace("<Name>Damaged</Name>", "<Name>../../outside</Name>")
             .replace('floorname="Ground"', 'floorname="a/b"')
             .replace('roomname="Office"', 'roomname="../../x"'))
