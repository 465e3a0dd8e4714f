// Calculation > "Savings Advisor..." and File > "Compare with Project..." on the sample building,
// driven through the main window.

#include "app/LENIBDoc.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "ui/GuiTestSupport.h"
#include "ui/results/VariantsDlg.h"
#include "ui/shell/MainFrame.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

class VariantsDialogsTest : public GuiTest {
  protected:
    fs::path OpenSample() {
        const fs::path folder = ProjectsDir() / "SAMPLE";
        fs::copy(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample", folder, fs::copy_options::recursive);
        EXPECT_TRUE(Frame().GetDocument().OpenProject((folder / "SAMPLE.LENI1XML").string()));
        return folder / "SAMPLE.LENI1XML";
    }
};

} // namespace

// The table holds every option and sorts by number; Apply puts the chosen one into its zone as
// one undo step, after which the building calculates to the LENI the row promised.
TEST_F(VariantsDialogsTest, AdvisorAppliesTheChosenOptionAsOneUndoStep) {
    OpenSample();
    CLENIBDoc& doc = Frame().GetDocument();
    double promised = 0.0, before = 0.0;
    std::string zone, label;
    script.Next<CSavingsAdvisorDlg>([&](CSavingsAdvisorDlg& d) {
        QTableWidget* table = d.GetTable();
        EXPECT_EQ(table->rowCount(), static_cast<int>(d.GetAdvice().options.size()));
        EXPECT_EQ(d.GetBuildingLine().rfind("Building: LENI ", 0), 0u) << d.GetBuildingLine();
        SaveScreenshot(d, "savings_advisor");
        // Sorted by the LENI after, ascending: the option that saves the most comes first.
        table->sortItems(6, Qt::AscendingOrder);
        const size_t first = static_cast<size_t>(table->item(0, 0)->data(Qt::UserRole).toInt());
        double best = 1e300;
        for (const AdviceOption& o : d.GetAdvice().options)
            best = std::min(best, o.leniAfter);
        EXPECT_EQ(d.GetAdvice().options[first].leniAfter, best);
        table->selectRow(3);
        const AdviceOption& chosen =
            d.GetAdvice().options[static_cast<size_t>(table->item(3, 0)->data(Qt::UserRole).toInt())];
        promised = chosen.leniAfter;
        before = d.GetAdvice().leniBefore;
        zone = chosen.floorName + "/" + chosen.roomName + "/" + chosen.zoneName;
        label = chosen.label;
        EXPECT_TRUE(d.ApplySelected());
        EXPECT_EQ(d.GetAdvice().leniBefore, promised); // advised again on the changed building
        // Another Fcc for constant illuminance control: the options say so; a wrong one is refused.
        d.GetFccField()->setText("0,8");
        d.GetAdviseButton()->click();
        bool withFcc = false;
        for (const AdviceOption& o : d.GetAdvice().options)
            withFcc = withFcc || o.label.find("(Fcc 0.80)") != std::string::npos;
        EXPECT_TRUE(withFcc);
        d.GetFccField()->setText("1.5");
        d.GetAdviseButton()->click();
        EXPECT_EQ(d.GetFccField()->text().toStdString(), "0.80");
        d.reject();
    });
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kSavingsAdvisor));
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(CalculateAnnualLENI(doc.GetProject(), 0).GetLENI(), promised) << zone << " " << label;
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(CalculateAnnualLENI(doc.GetProject(), 0).GetLENI(), before);
}

// The sample against a copy with one room fewer: the building line and the table say so, and the
// exports write the CSV and a PDF.
TEST_F(VariantsDialogsTest, CompareWithAProjectShowsAndExportsTheDifferences) {
    const fs::path sample = OpenSample();
    CLENIProject copy = Frame().GetDocument().GetProject();
    ASSERT_TRUE(copy.GetFloorByName("Ground")->RemoveRoomByName("Corridor"));
    const fs::path other = dir / "B.LENI1XML";
    ASSERT_TRUE(copy.Save(other.string(), false));
    script.File(other.string());
    script.Next<CCompareDlg>([&](CCompareDlg& d) {
        EXPECT_NE(d.GetBuildingLine().find("rooms: 0 changed, 0 added, 1 removed"), std::string::npos)
            << d.GetBuildingLine();
        EXPECT_EQ(d.GetTable()->rowCount(), 11);
        SaveScreenshot(d, "compare_projects");
        EXPECT_TRUE(d.ExportCsv((dir / "c.csv").string()));
        EXPECT_TRUE(d.ExportPdf((dir / "c.pdf").string()));
        d.reject();
    });
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kCompareWithProject));
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(ReadLines(dir / "c.csv").size(), 1u + 11u * 13u);
    EXPECT_EQ(ReadFileText(dir / "c.pdf").rfind("%PDF", 0), 0u);
}
