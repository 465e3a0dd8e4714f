#include "model/CoordinateEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(CoordinateEntryTest, TypedCornersInBothDecimalSigns) {
    const Point last(2, 1);
    struct Case {
        const char* text;
        char decimal;
        bool hasLast;
        bool ok;
        double x, y;
    } cases[] = {
        {"2.5,4", '.', false, true, 2.5, 4},
        {" -1.25 ; 3 ", '.', false, true, -1.25, 3},
        {"2,5;4", ',', false, true, 2.5, 4},
        {"@3,-0.5", '.', true, true, 5, 0.5},
        {"@-2,5;0", ',', true, true, -0.5, 1},
        {"@3<90", '.', true, true, 2, 4},      // exact: no 1e-16 left in x
        {"@4<180", '.', true, true, -2, 1},
        {"@2<-90", '.', true, true, 2, -1},
        {"@2<450", '.', true, true, 2, 3},
        {"@2,5<0", ',', true, true, 4.5, 1},
        {"5<90", '.', false, true, 0, 5},       // polar from the origin
        // A comma locale: "1,5" is one number, never x = 1 and y = 5.
        {"1,5", ',', false, false, 0, 0},
        // A point locale: "1,5;2" would need a comma as decimal sign.
        {"1,5;2", '.', false, false, 0, 0},
        {"1.5;2", ',', false, false, 0, 0},
        {"1,2,3", '.', false, false, 0, 0},
        {"@1,2", '.', false, false, 0, 0},      // nothing to measure from
        {"@-1<30", '.', true, false, 0, 0},
        {"1e3,2", '.', false, false, 0, 0},
        {"x,2", '.', false, false, 0, 0},
        {",2", '.', false, false, 0, 0},
        {"", '.', false, false, 0, 0},
        {"1,99999999999", '.', false, false, 0, 0}, // beyond any plan
    };
    for (const Case& c : cases) {
        const CoordinateEntry entry = ParseCoordinateEntry(c.text, c.decimal, c.hasLast ? &last : nullptr);
        EXPECT_EQ(entry.ok, c.ok) << c.text << ": " << entry.error;
        if (!c.ok) {
            EXPECT_FALSE(entry.error.empty()) << c.text;
            continue;
        }
        EXPECT_EQ(entry.point.x, c.x) << c.text;
        EXPECT_EQ(entry.point.y, c.y) << c.text;
    }
    EXPECT_EQ(ParseCoordinateEntry("1,5", ',', nullptr).error,
              "\"1,5\" is not a corner.\nType x;y, @dx;dy or @length<angle in metres, for example 2,5;4 or @3,2<90");
}

} // namespace
