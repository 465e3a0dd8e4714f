// The explanatory pictures of the opening dialogs on a recording canvas: what each marks, with the
// typed values, at the typed angles, and inside its box at any size.

#include "model/OpeningPictures.h"
#include "support/RecordingCanvas.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr Rgb kGlass = MakeRgb(0, 90, 200);
constexpr Rgb kMark = MakeRgb(190, 0, 0);

// Angle of a line on the screen, degrees counter-clockwise from the right (screen y points down).
double ScreenAngle(const RecordingCanvas::Op& line) {
    const double dx = line.points[1].x - line.points[0].x;
    const double dy = line.points[1].y - line.points[0].y;
    return std::atan2(-dy, dx) * 180.0 / M_PI;
}

double Length(const RecordingCanvas::Op& line) {
    return std::hypot(line.points[1].x - line.points[0].x, line.points[1].y - line.points[0].y);
}

std::vector<RecordingCanvas::Op> LinesWithPen(const RecordingCanvas& c, const CanvasPen& pen) {
    std::vector<RecordingCanvas::Op> found;
    for (const auto& op : c.OfKind(RecordingCanvas::LINE))
        if (op.pen == pen) found.push_back(op);
    return found;
}

// Every line and polygon point lies in the box; text starts inside it.
void ExpectInside(const RecordingCanvas& c, const PictureBox& box, const std::string& what) {
    for (const auto& op : c.ops) {
        if (op.kind == RecordingCanvas::FILLRECT) continue;
        for (const CanvasPoint& p : op.points) {
            EXPECT_GE(p.x, box.left - 1) << what << " op " << op.kind << " " << op.text;
            EXPECT_LE(p.x, box.right + 1) << what << " op " << op.kind << " " << op.text;
            EXPECT_GE(p.y, box.top - 1) << what << " op " << op.kind << " " << op.text;
            EXPECT_LE(p.y, box.bottom + 1) << what << " op " << op.kind << " " << op.text;
        }
    }
}

TEST(OpeningPicturesTest, SlopedWindowMarksItsFourValuesAndLiesOnTheSlopeAtGamma) {
    const struct {
        int type;
        double heightToSlope, length, gamma, distance;
        const char* gammaText;
    } cases[] = {
        {2, 1.0, 1.2, 30.0, 0.5, "\xCE\xB3 = 30.0\xC2\xB0"},
        {2, 2.5, 0.8, 10.0, 0.0, "\xCE\xB3 = 10.0\xC2\xB0"},
        {1, 2.0, 1.2, 80.0, 0.3, "\xCE\xB3 = 80.0\xC2\xB0"},
        {1, 0.0, 600.0, 89.0, 0.0, "\xCE\xB3 = 89.0\xC2\xB0"},
    };
    for (const PictureBox box : {PictureBox{0, 0, 260, 190}, PictureBox{10, 20, 610, 470}}) {
        for (const auto& c : cases) {
            RecordingCanvas canvas;
            DrawSlopedWindowPicture(canvas, box, c.type, c.heightToSlope, c.length, c.gamma, c.distance);
            const std::string what = std::string(c.gammaText) + " in " + std::to_string(box.right);
            char expected[4][64];
            std::snprintf(expected[0], 64, "h = %.1f m", c.heightToSlope);
            std::snprintf(expected[1], 64, "L = %.1f m", c.length);
            std::snprintf(expected[2], 64, "d = %.1f m", c.distance);
            std::snprintf(expected[3], 64, "%s", c.gammaText);
            for (const char* text : expected)
                EXPECT_TRUE(canvas.FindText(text)) << what << ": " << text;
            const auto glass = LinesWithPen(canvas, {kGlass, 5, PEN_SOLID});
            ASSERT_EQ(glass.size(), 1u) << what;
            EXPECT_NEAR(ScreenAngle(glass[0]), c.gamma, 1.5) << what;
            ExpectInside(canvas, box, what);
        }
    }
    // A vertical window has no slope to explain: only the white background.
    RecordingCanvas canvas;
    DrawSlopedWindowPicture(canvas, {0, 0, 200, 100}, 0, 1.0, 1.0, 30.0, 0.5);
    ASSERT_EQ(canvas.ops.size(), 1u);
    EXPECT_EQ(canvas.ops[0].kind, RecordingCanvas::FILLRECT);
    EXPECT_EQ(canvas.ops[0].colour, MakeRgb(255, 255, 255));
}

TEST(OpeningPicturesTest, SlopedWindowFollowsTheTypedLengthAndDistance) {
    // The glazing's share of the drawn slope grows with the typed length.
    auto glassLength = [](double length) {
        RecordingCanvas canvas;
        DrawSlopedWindowPicture(canvas, {0, 0, 400, 300}, 2, 1.0, length, 30.0, 1.0);
        return Length(LinesWithPen(canvas, {kGlass, 5, PEN_SOLID}).at(0));
    };
    EXPECT_LT(glassLength(0.5), glassLength(1.0));
    EXPECT_LT(glassLength(1.0), glassLength(2.0));
}

TEST(OpeningPicturesTest, ShadingPicturesShowTheirSymbolAndTheSightLineAtTheAngle) {
    const struct {
        int kind;
        const char* symbol;
        const char* letter;
        double fromHorizontal; // screen angle of the sight line for an angle of 0
        double sign;           // how the angle turns it
    } kinds[] = {
        {SHADING_PICTURE_FRONT, "I Sh,lsh", "\xCE\xB1", 0.0, 1.0},
        {SHADING_PICTURE_OVERHANG, "I Sh,hA", "\xCE\xB2", 90.0, -1.0},
        {SHADING_PICTURE_SIDE, "I Sh,vA", "\xCF\x83", 0.0, 1.0},
    };
    for (const auto& k : kinds) {
        for (double angle : {5.0, 30.0, 60.0, 85.0}) {
            for (const PictureBox box : {PictureBox{0, 0, 170, 150}, PictureBox{0, 0, 400, 330}}) {
                RecordingCanvas canvas;
                DrawShadingPicture(canvas, box, k.kind, angle);
                const std::string what = std::string(k.symbol) + " " + std::to_string(angle);
                EXPECT_TRUE(canvas.FindText(k.symbol)) << what;
                char text[32];
                std::snprintf(text, sizeof text, "%s = %.1f\xC2\xB0", k.letter, angle);
                EXPECT_TRUE(canvas.FindText(text)) << what << " " << text;
                const auto sight = LinesWithPen(canvas, {kMark, 1, PEN_SOLID});
                ASSERT_EQ(sight.size(), 1u) << what;
                EXPECT_NEAR(ScreenAngle(sight[0]), k.fromHorizontal + k.sign * angle, 2.0) << what;
                ExpectInside(canvas, box, what);
            }
        }
    }
}

TEST(OpeningPicturesTest, RoofLightPictureShowsItsKindWithTheMarkedQuantities) {
    RecordingCanvas flat;
    DrawRoofLightPicture(flat, {0, 0, 300, 200}, 1, 0.0, 60.0, 1.0, 1.0, 0.75);
    for (const char* text : {"FlatRoofLight", "hs", "0.75 m", "bs", "bRb", "\xCE\xB3W = 60.0\xC2\xB0"})
        EXPECT_TRUE(flat.FindText(text)) << text;
    EXPECT_FALSE(flat.FindText("ShedRoofLight"));
    // Three forms: a flat pane, a dome and a pyramid.
    EXPECT_EQ(LinesWithPen(flat, {kGlass, 4, PEN_SOLID}).size(), 3u);
    EXPECT_EQ(flat.OfKind(RecordingCanvas::POLYLINE).size(), 2u); // the dome and the angle's arc
    ExpectInside(flat, {0, 0, 300, 200}, "flat");

    for (const PictureBox box : {PictureBox{0, 0, 300, 200}, PictureBox{0, 0, 640, 420}}) {
        RecordingCanvas shed;
        DrawRoofLightPicture(shed, box, 0, 60.0, 30.0, 2.0, 1.0, 1.0);
        for (const char* text : {"ShedRoofLight", "hW", "2.00 m", "hG", "1.00 m",
                                 "\xCE\xB3"
                                 "F = 60.0\xC2\xB0",
                                 "\xCE\xB3W = 30.0\xC2\xB0"})
            EXPECT_TRUE(shed.FindText(text)) << text;
        const auto glass = LinesWithPen(shed, {kGlass, 4, PEN_SOLID});
        ASSERT_EQ(glass.size(), 1u);
        EXPECT_NEAR(ScreenAngle(glass[0]), 60.0, 1.5);
        // The two vertical height marks stand in the ratio hg / hw.
        std::vector<double> heights;
        for (const auto& line : LinesWithPen(shed, {kMark, 1, PEN_SOLID}))
            if (line.points[0].x == line.points[1].x && Length(line) > 9) heights.push_back(Length(line));
        ASSERT_EQ(heights.size(), 2u);
        EXPECT_NEAR(std::min(heights[0], heights[1]) / std::max(heights[0], heights[1]), 0.5, 0.02);
        ExpectInside(shed, box, "shed");
    }
}

TEST(OpeningPicturesTest, ABTextNamesTheLongerSideA) {
    const struct {
        double x, y;
        const char* text;
    } cases[] = {
        {2.0, 4.0, "a=4.00 m b=2.00 m  a/b=2.00"},
        {4.0, 1.0, "a=4.00 m  b=1.00m  a/b=4.00"},
        {3.0, 3.0, "a=3.00 m  b=3.00m  a/b=1.00"},
        {0.0, 3.0, "Invalid values in X Length and/or Y Width"},
        {-2.0, -4.0, "Invalid values in X Length and/or Y Width"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetRoofLightABText(c.x, c.y), c.text) << c.x << " " << c.y;
}

} // namespace
