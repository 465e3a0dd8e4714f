#include "ui/editor/FloorView.h"

#include "dxf/DxfFile.h"
#include "model/ModelOverlay.h"
#include "support/SamplePlan.h"
#include "support/TestSupport.h"
#include "ui/platform/QtCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The test program's QApplication: the one another suite made, else one of our own for good.
void EnsureApplication() {
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "orvantis_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the program
}

fs::path ScreenshotDir() {
    const fs::path dir = fs::path(ORVANTIS_EXE).parent_path() / "screenshots";
    fs::create_directories(dir);
    return dir;
}

class FloorViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { EnsureApplication(); }
    void SetUp() override {
        view.resize(800, 600);
        view.SetDrawing(&plan.entities, &plan.snap, &plan.floor);
        view.SetStatusCallback([this](const std::string& text) { status = text; });
    }
    void Wheel(const QPoint& at, int delta) {
        QWheelEvent event(QPointF(at), QPointF(view.mapToGlobal(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    }
    void Mouse(QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(view.mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    }
    double Width() const { return view.GetViewMax().x - view.GetViewMin().x; }
    QRgb PixelAtWorld(const Point& p) {
        view.RenderImage();
        const QPoint at = WorldToImage(p);
        return view.GetImage().pixel(at);
    }
    QPoint WorldToImage(const Point& p) const {
        // The inverse of WidgetToWorld, found from two widget pixels.
        const Point a = view.WidgetToWorld(QPoint(0, 0)), b = view.WidgetToWorld(QPoint(100, 100));
        const double sx = 100 / (b.x - a.x), sy = 100 / (b.y - a.y);
        return QPoint(static_cast<int>((p.x - a.x) * sx) - 2, static_cast<int>((p.y - a.y) * sy) - 2);
    }

    SamplePlan plan{3, 2, 3, 2};
    CFloorView view;
    std::string status;
};

TEST_F(FloorViewTest, ZoomAllTakesTheDrawingWithAMarginAndEveryRoom) {
    // Drawing 0..18 x 0..10, 5 % more on each side.
    EXPECT_NEAR(view.GetViewMin().x, -0.9, 1e-9);
    EXPECT_NEAR(view.GetViewMax().x, 18.9, 1e-9);
    EXPECT_NEAR(view.GetViewMin().y, -0.5, 1e-9);
    EXPECT_NEAR(view.GetViewMax().y, 10.5, 1e-9);
    // The view window is centred in the picture, whatever the picture's shape.
    for (const QSize size : {QSize(800, 600), QSize(400, 900)}) {
        view.resize(size);
        const QPoint centre = WorldToImage(Point(9.0, 5.0));
        EXPECT_NEAR(centre.x(), (size.width() - 4) / 2, 2) << size.width();
        EXPECT_NEAR(centre.y(), (size.height() - 4) / 2, 2) << size.width();
    }
    // A room beyond the drawing widens the view to it.
    CLENIRoom far;
    far.InitFromPolygon("FAR", {Point(30, 0), Point(40, 0), Point(40, 20), Point(30, 20)}, 3.0);
    plan.floor.AddRoom(far);
    view.ZoomAll();
    EXPECT_NEAR(view.GetViewMax().x, 40, 1e-9);
    EXPECT_NEAR(view.GetViewMax().y, 20, 1e-9);
    EXPECT_NEAR(view.GetViewMin().x, -0.9, 1e-9);
}

TEST_F(FloorViewTest, ZoomAllTakesInAtriaAndRoofLightsBeyondTheDrawingAndTheRooms) {
    // A roof light sticking out of its room past the drawing (room 30..40 x 0..20, roof light
    // 38..42 x 19..22) and an atrium left of and below everything (-20..-10 x -15..-5).
    CLENIRoom room;
    room.InitFromPolygon("R", {Point(30, 0), Point(40, 0), Point(40, 20), Point(30, 20)}, 3.0);
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    roofLight.m_dXOrig = 8;
    roofLight.m_dXLength = 4;
    roofLight.m_dYOrig = 19;
    roofLight.m_dYWidth = 3;
    ASSERT_TRUE(room.AddRoofLight(roofLight));
    ASSERT_TRUE(plan.floor.AddRoom(room));
    CLENIAtrium atrium;
    atrium.m_csName = "A1";
    atrium.SetPolygon({Point(-20, -15), Point(-10, -15), Point(-10, -5), Point(-20, -5)});
    ASSERT_TRUE(plan.floor.AddAtrium(atrium));
    view.ZoomAll();
    EXPECT_NEAR(view.GetViewMin().x, -20, 1e-9);
    EXPECT_NEAR(view.GetViewMin().y, -15, 1e-9);
    EXPECT_NEAR(view.GetViewMax().x, 42, 1e-9);
    EXPECT_NEAR(view.GetViewMax().y, 22, 1e-9);
}

TEST_F(FloorViewTest, WheelZoomsAboutThePointer) {
    const QPoint at(300, 200);
    const Point c = view.WidgetToWorld(at);
    const Point min = view.GetViewMin(), max = view.GetViewMax();
    Wheel(at, 120);
    EXPECT_NEAR(view.GetViewMin().x, c.x - 0.95 * (c.x - min.x), 1e-9);
    EXPECT_NEAR(view.GetViewMax().y, c.y + 0.95 * (max.y - c.y), 1e-9);
    EXPECT_NEAR(view.WidgetToWorld(at).x, c.x, 1e-6) << "the point under the pointer stays";
    Wheel(at, -240);
    EXPECT_NEAR(Width(), 0.95 * 1.1 * 19.8, 1e-9);
    Wheel(at, 60); // less than a notch
    EXPECT_NEAR(Width(), 0.95 * 1.1 * 19.8, 1e-9);

    view.SetViewWindow(Point(0, 0), Point(0.005, 0.005));
    Wheel(at, 120);
    EXPECT_DOUBLE_EQ(Width(), 0.005) << "no zooming in below 1 cm";
    Wheel(at, -120);
    EXPECT_GT(Width(), 0.005);
    view.SetViewWindow(Point(0, 0), Point(6e8, 1));
    Wheel(at, -120);
    EXPECT_DOUBLE_EQ(Width(), 6e8) << "no zooming out beyond 5e8 m";

    view.SetViewWindow(Point(0, 0), Point(10, 10));
    Wheel(at, 120 * 40); // a flick of forty notches
    EXPECT_GT(Width(), 0.0) << "the view never turns inside out";
}

TEST_F(FloorViewTest, MiddleButtonPansAndKeysMoveAndZoom) {
    const Point min = view.GetViewMin();
    const double scale = 100.0 / (view.WidgetToWorld(QPoint(100, 0)).x - view.WidgetToWorld(QPoint(0, 0)).x);
    Mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
    EXPECT_EQ(view.GetMouseMode(), MM_PAN);
    Mouse(QEvent::MouseMove, QPoint(150, 80), Qt::NoButton, Qt::MiddleButton);
    EXPECT_NEAR(view.GetViewMin().x, min.x - 50 / scale, 1e-9) << "the content follows the pointer";
    EXPECT_NEAR(view.GetViewMin().y, min.y - 20 / scale, 1e-9);
    Mouse(QEvent::MouseButtonRelease, QPoint(150, 80), Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(view.GetMouseMode(), MM_NONE);

    view.SetViewWindow(Point(0, 0), Point(30, 40)); // diagonal 50: steps of 2.5 m
    Key(Qt::Key_Left);
    EXPECT_NEAR(view.GetViewMin().x, -2.5, 1e-9);
    Key(Qt::Key_Up);
    EXPECT_NEAR(view.GetViewMin().y, 2.5, 1e-9);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_NEAR(view.GetViewMin().x, 0.0, 1e-9);
    EXPECT_NEAR(view.GetViewMin().y, 0.0, 1e-9);
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_NEAR(Width(), 30 * 0.75, 1e-9);
    Key(Qt::Key_Plus); // not the keypad key
    EXPECT_NEAR(Width(), 30 * 0.75, 1e-9);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(Width(), 30 * 0.75 * 1.25, 1e-9);
}

TEST_F(FloorViewTest, SnapTogglesAndStatusText) {
    plan.snap.m_dGridSpacing = 0.5;
    Mouse(QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::NoButton);
    const Point p = view.WidgetToWorld(QPoint(2, 2));
    char position[64];
    std::snprintf(position, sizeof position, "   DXFPOS: %.2f %.2f", p.x, p.y);
    EXPECT_EQ(status, std::string("[grid snap off F9] [object snap off F3]") + position);
    LogRecorder log;
    Key(Qt::Key_F9);
    EXPECT_EQ(plan.snap.m_iFlags, CSnapPointList::SNAP_GRID);
    EXPECT_TRUE(log.Contains("Grid snap was 0, now is 1 (2)"));
    Key(Qt::Key_F3);
    EXPECT_EQ(plan.snap.m_iFlags, CSnapPointList::SNAP_GRID | CSnapPointList::SNAP_OBJECT);
    EXPECT_EQ(status, std::string("[GRID SNAP ON 0.50 m F9] [OBJECT SNAP ON F3]") + position);
    Key(Qt::Key_F9);
    Key(Qt::Key_F3);
    EXPECT_EQ(plan.snap.m_iFlags, 0);
}

TEST_F(FloorViewTest, PictureIsKeptUntilSomethingChanges) {
    view.RenderImage();
    const int first = view.GetRenderCount();
    EXPECT_EQ(view.GetImage().size(), QSize(796, 596)) << "2 pixels of frame on each side";
    view.RenderImage();
    EXPECT_EQ(view.GetRenderCount(), first);
    Mouse(QEvent::MouseMove, QPoint(40, 40), Qt::NoButton, Qt::NoButton);
    view.RenderImage();
    EXPECT_EQ(view.GetRenderCount(), first) << "a pointer move only changes the status";
    view.resize(700, 600);
    view.RenderImage();
    EXPECT_EQ(view.GetRenderCount(), first + 1);
    Key(Qt::Key_Left);
    view.RenderImage();
    EXPECT_EQ(view.GetRenderCount(), first + 2);
}

TEST_F(FloorViewTest, DxfBackgroundSwitch) {
    // The column of the first module is a black solid 0.4 m square at the origin; the model draws
    // nothing at this point of it.
    const Point middle(0.33, 0.33);
    EXPECT_EQ(PixelAtWorld(middle), qRgb(84, 84, 84));
    view.SetShowDxfBackground(false);
    EXPECT_EQ(PixelAtWorld(middle), qRgb(255, 255, 255));
    view.SetShowDxfBackground(true);
    EXPECT_EQ(PixelAtWorld(middle), qRgb(84, 84, 84));
}

TEST_F(FloorViewTest, EmptyPageIsGrey) {
    CFloorView empty;
    empty.resize(200, 150);
    const QImage shot = empty.grab().toImage();
    EXPECT_EQ(shot.pixel(100, 75), qRgb(0x9B, 0x9B, 0x9B));
}

// Lines and pixels land on the same pixels whether they go straight into the picture or through
// the painter (near the edges and inside a clip), and nothing is written outside the picture.
TEST_F(FloorViewTest, CanvasLinesAndPixelsOnAPicture) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    {
        QPainter painter(&image);
        CQtCanvas canvas(painter);
        canvas.SetPen({MakeRgb(255, 0, 0), 0, PEN_SOLID});
        canvas.DrawLine(2, 2, 8, 2);
        canvas.DrawLine(-5, 5, 30, 5); // across the whole picture
        canvas.SetPixel(1, 1, MakeRgb(0, 0, 255));
        canvas.SetPixel(25, 3, MakeRgb(0, 0, 255)); // outside: ignored
        canvas.PushClipRect(0, 7, 10, 10);
        canvas.DrawLine(0, 8, 19, 8); // only its left half shows
        canvas.PopClipRect();
    }
    EXPECT_EQ(image.pixel(2, 2), red);
    EXPECT_EQ(image.pixel(8, 2), red);
    EXPECT_EQ(image.pixel(9, 2), white);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(image.pixel(x, 5), red) << x;
    EXPECT_EQ(image.pixel(1, 1), blue);
    EXPECT_EQ(image.pixel(19, 3), white);
    EXPECT_EQ(image.pixel(5, 8), red);
    EXPECT_EQ(image.pixel(15, 8), white);
}

// Pictures of the page for a look by eye, written into the build folder.
TEST_F(FloorViewTest, Screenshots) {
    SamplePlan wide(4, 2, 3, 2);
    CLENIAtrium atrium;
    atrium.m_csName = "ATRIUM 1";
    atrium.SetPolygon({Point(18.6, 5.6), Point(23.4, 5.6), Point(23.4, 7.4), Point(18.6, 7.4)});
    wide.floor.AddAtrium(atrium);
    wide.floor.SetInstanceCount(3);
    view.SetDrawing(&wide.entities, &wide.snap, &wide.floor);
    view.resize(1000, 620);
    const fs::path dir = ScreenshotDir();
    EXPECT_TRUE(view.grab().save(QString::fromStdString((dir / "floor_all.png").string())));
    view.SetViewWindow(Point(0, 0), Point(7, 5.5));
    EXPECT_TRUE(view.grab().save(QString::fromStdString((dir / "floor_room.png").string())));
    Key(Qt::Key_F9);
    EXPECT_TRUE(view.grab().save(QString::fromStdString((dir / "floor_grid.png").string())));
    view.SetShowDxfBackground(false);
    view.ZoomAll();
    EXPECT_TRUE(view.grab().save(QString::fromStdString((dir / "floor_model_only.png").string())));
}

// Published floor plans read from their files, for a look by eye.
TEST_F(FloorViewTest, RealPlanScreenshots) {
    const fs::path data = SharedDataDir();
    if (data.empty()) GTEST_SKIP() << "no shared sample files";
    const char* const plans[] = {
        "dxf/skymakerolof__dxf/floorplan.dxf",        "dxf/bullestock__hal9kspace/floorplan.dxf",
        "dxf/raumzeitlabor__olymp-2.0/floorplan.dxf", "dxf/yorikvanhavre__barcelona-pavillion/plan.dxf",
        "dxf/emfcamp__site-plan-2012/plan.dxf",       "dxf/qcad__qcad/example01.dxf",
    };
    const fs::path dir = ScreenshotDir();
    view.resize(1000, 700);
    for (const char* plan : plans) {
        const fs::path path = data / plan;
        if (!fs::exists(path)) continue;
        CDxfFile drawing;
        drawing.ReadFile(path.string());
        view.SetDxfFile(&drawing, nullptr);
        const std::string name = fs::path(plan).parent_path().filename().string() + ".png";
        EXPECT_TRUE(view.grab().save(QString::fromStdString((dir / name).string()))) << plan;
        view.SetDxfFile(nullptr, nullptr);
    }
}

} // namespace
