#include "model/OutlineEdit.h"

#include "model/ModelTestSupport.h"

namespace {

// Room A 10 x 6 m with a zone, a 3 m window on its south wall (wall 0) and a roof light; room B
// beside it from x = 12.
CLENIFloor MakeFloor() {
    CLENIFloor floor;
    CLENIRoom a = MakeRoom("A", Rect(0, 0, 10, 6));
    a.AddZone(MakeZone("Z", Rect(1, 1, 4, 4)));
    a.AddZone(MakeZone("Y", Rect(5, 1, 8, 4)));
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dStart = 2;
    window.m_dWidth = 3;
    window.m_dHeight = 1.5;
    window.m_dSillHeight = 1;
    a.AddWindow(window);
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    roofLight.m_dXOrig = 6; // (6, 4) to (8, 5)
    roofLight.m_dYOrig = 4;
    roofLight.m_dXLength = 2;
    roofLight.m_dYWidth = 1;
    a.AddRoofLight(roofLight);
    floor.AddRoom(a);
    floor.AddRoom(MakeRoom("B", Rect(12, 0, 16, 6)));
    return floor;
}

TEST(OutlineEditTest, EachEditIsCheckedAsDrawingIs) {
    auto room = [](Polygon outline, std::vector<int> map = {}) {
        OutlineEdit e;
        e.kind = OUTLINE_ROOM;
        e.room = "A";
        e.outline = std::move(outline);
        e.wallMap = std::move(map);
        return e;
    };
    auto zone = [](Polygon outline) {
        OutlineEdit e;
        e.kind = OUTLINE_ZONE;
        e.room = "A";
        e.name = "Z";
        e.outline = std::move(outline);
        return e;
    };
    struct Case {
        const char* name;
        OutlineEdit edit;
        std::string message; // empty: accepted
    } cases[] = {
        {"corner dragged outwards", room({{0, 0}, {10, 0}, {11, 7}, {0, 6}}), ""},
        {"corner dragged into room B", room({{0, 0}, {13, 0}, {10, 6}, {0, 6}}),
         "The room <A> would overlap room <B>."},
        {"corner dragged across the zone", room({{2, 2}, {10, 0}, {10, 6}, {0, 6}}),
         "The zone <Z> would no longer lie inside room <A>."},
        {"south wall shorter than its window", room({{0, 0}, {4, 0}, {10, 6}, {0, 6}}),
         "A window of room <A> would no longer fit its wall:\nThe end of the window is outside of the room"},
        {"corners swapped: self-crossing", room({{0, 0}, {10, 6}, {10, 0}, {0, 6}}),
         "This cannot be self intersecting"},
        {"a corner on its neighbour", room({{0, 0}, {10, 0}, {10, 0}, {0, 6}}),
         "This cannot be self intersecting"},
        {"corner inserted on the east wall", room({{0, 0}, {10, 0}, {11, 3}, {10, 6}, {0, 6}}, WallMapAfterInsert(4, 1)),
         ""},
        {"corner deleted: the roof light falls outside", room({{0, 0}, {10, 0}, {0, 6}}, WallMapAfterDelete(4, 2)),
         "The roof light 1 of room <A> would no longer lie inside the room."},
        {"corner deleted: the window's wall goes", room({{10, 0}, {10, 6}, {0, 6}}, WallMapAfterDelete(4, 0)),
         "A window of room <A> is on a wall that would be gone.\nRemove the window first."},
        {"two corners", room({{0, 0}, {10, 0}}), "An outline needs at least 3 corners."},
        {"zone grown along the walls", zone(Rect(0, 0, 4, 6)), ""},
        {"zone out through the wall", zone(Rect(-1, 1, 4, 4)),
         "Zones have to stay inside their room\nA side of this zone crosses the walls of room <A>."},
        {"zone over the other zone", zone(Rect(1, 1, 6, 4)), "The zone <Z> would overlap zone <Y>."},
    };
    for (const Case& c : cases) {
        CLENIFloor floor = MakeFloor();
        std::string message;
        const bool ok = ApplyOutlineEdit(floor, c.edit, message);
        EXPECT_EQ(ok, c.message.empty()) << c.name;
        EXPECT_EQ(message, c.message) << c.name;
        const Polygon after = GetEditedOutline(floor, c.edit.kind, c.edit.room, c.edit.name);
        const Polygon before = GetEditedOutline(MakeFloor(), c.edit.kind, c.edit.room, c.edit.name);
        EXPECT_EQ(after, ok ? c.edit.outline : before) << c.name;
    }
}

TEST(OutlineEditTest, WallsRenumberedAndContentsKeptInPlace) {
    // A corner inserted on wall 1: walls after it move up by one, the window stays on wall 0.
    EXPECT_EQ(WallMapAfterInsert(4, 1), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(WallMapAfterDelete(4, 2), (std::vector<int>{0, -1, -1, 2}));
    EXPECT_EQ(WallMapAfterDelete(4, 0), (std::vector<int>{-1, 0, 1, -1}));

    // The west corners dragged 1 m further west: the reference corner moves, the roof light stays
    // where it was on the plan.
    CLENIFloor floor = MakeFloor();
    OutlineEdit edit;
    edit.kind = OUTLINE_ROOM;
    edit.room = "A";
    edit.outline = {{-1, 0}, {10, 0}, {10, 6}, {-1, 6}};
    std::string message;
    ASSERT_TRUE(ApplyOutlineEdit(floor, edit, message)) << message;
    const CLENIRoom* a = floor.FindRoom("A");
    EXPECT_EQ(a->GetRoofLightOutline(a->GetRoofLights()[0]), Rect(6, 4, 8, 5));
    EXPECT_EQ(a->GetArea(), 66.0);

    // A room moved with its contents: zones along, the roof light along (relative to the room).
    edit.outline = Rect(-1, 10, 10, 16);
    edit.shift = Point(0, 10);
    edit.moveContents = true;
    ASSERT_TRUE(ApplyOutlineEdit(floor, edit, message)) << message;
    a = floor.FindRoom("A");
    EXPECT_EQ(a->FindZone("Z")->GetPolygon(), Rect(1, 11, 4, 14));
    EXPECT_EQ(a->GetRoofLightOutline(a->GetRoofLights()[0]), Rect(6, 14, 8, 15));
    ASSERT_EQ(a->GetWindowCount(), 1);
    EXPECT_EQ(a->GetWindows()[0].m_iWallId, 0);
}

} // namespace
