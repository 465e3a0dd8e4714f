#pragma once
// The floor-page tests' fixture: the main window shown offscreen, a project with floors, and
// clicks and pointer moves at world points of the current floor page.

#include "app/LENIBDoc.h"
#include "dxf/Point.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/editor/FloorView.h"
#include "ui/shell/LENIBView.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <fstream>
#include <iterator>

class EditorGuiTest : public GuiTest {
  protected:
    CLENIBDoc& Doc() { return Frame().GetDocument(); }
    CLENIProject& Project() { return Doc().GetProject(); }
    CDxfTabDlg* Page() {
        if (!m_bShown) {
            Frame().show();
            QApplication::processEvents();
            m_bShown = true;
        }
        return Frame().GetView()->GetCurrDxfTabDlg();
    }
    CFloorView* View() { return Page()->GetFloorView(); }
    // The widget pixel of a world point (the inverse of WidgetToWorld).
    QPoint At(const Point& p) {
        const Point a = View()->WidgetToWorld(QPoint(0, 0)), b = View()->WidgetToWorld(QPoint(1000, 1000));
        const double sx = 1000 / (b.x - a.x), sy = 1000 / (b.y - a.y);
        return QPoint(static_cast<int>(std::lround((p.x - a.x) * sx)),
                      static_cast<int>(std::lround((p.y - a.y) * sy)));
    }
    void Move(const Point& p) {
        const QPoint at = At(p);
        QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(View()->mapToGlobal(at)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View(), &event);
    }
    void Click(const Point& p) {
        Move(p);
        QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, At(p));
    }
    Point OnPixel(const Point& p) { return p; }
    // The project as its file would hold it.
    std::string ProjectText() {
        const fs::path path = dir / "snapshot.LENI1XML";
        Project().Save(path.string(), false);
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string LastBox() const { return boxes.boxes.empty() ? std::string() : boxes.boxes.back().text; }
    // A DXF floor of an 8 x 6 m outline on layer WALLS, 3 m high, without import.
    void AddPlanFloor(const std::string& name) {
        const fs::path path = dir / (name + ".dxf");
        std::ofstream(path)
            << "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nWALLS\n90\n4\n70\n1\n10\n0\n20\n0\n10\n8\n20\n"
               "0\n10\n8\n20\n6\n10\n0\n20\n6\n0\nENDSEC\n0\nEOF\n";
        script.Next<CDxfSizeDlg>([](CDxfSizeDlg& d) { d.accept(); });
        script.Next<CFloorDlg>([](CFloorDlg& d) {
            d.GetHeightField()->setText("3");
            d.accept();
        });
        boxes.answers.push_back(IDNO);
        Frame().GetView()->AddDxfFloor(path.string());
    }

  private:
    bool m_bShown = false;
};
