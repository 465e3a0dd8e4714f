// The product database dialog in both modes and the product edit dialog, driven through their
// widgets: every message, what reaches the global database and its file, and imports of real
// photometric files.

#include "app/LENIBApp.h"
#include "app/LENIBDoc.h"
#include "app/Preferences.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"
#include "products/Photometry.h"
#include "tables/BuildingTypeData.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/ContextHooks.h"
#include "ui/products/ObjDataDlg.h"
#include "ui/products/ObjDbTableDlg.h"
#include "ui/products/PolarDiagramWidget.h"
#include "ui/shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

CLumTypeData Product(const std::string& refId, double watts, int typeFlags = 1,
                     const std::string& desc = "") {
    CLumTypeData p;
    p.SetRefId(refId);
    p.SetDesc(desc);
    p.SetMaxPow(watts);
    p.SetTypeFlags(typeFlags);
    return p;
}

int RowOf(const QTableWidget* table, const std::string& refId) {
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->item(r, 0)->text().toStdString() == refId) return r;
    return -1;
}

std::vector<std::string> Column(const QTableWidget* table, int column) {
    std::vector<std::string> texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts.push_back(table->item(r, column)->text().toStdString());
    return texts;
}

void Click(CObjDbTableDlg& d, const std::string& refId) {
    const int row = RowOf(d.GetTable(), refId);
    ASSERT_GE(row, 0) << refId;
    emit d.GetTable()->cellClicked(row, 0);
}

void DoubleClick(CObjDbTableDlg& d, const std::string& refId) {
    const int row = RowOf(d.GetTable(), refId);
    ASSERT_GE(row, 0) << refId;
    emit d.GetTable()->cellDoubleClicked(row, 0);
}

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

fs::path RealPhotometricFolder() {
    return fs::path(ORVANTIS_SHARED_DATA) / "photometric";
}

std::vector<fs::path> RealPhotometricFiles() {
    std::vector<fs::path> files;
    if (!fs::exists(RealPhotometricFolder())) return files;
    for (const auto& entry : fs::recursive_directory_iterator(RealPhotometricFolder())) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (EqualsNoCase(ext, ".ldt") || EqualsNoCase(ext, ".ies")))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ProductDatabaseTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CBuildingTypeData::InitBuildingTypeTables();
        // An empty database, so the tables hold only what a test puts in (a start without one
        // brings the generic products).
        fs::create_directories(DatabaseFile().parent_path());
        WriteFileText(DatabaseFile(), "<LENI_V1_LUM_DB/>");
    }
    CLumSysDataBase& Global() { return CLumSysDataBase::Global(); }
    fs::path DatabaseFile() const { return dir / "data" / "ORVANTIS NUVA" / "LENI_V1_LUM_DB.XML"; }
    CLENIProject& Project() { return Frame().GetDocument().GetProject(); }
    // Every box text and every log line, for looking a message up wherever it went.
    std::string Said() const { return BoxTexts() + log.All(); }
    // A project "P" with floor F whose one zone lists USED-1.
    void ProjectWithZoneUsing(const std::string& refId) {
        NewProject("P");
        AddSimpleFloor("F", 10, 10, 3, true);
        CLENIFloor* floor = Project().GetFloorByName("F");
        ASSERT_NE(floor, nullptr);
        CLENIRoom* room = floor->GetRoomByIndex(0);
        ASSERT_NE(room, nullptr);
        ASSERT_FALSE(room->GetZones().empty());
        CLENIZone zone = room->GetZones().front();
        zone.GetLumList().AddLuminaire(refId);
        ASSERT_TRUE(room->ReplaceZone(zone));
        Project().AddProductsToProject(zone.GetLumList());
    }
};

TEST_F(ProductDatabaseTest, BothModesShowTheirOwnButtonsNotesAndDrops) {
    Frame();
    struct Case {
        int mode;
        bool editing;
    };
    for (const Case c : {Case{OBJDB_EDIT, true}, Case{OBJDB_CHOOSE, false}}) {
        CObjDbTableDlg d(c.mode, &Project());
        EXPECT_EQ(d.windowTitle().toStdString(), "Product Database");
        ASSERT_EQ(d.GetTable()->columnCount(), 6);
        for (int col = 0; col < 6; ++col)
            EXPECT_EQ(d.GetTable()->horizontalHeaderItem(col)->text().toStdString(),
                      CObjDbTableDlg::kColumnHeaders[col]);
        EXPECT_EQ(d.acceptDrops(), c.editing) << c.mode;
        EXPECT_EQ(d.GetDragNote()->isVisibleTo(&d), c.editing);
        EXPECT_EQ(d.GetDragNote()->text().toStdString(), "You can drag .LDT and .IES files into this dialog");
        EXPECT_EQ(d.GetDeleteNote()->isVisibleTo(&d), c.editing);
        EXPECT_EQ(d.GetDeleteNote()->text().toStdString(), "Use DELETE or BACKSPACE key to remove an object");
        EXPECT_EQ(d.GetAddNewButton()->isVisibleTo(&d), c.editing);
        EXPECT_EQ(d.GetAddFileButton()->isVisibleTo(&d), c.editing);
        EXPECT_EQ(d.GetAddToZoneButton()->isVisibleTo(&d), !c.editing);
    }
    log.Clear();
    CObjDbTableDlg bad(2, &Project());
    EXPECT_FALSE(bad.IsModeValid());
    EXPECT_EQ(log.Count("Unhandled m_eMode in CLumCatDlg", LOG_ERROR), 1);
    std::string chosen;
    EXPECT_FALSE(ShowProductDatabase(nullptr, 2, &Project(), &chosen));
    EXPECT_TRUE(script.shown.empty());
}

TEST_F(ProductDatabaseTest, TableListsProjectProductsOnceSortedAndFiltered) {
    Frame();
    Global().AddLumData(Product("b-2", 36, 3, "Batten"));
    Global().AddLumData(Product("A-1", 58.5, 5, "Downlight"));
    Global().AddLumData(Product("c-3", 12.346, 9, "Odd type"));
    Project().GetProducts().AddLumData(Product("a-1", 99, 1, "Project copy"));
    CObjDbTableDlg d(OBJDB_EDIT, &Project());
    const QTableWidget* t = d.GetTable();
    // The project's copy wins and A-1 is listed once; case-insensitive order.
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"a-1", "b-2", "c-3"}));
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"Project copy", "Batten", "Odd type"}));
    EXPECT_EQ(Column(t, 2), (std::vector<std::string>{"99.00 W", "36.00 W", "12.35 W"}));
    EXPECT_EQ(Column(t, 3), (std::vector<std::string>{"0.00 W", "0.00 W", "0.00 W"}));
    EXPECT_EQ(Column(t, 5), (std::vector<std::string>{"Luminaire", "Luminaire+Control", ""}));
    // The first header reverses the order; the others do nothing.
    emit d.GetTable()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"c-3", "b-2", "a-1"}));
    emit d.GetTable()->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"c-3", "b-2", "a-1"}));
    // The filter looks at reference id, description and type name.
    const std::vector<std::pair<const char*, std::vector<std::string>>> filters = {
        {"B-", {"b-2"}}, {"batt", {"b-2"}},          {"control", {"b-2"}}, {"luminaire", {"b-2", "a-1"}},
        {"zzz", {}},     {"", {"c-3", "b-2", "a-1"}}};
    for (const auto& [text, rows] : filters) {
        d.GetFilterField()->setText(text);
        EXPECT_EQ(Column(t, 0), rows) << text;
    }
}

TEST_F(ProductDatabaseTest, EveryMessageOfTheDatabaseDialog) {
    Frame();
    struct Case {
        const char* what;
        int mode;
        std::function<void(RecordingMessageBoxes&, DialogScript&, CObjDbTableDlg&)> act;
        std::string message; // found in a box or the log
        int globalCountAfter;
    };
    // Before each case: global X1 (40 W) and FREE-1, the project uses USED-1 in a zone.
    const std::vector<Case> cases = {
        {"choose without a click", OBJDB_CHOOSE,
         [](auto&, auto&, CObjDbTableDlg& d) { d.GetAddToZoneButton()->click(); },
         "Please select an object from the list", 3},
        {"edit a project product", OBJDB_EDIT,
         [](auto&, auto&, CObjDbTableDlg& d) { DoubleClick(d, "USED-1"); },
         "Products in the project's database cannot be edited", 3},
        {"delete a used product", OBJDB_EDIT,
         [](auto&, auto&, CObjDbTableDlg& d) {
             Click(d, "USED-1");
             Key(d.GetTable(), Qt::Key_Delete);
         },
         "The current project uses this object\n(USED-1) so it cannot be deleted.", 3},
        {"delete answered No", OBJDB_EDIT,
         [](RecordingMessageBoxes& boxes, auto&, CObjDbTableDlg& d) {
             boxes.answers.push_back(IDNO);
             Click(d, "FREE-1");
             Key(d.GetTable(), Qt::Key_Backspace);
         },
         "Delete <FREE-1> from database?", 3},
        {"delete answered Yes", OBJDB_EDIT,
         [](RecordingMessageBoxes& boxes, auto&, CObjDbTableDlg& d) {
             boxes.answers.push_back(IDYES);
             Click(d, "FREE-1");
             Key(d.GetTable(), Qt::Key_Delete);
         },
         "Delete <FREE-1> from database?", 2},
        {"two files dropped", OBJDB_EDIT,
         [](auto&, auto&, CObjDbTableDlg& d) {
             d.DropFiles({"/a.ldt", "/b.ldt"});
         },
         "You can only drag one LDT or IES file at a time.", 3},
        {"unreadable name", OBJDB_EDIT, [](auto&, auto&, CObjDbTableDlg& d) { d.DropFiles({""}); },
         "Files of this type cannot be dropped into here", 3},
        {"DXF dropped", OBJDB_EDIT, [](auto&, auto&, CObjDbTableDlg& d) { d.DropFiles({"/x/plan.dxf"}); },
         "DXF files must be dragged into the main window\nafter this dialog has been closed.", 3},
        {"other file dropped", OBJDB_EDIT,
         [](auto&, auto&, CObjDbTableDlg& d) { d.DropFiles({"/x/notes.txt"}); },
         "Files of this type cannot be added into\nthe luminaire database dialog.", 3},
        {"import from a folder that is gone", OBJDB_EDIT,
         [](auto&, DialogScript& script, CObjDbTableDlg& d) {
             script.File("/no/such/folder/lamp.ldt");
             d.GetAddFileButton()->click();
         },
         "SPPLD: Dir does not exist:\n/no/such/folder", 3},
    };
    Global().AddLumData(Product("USED-1", 20));
    ProjectWithZoneUsing("USED-1");
    ASSERT_TRUE(Project().GetProducts().HasRefId("USED-1"));
    for (const Case& c : cases) {
        CLumSysDataBase::ResetGlobal();
        Global().AddLumData(Product("X1", 40));
        Global().AddLumData(Product("FREE-1", 10));
        Global().AddLumData(Product("USED-1", 20));
        boxes.boxes.clear();
        log.Clear();
        CObjDbTableDlg d(c.mode, &Project());
        c.act(boxes, script, d);
        EXPECT_NE(Said().find(c.message), std::string::npos) << c.what << "\n" << Said();
        EXPECT_EQ(Global().GetCount(), c.globalCountAfter) << c.what;
        EXPECT_EQ(d.IsChanged(), c.globalCountAfter != 3) << c.what;
    }
    // Choosing mode: the keys do nothing, a click and the button or a double-click choose.
    CObjDbTableDlg choose(OBJDB_CHOOSE, &Project());
    boxes.boxes.clear();
    Click(choose, "FREE-1");
    Key(choose.GetTable(), Qt::Key_Delete);
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
    EXPECT_EQ(Global().GetCount(), 3);
    choose.setResult(QDialog::Rejected);
    choose.GetAddToZoneButton()->click();
    EXPECT_EQ(choose.result(), QDialog::Accepted);
    EXPECT_EQ(choose.GetChosenRefId(), "FREE-1");
    CObjDbTableDlg twice(OBJDB_CHOOSE, &Project());
    DoubleClick(twice, "X1");
    EXPECT_EQ(twice.result(), QDialog::Accepted);
    EXPECT_EQ(twice.GetChosenRefId(), "X1");
}

TEST_F(ProductDatabaseTest, DeletingIsRefusedOnlyForProductsAZoneUses) {
    Frame();
    Global().AddLumData(Product("USED-1", 20));
    ProjectWithZoneUsing("USED-1");
    Global().AddLumData(Product("WIN-1", 30));
    // WIN-1 is in the project's own database (as a window's list would put it) but in no zone.
    Project().GetProducts().AddLumData(Product("WIN-1", 30));
    CObjDbTableDlg d(OBJDB_EDIT, &Project());
    Click(d, "USED-1");
    Key(d.GetTable(), Qt::Key_Delete);
    EXPECT_TRUE(Global().HasRefId("USED-1"));
    boxes.answers.push_back(IDYES);
    Click(d, "WIN-1");
    Key(d.GetTable(), Qt::Key_Delete);
    EXPECT_FALSE(Global().HasRefId("WIN-1"));
    EXPECT_TRUE(Project().GetProducts().HasRefId("WIN-1"));
    // A key after the table was filled again acts on no row the user did not click.
    boxes.boxes.clear();
    Key(d.GetTable(), Qt::Key_Delete);
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
}

TEST_F(ProductDatabaseTest, EveryCheckOfTheEditDialogInOrder) {
    Frame();
    struct Case {
        const char* what;
        int mode;
        std::function<void(CObjDataDlg&)> fill;
        std::string message; // "" when accepted without a message
        bool accepted;
        int answer = IDNO; // to the zero-power question
    };
    const std::vector<Case> cases = {
        {"empty id", OBJDATA_NEW, [](CObjDataDlg& d) { d.GetRefIdField()->setText("   "); },
         "Please enter a reference id", false},
        {"existing id, other case", OBJDATA_NEW, [](CObjDataDlg& d) { d.GetRefIdField()->setText("x1"); },
         "This object (x1) already exists in the database", false},
        {"no type selected", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetTypeList()->setCurrentIndex(-1);
             d.GetPowerField()->setText("10");
         },
         "Could not get type flags from combo", true},
        {"type not in the table", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetTypeList()->setItemText(d.GetTypeList()->currentIndex(), "Lamp");
             d.GetPowerField()->setText("10");
         },
         "Could not recognise type flags for <Lamp> in combo", true},
        {"no control system", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetConSysList()->setCurrentIndex(-1);
             d.GetPowerField()->setText("10");
         },
         "Could not get product control system from combo", true},
        {"control system not in the table", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetConSysList()->setItemText(d.GetConSysList()->currentIndex(), "Timer");
             d.GetPowerField()->setText("10");
         },
         "Could not recognise product control system Timer in combo", true},
        {"negative power", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetPowerField()->setText("-5 W");
         },
         "Please enter a non negative power", false},
        {"text power refused", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetPowerField()->setText("abc");
         },
         "Luminaire Circuit Power (Pi): \"abc\" is not a number; enter watts from 0 to 1000000", false},
        {"zero power asks, Yes", OBJDATA_NEW, [](CObjDataDlg& d) { d.GetRefIdField()->setText("N1"); },
         "Power is 0.0 W.\nThis is valid for a purely emergency luminaire\nContinue?", true, IDYES},
        {"negative charging power", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetPowerField()->setText("10");
             d.GetChargeField()->setText("-1");
         },
         "Please enter a valid charging power", false},
        {"negative standby power", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetPowerField()->setText("10");
             d.GetStandbyField()->setText("-0.5 W");
         },
         "Please enter a valid standby power", false},
        {"a power no database could read back", OBJDATA_NEW,
         [](CObjDataDlg& d) {
             d.GetRefIdField()->setText("N1");
             d.GetPowerField()->setText("2000000");
         },
         "Please enter a power of at most 1000000 W", false},
        {"edit keeps the existing id", OBJDATA_EDIT, [](CObjDataDlg& d) { d.GetPowerField()->setText("41"); },
         "", true},
    };
    Global().AddLumData(Product("X1", 40));
    for (const Case& c : cases) {
        boxes.boxes.clear();
        boxes.answers = {c.answer};
        log.Clear();
        CObjDataDlg d(c.mode == OBJDATA_EDIT ? Product("X1", 40) : CLumTypeData(), c.mode);
        c.fill(d);
        d.setResult(QDialog::Rejected);
        d.accept();
        EXPECT_EQ(d.result() == QDialog::Accepted, c.accepted) << c.what << "\n" << Said();
        if (c.message.empty())
            EXPECT_TRUE(boxes.boxes.empty()) << c.what << BoxTexts();
        else
            EXPECT_NE(Said().find(c.message), std::string::npos) << c.what << "\n" << Said();
    }
}

TEST_F(ProductDatabaseTest, EditDialogOpensWithTheProductAndItsTypeRules) {
    Frame();
    CLumTypeData odd = Product("X1", 62, 9, "Odd");
    odd.SetProdConSys(5);
    odd.SetStandbyPow(0.5);
    CObjDataDlg d(odd, OBJDATA_EDIT);
    EXPECT_TRUE(d.GetRefIdField()->isReadOnly());
    EXPECT_EQ(d.GetPowerField()->text().toStdString(), "62.00 W");
    EXPECT_EQ(d.GetStandbyField()->text().toStdString(), "0.50 W");
    EXPECT_EQ(d.GetTypeList()->currentIndex(), 0);
    EXPECT_EQ(d.GetConSysList()->currentIndex(), 0);
    EXPECT_EQ(log.Count("Unrecognised default type flags: 9", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("Unrecognised default cons sys enum flags: 5", LOG_ERROR), 1);
    // The type decides which fields apply.
    const std::vector<std::tuple<const char*, bool, bool>> types = {
        {"Luminaire", false, false},
        {"Control", true, false},
        {"Emergency", false, true},
        {"Luminaire+Emergency", false, true},
        {"Luminaire+Control", true, false},
        {"Control+Emergency", true, true},
        {"Luminaire+Control+Emergency", true, true}};
    ASSERT_EQ(d.GetTypeList()->count(), 7);
    for (int i = 0; i < 7; ++i) {
        const auto& [name, control, charge] = types[i];
        EXPECT_EQ(d.GetTypeList()->itemText(i).toStdString(), name);
        d.GetTypeList()->setCurrentIndex(i);
        EXPECT_EQ(d.GetConSysList()->isEnabled(), control) << name;
        EXPECT_EQ(d.GetChargeField()->isEnabled(), charge) << name;
    }
    // A new id with blanks round it is stored without them.
    CObjDataDlg fresh(CLumTypeData(), OBJDATA_NEW);
    EXPECT_FALSE(fresh.GetRefIdField()->isReadOnly());
    fresh.GetRefIdField()->setText("  X9  ");
    fresh.GetPowerField()->setText("18.5 W");
    fresh.GetTypeList()->setCurrentIndex(6);
    fresh.GetConSysList()->setCurrentIndex(2);
    fresh.GetChargeField()->setText("1.25");
    fresh.accept();
    EXPECT_EQ(fresh.GetProduct().GetRefId(), "X9");
    EXPECT_EQ(fresh.GetProduct().GetMaxPow(), 18.5);
    EXPECT_EQ(fresh.GetProduct().GetTypeFlags(), 7);
    EXPECT_EQ(fresh.GetProduct().GetProdConSys(), 2);
    EXPECT_EQ(fresh.GetProduct().GetChargePow(), 1.25);
}

TEST_F(ProductDatabaseTest, EditsSurviveACrashAfterTheDialogAndARestart) {
    CMainFrame& f = Frame();
    ASSERT_TRUE(f.FindCommand(ID_EDIT_PRODUCT_DB)->isEnabled());
    Global().AddLumData(Product("OLD-1", 20));
    // Add N-1 and change OLD-1, then close the dialog.
    script.Next<CObjDbTableDlg>([](CObjDbTableDlg& d) {
        d.GetAddNewButton()->click();
        DoubleClick(d, "OLD-1");
        d.reject();
    });
    script.Next<CObjDataDlg>([](CObjDataDlg& d) {
        d.GetRefIdField()->setText("N-1");
        d.GetPowerField()->setText("58.5");
        d.accept();
    });
    script.Next<CObjDataDlg>([](CObjDataDlg& d) {
        d.GetPowerField()->setText("22.25 W");
        d.accept();
    });
    ASSERT_TRUE(f.RunCommand(ID_EDIT_PRODUCT_DB));
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(script.shown, (std::vector<std::string>{"Product Database", "New Product", "Edit Product"}));
    // A crash now: what a new process would read is already in the file.
    EXPECT_FALSE(Global().IsChanged());
    CLumSysDataBase afterCrash;
    ASSERT_TRUE(afterCrash.ReadFromFile(DatabaseFile().string()));
    ASSERT_EQ(afterCrash.GetCount(), 2);
    EXPECT_EQ(afterCrash.GetLumDataFromRefId("N-1").GetMaxPow(), 58.5);
    EXPECT_EQ(afterCrash.GetLumDataFromRefId("OLD-1").GetMaxPow(), 22.25);
    EXPECT_NE(ReadFileText(DatabaseFile()).find("<MaxPow>22.2500000</MaxPow>"), std::string::npos);
    // A proper exit and a new start.
    frame.reset();
    App().ExitInstance();
    CLumSysDataBase::ResetGlobal();
    Frame();
    EXPECT_EQ(Global().GetCount(), 2);
    EXPECT_EQ(Global().GetLumDataFromRefId("OLD-1").GetMaxPow(), 22.25);
}

TEST_F(ProductDatabaseTest, AStartWithoutADatabaseLogsItShowsNoBoxAndCreatesIt) {
    fs::remove(DatabaseFile());
    ASSERT_FALSE(fs::exists(DatabaseFile()));
    const std::string message = "does not exist\nA new empty luminaire database will be created.";
    Frame();
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
    EXPECT_EQ(log.Count(message, LOG_INFO), 1);
    EXPECT_EQ(log.Count("Created the luminaire database with 5 generic products:", LOG_INFO), 1);
    EXPECT_TRUE(fs::exists(DatabaseFile()));
    CLumSysDataBase created;
    EXPECT_TRUE(created.ReadFromFile(DatabaseFile().string()));
    // The generic products a new database starts with.
    EXPECT_EQ(created.GetCount(), 5);

    // The second start finds the file.
    frame.reset();
    App().ExitInstance();
    CLumSysDataBase::ResetGlobal();
    boxes.boxes.clear();
    Frame();
    EXPECT_EQ(BoxTexts().find(message), std::string::npos) << BoxTexts();
}

TEST_F(ProductDatabaseTest, AnUnreadableDatabaseIsNotReplacedAtStart) {
    fs::create_directories(DatabaseFile().parent_path());
    WriteFileText(DatabaseFile(), "<LENI_V1_LUM_DB><LumTypeData refid=\"A\">");
    Frame();
    EXPECT_EQ(ReadFileText(DatabaseFile()), "<LENI_V1_LUM_DB><LumTypeData refid=\"A\">");
}

TEST_F(ProductDatabaseTest, ImportsByButtonAndDropAndRemembersTheFolder) {
    Frame();
    const fs::path folder = dir / "photometry";
    fs::create_directories(folder);
    const fs::path ies = folder / "lamp.Ies";
    WriteFileText(ies,
                  "IESNA:LM-63-2002\n[LUMCAT] ABC-1\n[LUMINAIRE] Round\nTILT=NONE\n1 1000 1 3 1 1 2 0 0 0\n"
                  "1.0 1.0 36.5\n0 90 180\n0\n80 80 80\n");
    Preferences().m_csLdtIesDir = "";
    CObjDbTableDlg d(OBJDB_EDIT, &Project());
    script.File(ies.string());
    d.GetAddFileButton()->click();
    ASSERT_EQ(script.fileTitles, (std::vector<std::string>{"Open Photometric file"}));
    EXPECT_EQ(Global().GetLumDataFromRefId("ABC-1").GetMaxPow(), 36.5);
    EXPECT_EQ(Column(d.GetTable(), 0), (std::vector<std::string>{"ABC-1"}));
    EXPECT_EQ(Preferences().m_csLdtIesDir, folder.string());
    EXPECT_TRUE(d.IsChanged());
    // The same file again, now dropped: refused, one product stays.
    d.DropFiles({QString::fromStdString(ies.string())});
    EXPECT_TRUE(boxes.Contains("This luminaire (ABC-1) is already present in the database."));
    EXPECT_EQ(Global().GetCount(), 1);
    // The next file dialog starts in that folder.
    d.GetAddFileButton()->click();
    EXPECT_EQ(script.fileStarts.back(), folder.string());
    // The edit dialog of the imported product shows what the file said.
    script.Next<CObjDataDlg>([](CObjDataDlg& e) {
        ASSERT_NE(e.GetPreview(), nullptr);
        EXPECT_NE(e.GetPreview()->findChild<CPolarDiagramWidget*>(), nullptr);
        e.reject();
    });
    DoubleClick(d, "ABC-1");
    EXPECT_TRUE(script.AllUsed());
}

TEST_F(ProductDatabaseTest, RealFilesImportWithTheBatchWattage) {
    const std::vector<fs::path> files = RealPhotometricFiles();
    if (files.empty()) GTEST_SKIP() << "no real photometric files";
    Frame();
    for (const fs::path& file : files) {
        CLumSysDataBase::ResetGlobal();
        Global().SetFilePath((dir / "db.xml").string());
        CLumTypeData batch;
        const bool batchOk = batch.ImportFromPhotometricFile(file.string());
        // Line 32 read by hand: the wattage a file with an empty line 10 should bring.
        std::ifstream in(file);
        std::string line, line10, line32;
        for (int n = 1; n <= 32 && std::getline(in, line); ++n) {
            if (n == 10) line10 = TrimWhiteSpace(line);
            if (n == 32) line32 = TrimWhiteSpace(line);
        }
        const bool ldt = EqualsNoCase(file.extension().string(), ".ldt");
        const bool noNumber = ldt && line10.empty();
        bool edited = false;
        if (noNumber)
            script.Next<CObjDataDlg>([&](CObjDataDlg& e) {
                edited = true;
                EXPECT_EQ(e.GetRefIdField()->text().toStdString(), file.stem().string());
                EXPECT_NE(e.GetPreview(), nullptr);
                e.accept();
            });
        boxes.answers = {IDYES};
        CObjDbTableDlg d(OBJDB_EDIT, nullptr);
        d.DropFiles({QString::fromStdString(file.string())});
        EXPECT_TRUE(script.AllUsed()) << file;
        EXPECT_EQ(edited, noNumber) << file;
        if (noNumber) {
            EXPECT_FALSE(batchOk) << file;
            ASSERT_EQ(Global().GetCount(), 1) << file;
            EXPECT_DOUBLE_EQ(Global().GetLumDataAtIndex(0).GetMaxPow(), ParseDouble(line32)) << file;
            EXPECT_TRUE(log.Contains("Line 10 (ref id) of the LDT is empty:\n" + file.string())) << file;
        } else if (batchOk && !batch.GetRefId().empty()) {
            ASSERT_EQ(Global().GetCount(), 1) << file;
            EXPECT_EQ(Global().GetLumDataAtIndex(0), batch) << file;
        } else {
            EXPECT_EQ(Global().GetCount(), 0) << file;
        }
    }
}

TEST_F(ProductDatabaseTest, ChooseProductHookReturnsTheChosenId) {
    Frame();
    Global().AddLumData(Product("X1", 40));
    Global().AddLumData(Product("Y2", 20));
    script.Next<CObjDbTableDlg>([](CObjDbTableDlg& d) {
        EXPECT_FALSE(d.GetAddNewButton()->isVisibleTo(&d));
        DoubleClick(d, "Y2");
    });
    std::string chosen;
    EXPECT_TRUE(ChooseProduct(nullptr, Frame().GetDocument(), chosen));
    EXPECT_EQ(chosen, "Y2");
    script.Cancel();
    chosen.clear();
    EXPECT_FALSE(ChooseProduct(nullptr, Frame().GetDocument(), chosen));
    EXPECT_EQ(chosen, "");
}

TEST_F(ProductDatabaseTest, ScreenshotsOfBothDialogsAndThePolarDiagram) {
    Frame();
    const char* const kinds[] = {"Downlight",   "Batten",    "Panel",
                                 "Wall washer", "Exit sign", "Occupancy sensor"};
    for (int i = 0; i < 60; ++i) {
        CLumTypeData p =
            Product(StrPrintf("ORV-%03d", (i * 37) % 100), 8.5 + 3.25 * i, kLumTypeNames[i % 7].typeFlags,
                    StrPrintf("%s %d lm", kinds[i % 6], 800 + 150 * i));
        p.SetStandbyPow(i % 7 == 1 || i % 7 == 4 ? 0.4 : 0.0);
        p.SetChargePow(i % 7 == 2 || i % 7 == 3 ? 1.2 : 0.0);
        if (!Global().HasRefId(p.GetRefId())) Global().AddLumData(p);
    }
    ASSERT_GE(Global().GetCount(), 50);
    auto shoot = [](QDialog& dialog, const std::string& name) {
        dialog.show();
        QApplication::processEvents();
        SaveScreenshot(dialog, name);
        dialog.hide();
    };
    CObjDbTableDlg editing(OBJDB_EDIT, &Project());
    emit editing.GetTable()->cellClicked(3, 0);
    editing.GetTable()->selectRow(3);
    shoot(editing, "product-database-edit");
    CObjDbTableDlg choosing(OBJDB_CHOOSE, &Project());
    choosing.GetFilterField()->setText("downlight");
    shoot(choosing, "product-database-choose");

    // A real file with an empty line 10, as its import opens the edit dialog.
    const fs::path real = RealPhotometricFolder() / "holg__eulumdat-rs" / "fluorescent_luminaire.ldt";
    if (!fs::exists(real)) GTEST_SKIP() << "no real photometric file for the preview";
    CLumTypeData read;
    ASSERT_TRUE(read.ReadLdtLines(real.string()));
    read.SetRefId(real.stem().string());
    CPhotometry photometry;
    ASSERT_TRUE(photometry.ReadFile(real.string()));
    CObjDataDlg preview(read, OBJDATA_NEW, &photometry);
    shoot(preview, "product-edit-preview");
    // And a wall washer, whose two planes differ.
    const fs::path washer = RealPhotometricFolder() / "ksmet1977__luxpy" /
                            "Testlamp_Isym2_theta180+_erco_33499000_1xqt32_230w.ldt";
    CPhotometry washerPhotometry;
    CLumTypeData washerProduct;
    if (washerPhotometry.ReadFile(washer.string()) &&
        washerProduct.ImportFromPhotometricFile(washer.string())) {
        CObjDataDlg washerPreview(washerProduct, OBJDATA_EDIT, &washerPhotometry);
        shoot(washerPreview, "product-edit-preview-washer");
    }
    CObjDataDlg plain(Global().GetLumDataAtIndex(0), OBJDATA_EDIT);
    shoot(plain, "product-edit");
}

} // namespace

namespace {

// A luminaire container of one product whose variant's power comes from its EULUMDAT file.
void WriteContainer(const fs::path& path) {
    std::string ldt = "Maker\n1\n1\n4\n90\n3\n45\n\nPanel\nX\n\n\n\n600\n600\n50\n600\n600\n0\n0\n0\n0\n100\n1\n0\n1\n1"
                      "\nLED\n3000\n4000\n90\n36\n";
    for (int i = 0; i < 10; ++i) ldt += "0.5\n";
    ldt += "0\n90\n180\n270\n0\n45\n90\n";
    for (int c = 0; c < 4; ++c) ldt += c % 2 ? "300\n200\n20\n" : "300\n150\n10\n";
    const std::string xml =
        "<Root><Header/><GeneralDefinitions><Files><File id='f' contentType='ldc/eulumdat' "
        "type='localFileName'>a.ldt</File></Files><Photometries><Photometry id='p'><PhotometryFileReference "
        "fileId='f'/></Photometry></Photometries><Emitters><Emitter id='e'><FixedLightEmitter><PhotometryReference "
        "photometryId='p'/></FixedLightEmitter></Emitter></Emitters></GeneralDefinitions><ProductDefinitions>"
        "<ProductMetaData><ProductNumber>GL-1</ProductNumber><Name><Locale language='en'>Ceiling panel</Locale>"
        "</Name></ProductMetaData><Variants><Variant id='v'><Geometry><EmitterReference emitterId='e'/></Geometry>"
        "</Variant></Variants></ProductDefinitions></Root>";
    int error = 0;
    zip_t* archive = zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    zip_file_add(archive, "product.xml", zip_source_buffer(archive, xml.data(), xml.size(), 0), 0);
    zip_file_add(archive, "ldc/a.ldt", zip_source_buffer(archive, ldt.data(), ldt.size(), 0), 0);
    ASSERT_EQ(zip_close(archive), 0);
}

} // namespace

TEST_F(ProductDatabaseTest, ThePickerImportsContainersAndFoldersWithOneSummaryAndKeepsThePreview) {
    Frame();
    fs::create_directories(dir / "lamps");
    WriteContainer(dir / "lamps" / "panel.gldf");
    WriteFileText(dir / "lamps" / "broken.ies", "IESNA:LM-63-2002\n[LUMCAT] B\n");
    const fs::path shots = fs::path(ORVANTIS_SOURCE_DIR) / "build" / "screenshots";
    fs::create_directories(shots);
    {
        CObjDbTableDlg picker(OBJDB_CHOOSE, nullptr);
        EXPECT_TRUE(picker.GetImportFilesButton()->isVisibleTo(&picker));
        EXPECT_TRUE(picker.GetImportFolderButton()->isVisibleTo(&picker));
        EXPECT_FALSE(picker.GetAddGenericButton()->isVisibleTo(&picker));
        SetFileDialogHook([&](int, const QString&, const QString&) {
            return QString::fromStdString((dir / "lamps").string());
        });
        picker.GetImportFolderButton()->click();
        SetFileDialogHook(nullptr);
        // One box for the whole folder.
        ASSERT_EQ(boxes.boxes.size(), 1u) << BoxTexts();
        EXPECT_EQ(boxes.boxes[0].text.substr(0, boxes.boxes[0].text.find('\n')),
                  "1 imported, 0 skipped as already present, 1 refused");
        EXPECT_NE(boxes.boxes[0].text.find("broken.ies: no intensity table"), std::string::npos);
        const CLumTypeData product = Global().GetLumDataFromRefId("GL-1");
        EXPECT_EQ(product.GetDesc(), "Ceiling panel");
        EXPECT_EQ(product.GetMaxPow(), 36.0);
        picker.show();
        EXPECT_TRUE(picker.grab().save(QString::fromStdString((shots / "picker_gldf_import.png").string())));
    }
    // The product's edit dialog shows the container's photometry.
    CObjDbTableDlg database(OBJDB_EDIT, nullptr);
    bool previewed = false;
    SetDialogHook([&](QDialog& dialog) {
        previewed = dialog.findChild<CPolarDiagramWidget*>() != nullptr;
        dialog.show();
        dialog.grab().save(QString::fromStdString((shots / "gldf_product_preview.png").string()));
    });
    DoubleClick(database, "GL-1");
    SetDialogHook(nullptr);
    EXPECT_TRUE(previewed);
}
