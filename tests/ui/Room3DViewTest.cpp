// The room's 3D view: the view's numbers (standard views, dragging, wheel, where a point lands),
// the viewer dialog driven as a user would, and, where an OpenGL context can be made (a real X
// server, not the offscreen platform), pictures of it.

#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "model/Room3DModel.h"
#include "ui/GuiTestSupport.h"
#include "ui/editor/ContextHooks.h"
#include "ui/shell/MainFrame.h"
#include "ui/view3d/OglView.h"
#include "ui/view3d/OglViewState.h"
#include "ui/view3d/OglViewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

// One floor "GROUND" 3 m high with "OFFICE" (two windows) and "HALL" (two roof lights).
CLENIProject MakeProject(const std::string& folder) {
    CLENIProject project;
    project.SetProjectFolder(folder);
    project.AddFloor("GROUND", 3.0, 0, "");
    CLENIFloor floor = *project.GetFloorByName("GROUND");
    CLENIRoom office;
    office.InitFromPolygon("OFFICE", Rect(0, 0, 6, 4), 3.0);
    CLENIWindow w;
    w.m_iWallId = 0;
    w.m_iWindowId = 0;
    w.m_dStart = 1.0;
    w.m_dWidth = 2.0;
    w.m_dSillHeight = 0.9;
    w.m_dHeight = 1.5;
    office.AddWindow(w);
    w.m_iWallId = 1;
    w.m_dStart = 0.5;
    w.m_dWidth = 1.2;
    office.AddWindow(w);
    floor.AddRoom(office);
    CLENIRoom hall;
    hall.InitFromPolygon("HALL", Rect(8, 0, 18, 8), 3.0);
    CLENIRoofLight rl;
    rl.m_iId = 0;
    rl.m_dXOrig = 1.5;
    rl.m_dYOrig = 2.0;
    hall.AddRoofLight(rl);
    rl.m_iId = 1;
    rl.m_dYOrig = 5.0;
    hall.AddRoofLight(rl);
    floor.AddRoom(hall);
    project.ReplaceFloor(floor);
    return project;
}

TEST(OglViewState, StandardViewsDragsAndWheel) {
    COglViewState s;
    s.SetView(-60, 0, -30);
    s.m_dPanX = 10;
    s.m_dZoom = 3;
    s.SetView(0, 0, 0); // a view button also resets pan and zoom
    EXPECT_EQ(s.m_dPanX, 0.0);
    EXPECT_EQ(s.m_dZoom, 1.0);

    // Dragging upward from the top view tilts the model, never beyond -180 nor above 0; a sideways
    // drag turns it about z within [-180, 180].
    struct Drag {
        int dx, dy;
        double rotX, rotZ;
    };
    const Drag drags[] = {{0, 50, -50, 0}, {0, 200, -180, 0}, {0, -30, -150, 0},
                          {0, -400, 0, 0}, {-170, 0, 0, 170}, {-20, 0, 0, -170}};
    for (const Drag& d : drags) {
        s.m_dRotY = 12; // any turn about y is dropped by a drag
        s.Rotate(d.dx, d.dy);
        EXPECT_DOUBLE_EQ(s.m_dRotX, d.rotX) << d.dx << "," << d.dy;
        EXPECT_DOUBLE_EQ(s.m_dRotZ, d.rotZ) << d.dx << "," << d.dy;
        EXPECT_EQ(s.m_dRotY, 0.0);
    }

    // Panning moves 15 units a pixel, less when zoomed in.
    s.SetView(0, 0, 0);
    s.m_dZoom = 2;
    s.Pan(4, -2);
    EXPECT_DOUBLE_EQ(s.m_dPanX, 30.0);
    EXPECT_DOUBLE_EQ(s.m_dPanY, 15.0);

    // Ten notches down from 1.0 stop at 0.5; the eleventh changes nothing; up it stops at 20.
    s.SetView(0, 0, 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(s.Wheel(-120), i < 5) << i;
    EXPECT_NEAR(s.m_dZoom, 0.5, 1e-9);
    EXPECT_FALSE(s.Wheel(-120));
    EXPECT_NEAR(s.m_dZoom, 0.5, 1e-9);
    for (int i = 0; i < 195; ++i)
        s.Wheel(120);
    EXPECT_NEAR(s.m_dZoom, 20.0, 1e-9);
    EXPECT_FALSE(s.Wheel(120));
}

TEST(OglViewState, WhereModelPointsLandOnTheDrawingArea) {
    // A 10 x 5 x 3 box: its longest side spans 1.4 of the 2 units across the area.
    COglViewState s;
    s.m_BoxMin = Point(0, 0, 0);
    s.m_BoxMax = Point(10, 5, 3);
    struct Case {
        const char* view;
        double rx, ry, rz, zoom, panX;
        Point model;
        double x, y;
    };
    const Case cases[] = {
        {"top: the plan, x right, y up", 0, 0, 0, 1, 0, Point(10, 5, 3), 0.7, 0.35},
        {"top, centre", 0, 0, 0, 1, 0, Point(5, 2.5, 1.5), 0.0, 0.0},
        {"top zoomed twice", 0, 0, 0, 2, 0, Point(10, 5, 0), 1.4, 0.7},
        {"top panned 400 units", 0, 0, 0, 1, 400, Point(5, 2.5, 0), -0.1, 0.0},
        {"side X: heights upward", -90, 0, 0, 1, 0, Point(10, 2.5, 3), 0.7, 0.21},
        {"side Y: the x axis seen end on", -90, 0, -90, 1, 0, Point(5, 5, 3), 0.35, 0.21},
    };
    for (const Case& c : cases) {
        s.SetView(c.rx, c.ry, c.rz);
        s.m_dZoom = c.zoom;
        s.m_dPanX = c.panX;
        const Point d = s.ToDevice(c.model, 1.0);
        EXPECT_NEAR(d.x, c.x, 1e-9) << c.view;
        EXPECT_NEAR(d.y, c.y, 1e-9) << c.view;
    }

    // A drawing of one point has a box of no size: drawn unscaled, never divided by zero.
    s.SetView(0, 0, 0);
    s.m_BoxMin = s.m_BoxMax = Point(2, 3, 0);
    const Point d = s.ToDevice(Point(2.5, 3, 0), 1.0);
    EXPECT_NEAR(d.x, 0.5, 1e-9);
    EXPECT_NEAR(d.y, 0.0, 1e-9);
}

using Room3DViewTest = GuiTest;

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void SendWheel(QWidget* w, int delta) {
    QWheelEvent e(QPointF(50, 50), QPointF(w->mapToGlobal(QPoint(50, 50))), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

TEST_F(Room3DViewTest, ViewerDrivenAsAUserWouldAndSavedAsDxf) {
    const CLENIProject project = MakeProject(dir.path().string());
    bool ran = false;
    script.Next<COglViewer>([&](COglViewer& viewer) {
        ran = true;
        viewer.show();
        QApplication::processEvents();
        EXPECT_EQ(viewer.windowTitle(), "3D Viewer");
        // The drawing is the room's model at the floor's height.
        EXPECT_EQ(viewer.GetDrawing().GetLayerTable().GetCount(), 7);
        EXPECT_EQ(viewer.GetDrawing().GetEntityCount(), 4 + 3 + 2 * (4 + 1 + 1));

        // The drawing area: a square 2 pixels right of the buttons and 2 from the top.
        COglView* view = viewer.GetView();
        EXPECT_EQ(view->y(), 2);
        EXPECT_EQ(view->width(), view->height());
        EXPECT_EQ(view->width(), std::min(viewer.width() - view->x() + 2 - 4, viewer.height() - 4));
        EXPECT_GE(view->x(), viewer.GetSaveButton()->geometry().right());

        viewer.GetGeneralButton()->click();
        const COglViewState& s = view->GetState();
        EXPECT_EQ(s.m_dRotX, -60.0);
        EXPECT_EQ(s.m_dRotZ, -30.0);
        // A left drag 30 pixels up and 10 right tilts and turns the model; a right drag pans it.
        SendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(100, 100));
        SendMouse(view, QEvent::MouseMove, Qt::LeftButton, QPoint(110, 70));
        SendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(110, 70));
        EXPECT_EQ(s.m_dRotX, -90.0);
        EXPECT_EQ(s.m_dRotZ, -20.0);
        SendMouse(view, QEvent::MouseMove, Qt::NoButton, QPoint(150, 150)); // no button: nothing
        EXPECT_EQ(s.m_dRotX, -90.0);
        SendMouse(view, QEvent::MouseButtonPress, Qt::RightButton, QPoint(150, 150));
        SendMouse(view, QEvent::MouseMove, Qt::RightButton, QPoint(140, 150));
        SendMouse(view, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(140, 150));
        EXPECT_EQ(s.m_dPanX, 150.0);
        SendWheel(view, -240);
        EXPECT_NEAR(s.m_dZoom, 0.8, 1e-12);
        viewer.GetTopButton()->click();
        EXPECT_EQ(s.m_dRotX, 0.0);
        EXPECT_EQ(s.m_dPanX, 0.0);
        EXPECT_EQ(s.m_dZoom, 1.0);
        viewer.GetSideYButton()->click();
        EXPECT_EQ(s.m_dRotZ, -90.0);
        viewer.GetSideXButton()->click();
        EXPECT_EQ(s.m_dRotX, -90.0);
        EXPECT_EQ(s.m_dRotZ, 0.0);

        // The hidden angle fields and their button.
        viewer.GetRotationField(0)->setText("-45.5");
        viewer.GetRotationField(2)->setText("20");
        viewer.GetUpdateButton()->click();
        EXPECT_EQ(s.m_dRotX, -45.5);
        EXPECT_EQ(s.m_dRotZ, 20.0);

        viewer.GetShowTextBox()->setChecked(false);
        EXPECT_FALSE(view->GetShowText());

        // Enter and Escape leave the viewer open.
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(&viewer, &press);
        }
        QApplication::processEvents();
        EXPECT_TRUE(viewer.isVisible());

        // "Save Dxf..." proposes the room's name and "_3D" in the project folder.
        viewer.GetSaveButton()->click();
        viewer.reject();
    });
    script.File((dir / "OFFICE_3D").string());
    ShowRoom3DView(nullptr, project, "GROUND", "OFFICE");
    ASSERT_TRUE(ran);
    ASSERT_EQ(script.fileTitles.size(), 1u);
    EXPECT_EQ(script.fileTitles[0], "Save as DXF...");
    EXPECT_EQ(script.fileStarts[0], (dir / "OFFICE_3D").string());
    const fs::path saved = dir / "OFFICE_3D.DXF";
    ASSERT_TRUE(fs::exists(saved));
    CDxfFile back;
    ASSERT_TRUE(back.ReadFile(saved.string()));
    EXPECT_EQ(back.GetEntityCount(), 4 + 3 + 2 * (4 + 1 + 1));

    // Without OpenGL (the offscreen platform) the viewer says so once, and stays open.
    const bool context = COglViewer::CanMakeContext();
    EXPECT_EQ(BoxTexts().find("CreateOGLContext\nwglCreateContext(pDC->m_hDC) failed.") != std::string::npos,
              !context)
        << BoxTexts();
}

TEST_F(Room3DViewTest, UnknownRoomOrFloorIsReportedAndNoViewerOpens) {
    const CLENIProject project = MakeProject(dir.path().string());
    ShowRoom3DView(nullptr, project, "GROUND", "NOWHERE");
    EXPECT_NE(BoxTexts().find("[There is no room here]"), std::string::npos) << BoxTexts();
    ShowRoom3DView(nullptr, project, "ATTIC", "OFFICE");
    EXPECT_NE(log.All().find("There is no FLOOR here! Odd."), std::string::npos) << log.All();
    EXPECT_TRUE(script.shown.empty());
}

// Pixels of the picture near this colour.
int CountColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                     std::abs(c.blue() - colour.blue()) <
                 30;
        }
    return n;
}

// The view's picture once it has settled: a virtual X server may deliver the last resize or expose
// after the first repaint, so grab until two pictures in a row are the same (at most ten times).
QImage SettledPicture(QWidget* view) {
    QImage picture = view->grab().toImage();
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        const QImage next = view->grab().toImage();
        if (next == picture) break;
        picture = next;
    }
    return picture;
}

TEST_F(Room3DViewTest, PicturesOfRoomsWithWindowsAndWithRoofLights) {
    if (!COglViewer::CanMakeContext())
        GTEST_SKIP() << "no OpenGL context here (run under a real X server, e.g. Xvfb, to take the pictures)";
    const CLENIProject project = MakeProject(dir.path().string());
    for (const char* name : {"OFFICE", "HALL"}) {
        SCOPED_TRACE(name);
        const CLENIFloor* floor = project.GetFloorByName("GROUND");
        COglViewer viewer(BuildRoom3DModel(*floor->FindRoom(name), floor->GetHeight()), name,
                          dir.path().string());
        viewer.setGeometry(100, 100, 800, 800);
        viewer.show();
        viewer.GetGeneralButton()->click();
        QApplication::processEvents();
        const QImage withText = SettledPicture(viewer.GetView());
        ASSERT_TRUE(viewer.GetView()->HasPainted());
        SaveScreenshot(viewer, std::string("view3d-") + name + "-general");
        // The walls' edges (red, colour 1) and the openings (cyan, colour 4) are drawn.
        EXPECT_GT(CountColour(withText, QColor(255, 0, 0)), 200);
        EXPECT_GT(CountColour(withText, QColor(0, 255, 255)), 50);

        viewer.GetShowTextBox()->setChecked(false);
        QApplication::processEvents();
        const QImage withoutText = SettledPicture(viewer.GetView());
        // The corner letters (layer "0") go with the next repaint; the roof-light room has none.
        ASSERT_EQ(withoutText.size(), withText.size());
        int changed = 0;
        for (int y = 0; y < withText.height(); ++y)
            for (int x = 0; x < withText.width(); ++x)
                changed += withText.pixel(x, y) != withoutText.pixel(x, y);
        if (std::string(name) == "OFFICE") {
            EXPECT_GT(changed, 8 * 20);
        } else {
            EXPECT_EQ(changed, 0);
        }
        viewer.GetTopButton()->click();
        QApplication::processEvents();
        SaveScreenshot(viewer, std::string("view3d-") + name + "-top");
        viewer.GetSideXButton()->click();
        QApplication::processEvents();
        SaveScreenshot(viewer, std::string("view3d-") + name + "-side-x");
    }
}

} // namespace
