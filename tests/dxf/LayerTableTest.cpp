#include "dxf/LayerTable.h"
#include "dxf/DxfPalette.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(LayerTableTest, AddingALayerTwiceRecoloursItAndKeepsItsVisibility) {
    CLayerTable table;
    CDxfLayer* walls = table.AddLayer("Walls", 3, false);
    ASSERT_NE(walls, nullptr);
    EXPECT_EQ(table.AddLayer("WALLS", 5, true), walls);
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(walls->m_iColour, 5);
    EXPECT_FALSE(walls->m_bVisible);
    EXPECT_EQ(walls->m_ThinColourPen, (CanvasPen{MakeRgb(0, 0, 255), 1}));
    EXPECT_EQ(walls->m_ThickColourPen, (CanvasPen{MakeRgb(0, 0, 255), 4}));
}

TEST(LayerTableTest, PensOfANewLayer) {
    CLayerTable table;
    struct Case {
        int colour;
        Rgb pens;
    } cases[] = {{7, MakeRgb(0, 0, 0)}, {1, MakeRgb(255, 0, 0)}, {42, MakeRgb(165, 124, 0)}};
    for (const Case& c : cases) {
        CDxfLayer* layer = table.AddLayer(("L" + std::to_string(c.colour)).c_str(), c.colour, true);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->m_ThinBlackPen, (CanvasPen{MakeRgb(0, 0, 0), 1}));
        EXPECT_EQ(layer->m_ThickBlackPen, (CanvasPen{MakeRgb(0, 0, 0), 4}));
        EXPECT_EQ(layer->m_ThinColourPen, (CanvasPen{c.pens, 1})) << c.colour;
        EXPECT_EQ(layer->m_ThickColourPen, (CanvasPen{c.pens, 4})) << c.colour;
    }
}

TEST(LayerTableTest, RefusedLayers) {
    RecordingMessageBoxes boxes;
    LogRecorder log;
    CLayerTable table;
    EXPECT_EQ(table.AddLayer(nullptr, 1, true), nullptr);
    EXPECT_EQ(table.AddLayer("", 1, true), nullptr);
    EXPECT_EQ(table.AddLayer(std::string(256, 'a').c_str(), 1, true), nullptr);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text, "AddLayer, bad string pointer");
    EXPECT_EQ(boxes.boxes[1].text, "AddLayer, empty layer name");
    EXPECT_EQ(boxes.boxes[2].text, "AddLayer, layer name too long");
    EXPECT_NE(table.AddLayer(std::string(255, 'a').c_str(), 1, true), nullptr);

    EXPECT_EQ(table.AddLayer("X", 0, true), nullptr);
    EXPECT_EQ(table.AddLayer("X", 256, true), nullptr);
    EXPECT_EQ(log.Count("Bad iAciCol 0 in AddLayer", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("Bad iAciCol 256 in AddLayer", LOG_ERROR), 1);
    EXPECT_EQ(table.GetCount(), 1);
}

TEST(LayerTableTest, The2049thLayerIsRefused) {
    LogRecorder log;
    CLayerTable table;
    for (int i = 0; i < 2048; ++i)
        ASSERT_NE(table.AddLayer(("L" + std::to_string(i)).c_str(), 1, true), nullptr);
    EXPECT_EQ(table.AddLayer("ONEMORE", 1, true), nullptr);
    EXPECT_EQ(table.GetCount(), 2048);
    EXPECT_TRUE(log.Contains("CLayerTable::AddLayer (ONEMORE),\ntoo many layers (2048)"));
    // An existing name is still recoloured.
    EXPECT_NE(table.AddLayer("L7", 2, true), nullptr);
}

TEST(LayerTableTest, LookupAndVisibility) {
    RecordingMessageBoxes boxes;
    CLayerTable table;
    EXPECT_EQ(table.GetLayerPtrFromName("0"), nullptr);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "GetLayerPtrFromName, but no layers in table");
    EXPECT_FALSE(table.LayerExists("0"));

    CDxfLayer* zero = table.AddLayer("0", 7, true);
    CDxfLayer* rooms = table.AddLayer("LENI_ROOM", 1, true);
    EXPECT_EQ(table.GetLayerPtrFromName("leni_room"), rooms);
    EXPECT_EQ(table.GetLayerPtrFromName("unknown"), zero);
    EXPECT_EQ(table.GetLayerPtrFromName(""), zero);
    EXPECT_EQ(table.GetLayerPtrFromName(nullptr), zero);
    EXPECT_TRUE(table.LayerExists("Leni_Room"));
    EXPECT_FALSE(table.LayerExists("unknown"));
    EXPECT_FALSE(table.LayerExists(""));

    table.SetLayerVisibility("leni_room");
    EXPECT_FALSE(rooms->m_bVisible);
    EXPECT_TRUE(zero->m_bVisible);
    boxes.boxes.clear();
    table.SetLayerVisibility("");
    table.SetLayerVisibility("nowhere");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "SetLayerVisibility, no name specified\n");
    EXPECT_EQ(boxes.boxes[1].text, "SetLayerVisibility(nowhere) not found\n");
}

TEST(LayerTableTest, NameCleaning) {
    struct Case {
        const char* raw;
        const char* clean;
    } cases[] = {
        {"Walls 1st floor", "Walls1stfloor"},
        {"A-B_C.D", "A-B_CD"},
        {"$%&", "LAYERR"},
        {"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz01234"},
        {"Caf\xc3\xa9", "Caf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLayerTable::CleanLayerName(c.raw), c.clean) << c.raw;

    CLayerTable table;
    table.SetCleanNames(true);
    CDxfLayer* layer = table.AddLayer("My Layer", 2, true);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->m_csName, "MyLayer");
    EXPECT_EQ(table.GetLayerPtrFromName("my layer!"), layer);

    // An empty stored name answers to "0".
    EXPECT_TRUE(CLayerTable::LayerNamesEqual("", "0"));
    EXPECT_FALSE(CLayerTable::LayerNamesEqual("", "1"));
}

TEST(LayerTableTest, PaletteEntries) {
    struct Case {
        int number;
        Rgb rgb;
    } cases[] = {
        {0, MakeRgb(0, 0, 0)},        {1, MakeRgb(255, 0, 0)},       {5, MakeRgb(0, 0, 255)},
        {7, MakeRgb(0, 0, 0)},        {8, MakeRgb(120, 120, 120)},   {9, MakeRgb(200, 200, 200)},
        {10, MakeRgb(255, 0, 0)},     {11, MakeRgb(255, 127, 127)},  {12, MakeRgb(165, 0, 0)},
        {13, MakeRgb(165, 82, 82)},   {14, MakeRgb(127, 0, 0)},      {19, MakeRgb(38, 19, 19)},
        {21, MakeRgb(255, 159, 127)}, {23, MakeRgb(165, 103, 82)},   {40, MakeRgb(255, 191, 0)},
        {42, MakeRgb(165, 124, 0)},   {50, MakeRgb(255, 255, 0)},    {90, MakeRgb(0, 255, 0)},
        {130, MakeRgb(0, 255, 255)},  {170, MakeRgb(0, 0, 255)},     {210, MakeRgb(255, 0, 255)},
        {250, MakeRgb(84, 84, 84)},   {255, MakeRgb(255, 255, 255)}, {300, MakeRgb(0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPaletteColour(c.number), c.rgb) << c.number;
}

} // namespace
