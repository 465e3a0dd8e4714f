// The intensity tables of photometric files and the polar diagram drawn from them.

#include "products/Photometry.h"
#include "products/LumTypeData.h"
#include "products/PolarDiagram.h"
#include "support/RecordingCanvas.h"
#include "support/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// An EULUMDAT text with one lamp set: 5000 lm, 58.5 W, LOR 80 %.
std::string Ldt(int isym, const std::vector<double>& cAngles, const std::vector<double>& gammas,
                const std::vector<std::vector<double>>& planes, const std::string& number = "N-1") {
    std::ostringstream out;
    out << "Maker Ltd\n1\n"
        << isym << "\n"
        << cAngles.size() << "\n90\n"
        << gammas.size() << "\n90\nrep\nName 1\n"
        << number << "\nfile.ldt\ndate\n";
    for (int line = 13; line <= 21; ++line)
        out << "0\n";
    out << "100\n80\n1\n0\n1\n1\nT5\n5000\n3000\n80\n 58.5 \n";
    for (int i = 0; i < 10; ++i)
        out << "0.5\n";
    for (double c : cAngles)
        out << c << "\n";
    for (double g : gammas)
        out << g << "\n";
    for (const auto& plane : planes)
        for (double v : plane)
            out << v << "\n";
    return out.str();
}

// An isotropic IES source: 1000/(4 pi) cd from a 1000 lm lamp, so every lumen leaves the luminaire.
const char* const kIsotropicIes = "IESNA:LM-63-2002\n"
                                  "[MANUFAC] ACME\n"
                                  "[LUMCAT] ABC-1\n"
                                  "[LUMINAIRE] Round globe\n"
                                  "TILT=NONE\n"
                                  "1 1000 1 3 1 1 2 0 0 0\n"
                                  "1.0 1.0 36.5\n"
                                  "0 90 180\n"
                                  "0\n"
                                  "79.5775 79.5775 79.5775\n";

TEST(PhotometryTest, SymmetriesFoldEveryPlaneOntoTheMeasuredOnes) {
    struct Case {
        const char* what;
        int isym;
        std::vector<double> cAngles;
        std::vector<std::vector<double>> planes; // gammas 0, 90, 180
        double c, gamma, expected;
    };
    const std::vector<Case> cases = {
        {"rotational", 1, {0}, {{100, 50, 0}}, 237, 90, 50},
        {"C0-C180 mirrored", 2, {0, 90, 180, 270}, {{100, 50, 0}, {200, 100, 0}, {300, 150, 0}}, 270, 0, 200},
        {"C0-C180 between planes",
         2,
         {0, 90, 180, 270},
         {{100, 50, 0}, {200, 100, 0}, {300, 150, 0}},
         315,
         0,
         150},
        {"between angles", 2, {0, 90, 180, 270}, {{100, 50, 0}, {200, 100, 0}, {300, 150, 0}}, 0, 45, 75},
        {"quadrant C180", 4, {0, 90, 180, 270}, {{100, 0, 0}, {300, 0, 0}}, 180, 0, 100},
        {"quadrant C135", 4, {0, 90, 180, 270}, {{100, 0, 0}, {300, 0, 0}}, 135, 0, 200},
        {"full circle closes",
         0,
         {0, 90, 180, 270},
         {{100, 0, 0}, {0, 0, 0}, {0, 0, 0}, {300, 0, 0}},
         315,
         0,
         200},
        {"C90-C270 mirrored", 3, {0, 90, 180, 270}, {{100, 0, 0}, {200, 0, 0}, {300, 0, 0}}, 0, 0, 200},
    };
    for (const Case& c : cases) {
        CPhotometry p;
        std::string reason;
        ASSERT_TRUE(p.ReadLdtText(Ldt(c.isym, c.cAngles, {0, 90, 180}, c.planes), &reason))
            << c.what << reason;
        EXPECT_NEAR(p.GetIntensity(c.c, c.gamma), c.expected, 1e-9) << c.what;
        EXPECT_STREQ(p.GetIntensityUnit(), "cd/klm");
    }
}

TEST(PhotometryTest, HeaderFactsOfBothFormats) {
    CPhotometry ldt;
    ASSERT_TRUE(ldt.ReadLdtText(Ldt(1, {0}, {0, 90}, {{10, 5}}, "")));
    EXPECT_EQ(ldt.m_csMaker, "Maker Ltd");
    EXPECT_EQ(ldt.m_csName, "Name 1");
    EXPECT_EQ(ldt.m_csNumber, "");
    EXPECT_DOUBLE_EQ(ldt.m_dLampLumens, 5000);
    EXPECT_DOUBLE_EQ(ldt.m_dWatts, 58.5);
    EXPECT_DOUBLE_EQ(ldt.m_dLor, 80);

    CPhotometry ies;
    ASSERT_TRUE(ies.ReadIesText(kIsotropicIes));
    EXPECT_EQ(ies.m_csMaker, "ACME");
    EXPECT_EQ(ies.m_csNumber, "ABC-1");
    EXPECT_EQ(ies.m_csName, "Round globe");
    EXPECT_DOUBLE_EQ(ies.m_dWatts, 36.5);
    EXPECT_DOUBLE_EQ(ies.m_dLampLumens, 1000);
    // Per 1000 lm of a 1000 lm lamp: the candelas themselves.
    EXPECT_NEAR(ies.GetIntensity(45, 120), 79.5775, 1e-9);
    // All of the lamp's flux leaves an isotropic source: 100 %.
    EXPECT_NEAR(ies.m_dLor, 100.0, 0.05);
}

TEST(PhotometryTest, DamagedTablesAreRefusedWithAReason) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"short header", "Maker\n1\n1\n"},
        {"symmetry 7", Ldt(7, {0}, {0, 90}, {{1, 1}})},
        {"missing values", Ldt(0, {0, 90}, {0, 90}, {{1, 1}})},
        {"angles descending", Ldt(1, {0}, {90, 0}, {{1, 1}})},
        {"text in the table",
         [] {
             std::string text = Ldt(1, {0}, {0, 90}, {{1, 1}});
             return text.substr(0, text.size() - 2) + "zz\n";
         }()},
    };
    for (const auto& [what, text] : cases) {
        CPhotometry p;
        std::string reason;
        EXPECT_FALSE(p.ReadLdtText(text, &reason)) << what;
        EXPECT_FALSE(reason.empty()) << what;
        EXPECT_FALSE(p.HasIntensities()) << what;
        EXPECT_EQ(p.GetIntensity(0, 0), 0.0) << what;
    }
    CPhotometry ies;
    EXPECT_FALSE(ies.ReadIesText("IESNA:LM-63-2002\n[LUMCAT] X\nTILT=NONE\n1 1000 1 99999 1 1 2 0 0 0\n"));
}

TEST(PhotometryTest, NiceScaleRoundsUpToOneTwoOrFive) {
    const std::vector<std::pair<double, double>> cases = {{79.6, 100}, {100, 100}, {101, 200}, {230, 250},
                                                          {251, 500},  {0.7, 1},   {0, 1},     {1234, 2000}};
    for (auto [max, scale] : cases)
        EXPECT_DOUBLE_EQ(CPolarDiagram::NiceScale(max), scale) << max;
}

double Distance(const CanvasPoint& p, int cx, int cy) {
    return std::hypot(p.x - cx, p.y - cy);
}

TEST(PolarDiagramTest, IsotropicSourceIsTwoCirclesWithRingsLabelled) {
    CPhotometry ies;
    ASSERT_TRUE(ies.ReadIesText(kIsotropicIes));
    RecordingCanvas canvas;
    CPolarDiagram::Draw(canvas, ies, 0, 0, 400);
    // Font 400/28 = 14 px, margin 28 px, radius 172 px; 79.58 cd/klm on a 100 cd/klm scale.
    const auto curves = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(curves.size(), 2u);
    const double expected = 172 * 0.795775;
    for (const auto& curve : curves) {
        ASSERT_EQ(curve.points.size(), 361u);
        for (const CanvasPoint& p : curve.points)
            EXPECT_NEAR(Distance(p, 200, 200), expected, 1.0);
    }
    EXPECT_EQ(curves[0].pen.colour, CPolarDiagram::kC0Colour);
    EXPECT_EQ(curves[0].pen.style, PEN_SOLID);
    EXPECT_EQ(curves[1].pen.colour, CPolarDiagram::kC90Colour);
    EXPECT_EQ(curves[1].pen.style, PEN_DASH);
    for (const char* text : {"25", "50", "75", "100", "C0-C180", "C90-C270", "cd/klm"})
        EXPECT_NE(canvas.FindText(text), nullptr) << text;
    EXPECT_EQ(canvas.OfKind(RecordingCanvas::ELLIPSE).size(), static_cast<size_t>(CPolarDiagram::kRings));
}

TEST(PolarDiagramTest, NadirPointsDownAndEachPlanePairHasItsOwnCurve) {
    // A downlight twice as strong across (C0) as along (C90), nothing above the horizon.
    CPhotometry ldt;
    ASSERT_TRUE(ldt.ReadLdtText(Ldt(4, {0, 90, 180, 270}, {0, 90, 180}, {{200, 0, 0}, {100, 0, 0}})));
    RecordingCanvas canvas;
    CPolarDiagram::Draw(canvas, ldt, 0, 0, 400);
    const auto curves = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(curves.size(), 2u);
    // Point 180 of each curve is the nadir (gamma 0): straight below the centre.
    EXPECT_NEAR(curves[0].points[180].x, 200, 0);
    EXPECT_NEAR(curves[0].points[180].y, 200 + 172, 1);
    EXPECT_NEAR(curves[1].points[180].y, 200 + 86, 1);
    // Gamma 45 in C0 lies right of the centre and below it; in C180 mirrored to the left.
    const CanvasPoint right = curves[0].points[180 + 45], left = curves[0].points[180 - 45];
    EXPECT_GT(right.x, 200);
    EXPECT_GT(right.y, 200);
    EXPECT_EQ(right.x - 200, 200 - left.x);
    EXPECT_EQ(right.y, left.y);
    // The upper half is empty: every point at or below the centre line.
    for (const auto& curve : curves)
        for (const CanvasPoint& p : curve.points)
            EXPECT_GE(p.y, 200);
}

TEST(PhotometryTest, EveryRealFileHasAnIntensityTable) {
    const fs::path folder = fs::path(ORVANTIS_SHARED_DATA) / "photometric";
    if (!fs::exists(folder)) GTEST_SKIP() << "no real photometric files";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".ldt" && ext != ".LDT" && ext != ".ies" && ext != ".IES"))
            continue;
        ++files;
        CPhotometry p;
        std::string reason;
        EXPECT_TRUE(p.ReadFile(entry.path().string(), &reason)) << entry.path() << ": " << reason;
        EXPECT_GT(p.GetMaxIntensity(), 0) << entry.path();
        RecordingCanvas canvas;
        CPolarDiagram::Draw(canvas, p, 0, 0, 300);
        EXPECT_EQ(canvas.OfKind(RecordingCanvas::POLYLINE).size(), 2u) << entry.path();
    }
    EXPECT_GT(files, 0);
}

TEST(LumTypeDataLdtTest, EmptyLine10StillGivesNameAndWattageToTheDesktop) {
    TempDir dir("ldt");
    const fs::path path = dir / "NONUMBER.LDT";
    WriteFileText(path, Ldt(1, {0}, {0, 90}, {{1, 1}}, "  "));
    CLumTypeData product;
    EXPECT_FALSE(product.ImportFromPhotometricFile(path.string()));
    EXPECT_EQ(product.GetMaxPow(), 0.0);
    CLumTypeData lines;
    ASSERT_TRUE(lines.ReadLdtLines(path.string()));
    EXPECT_EQ(lines.GetRefId(), "");
    EXPECT_EQ(lines.GetDesc(), "Name 1");
    EXPECT_DOUBLE_EQ(lines.GetMaxPow(), 58.5);
    EXPECT_FALSE(lines.ReadLdtLines((dir / "missing.ldt").string()));
}

} // namespace
