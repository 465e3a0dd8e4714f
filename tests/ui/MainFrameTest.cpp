#include "ui/shell/MainFrame.h"
#include "app/LENIBApp.h"
#include "ui/GuiTestSupport.h"
#include "ui/shell/DesktopMain.h"
#include "ui/shell/LENIBView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A comma-decimal locale made for the test (the machine may have none installed), or false.
bool UseCommaDecimalLocale(const TempDir& dir) {
    std::string command =
        "localedef -i it_IT -f UTF-8 '" + (dir / "it_IT.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !fs::exists(dir / "it_IT.UTF-8")) return false;
    setenv("LOCPATH", dir.path().c_str(), 1);
    bool ok = std::setlocale(LC_NUMERIC, "it_IT.UTF-8") != nullptr;
    unsetenv("LOCPATH");
    return ok;
}

std::string Formatted(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", value);
    return buf;
}

using MainFrameTest = GuiTest;

TEST_F(MainFrameTest, DesktopStartShowsTheMainWindowWithItsMenusToolbarAndStatusBar) {
    CMainFrame& f = Frame();
    QApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowTitle().toStdString(), "Untitled[*] - ORVANTIS");
    EXPECT_FALSE(f.isWindowModified());
    ASSERT_EQ(f.GetTabCtrl()->count(), 1);
    EXPECT_EQ(f.GetTabCtrl()->tabText(0).toStdString(), "NO DXF FLOOR LOADED");
    EXPECT_EQ(f.GetPromptText(), "Ready");
    EXPECT_TRUE(fs::exists(dir / "data" / "ORVANTIS NUVA" / "LENI_V1_LOG.TXT"));

    std::vector<std::string> popups;
    for (QAction* action : f.menuBar()->actions())
        popups.push_back(action->text().toStdString());
    EXPECT_EQ(popups, (std::vector<std::string>{"&File", "&Edit", "Project Properties", "&View",
                                                "Calculation", "Folders", "&Help"}));
    struct Item {
        int id;
        const char* text;
    } items[] = {
        {32776, "New LENI Project..."},
        {32910, "Save With Calculation..."},
        {32897, "Create NUVA DB file..."},
        {57607, "Print..."},
        {32865, "(no file)"},
        {32870, "(no file)"},
        {57665, "E&xit"},
        {32816, "Add Simple Floor..."},
        {32900, "Add atrium to floor"},
        {32856, "Print Floor LENI..."},
        {32817, "Object Snap On-Off\tF3"},
        {32907, "DXF background On/Off"},
        {32835, "Floor Calculation..."},
        {32784, "App Data (General Log e DB luminaires)"},
        {57664, "&About ORVANTIS NUVA V3..."},
    };
    for (const Item& item : items) {
        QAction* action = f.FindCommand(item.id);
        ASSERT_NE(action, nullptr) << item.id;
        EXPECT_EQ(action->text().toStdString(), item.text) << item.id;
    }
    EXPECT_EQ(f.FindCommand(57607)->shortcut().toString().toStdString(), "Ctrl+P");
    // An empty recent-file list shows no rows in the File menu.
    f.UpdateRecentFileItems();
    for (int id = 32865; id <= 32870; ++id)
        EXPECT_FALSE(f.FindCommand(id)->isVisible()) << id;
    EXPECT_EQ(f.FindCommand(32774)->statusTip().toStdString(), "Add a DXF to the project");

    // The eight places of the toolbar: three buttons, a gap, four buttons, each the menu command.
    std::vector<int> toolbar;
    for (QAction* action : f.GetToolBar()->actions())
        toolbar.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(toolbar, (std::vector<int>{32776, 32777, 32781, 0, 32774, 32780, 32793, 32787}));

    // Nothing open: only what needs no project is enabled.
    f.UpdateCommandUi();
    struct Enabled {
        int id;
        bool enabled;
    } enabling[] = {{32776, true},  {32777, true},  {32781, false}, {32910, false}, {32811, false},
                    {32810, false}, {32825, false}, {32835, false}, {32816, true},  {32897, true},
                    {32793, false}, {32907, false}, {32774, true},  {32865, false}};
    for (const Enabled& e : enabling)
        EXPECT_EQ(f.FindCommand(e.id)->isEnabled(), e.enabled) << e.id;
    SaveScreenshot(f, "main-window-empty");
}

TEST_F(MainFrameTest, StatusPaneShowsEveryTextWholeAndIsWideEnoughForIt) {
    CMainFrame& f = Frame();
    NewProject("P");
    AddSimpleFloor("F", 20, 20);
    // The floor page's own texts: grid snap on (F9), then the pointer at a coordinate past 10 m.
    ASSERT_TRUE(f.RunCommand(ID_GRID_SNAP));
    EXPECT_EQ(f.GetStatusText().rfind("[GRID SNAP ON 1.00 m F9] [object snap off F3]   DXFPOS: ", 0), 0u)
        << f.GetStatusText();
    for (const std::string& text :
         {std::string(59, 'a'), std::string(60, 'b'),
          std::string("[GRID SNAP ON 100.00 m F9] [OBJECT SNAP ON F3]   DXFPOS: -12345.67 -12345.67"),
          std::string(130, 'c')}) {
        f.SetStatusText("%s", text.c_str());
        QApplication::processEvents();
        EXPECT_EQ(f.GetStatusText(), text);
        EXPECT_GE(f.GetStatusPane()->width(),
                  f.GetStatusPane()->fontMetrics().horizontalAdvance(QString::fromStdString(text)))
            << text.size();
    }
    SaveScreenshot(f, "main-window-status");
}

TEST_F(MainFrameTest, AboutShowsTheVersionBanner) {
    CMainFrame& f = Frame();
    boxes.boxes.clear();
    f.RunCommand(57664);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, CLENIBApp::VersionBanner());
    EXPECT_EQ(boxes.boxes[0].caption, "Tolvane Software");
}

TEST_F(MainFrameTest, DesktopStartWritesNumbersWithAPointWhateverTheUserLocale) {
    TempDir locales{"locale"};
    if (!UseCommaDecimalLocale(locales)) GTEST_SKIP() << "no comma-decimal locale could be made";
    ASSERT_EQ(Formatted(3.2), "3,2");
    Frame();
    EXPECT_EQ(Formatted(3.2), "3.2");
}

TEST_F(MainFrameTest, DroppedFilesAreRefusedUnlessOneDxfWithAProjectOrOneProjectFile) {
    CMainFrame& f = Frame();
    struct Case {
        std::vector<std::string> files;
        const char* message;
    } cases[] = {
        {{"/x/a.dxf", "/x/b.dxf"}, "You can only drag one file at a time."},
        {{"/x/lamp.ldt"}, "LDT and IES files must be dragged into the\nluminaire database dialog."},
        {{"/x/lamp.IES"}, "LDT and IES files must be dragged into the\nluminaire database dialog."},
        {{"/x/plan.dxf"}, "A project must be open before you open a DXF file."},
        {{"/x/notes.txt"}, "Files of this type cannot be dropped into the program"},
    };
    for (const Case& c : cases) {
        boxes.boxes.clear();
        f.DropFiles(c.files);
        ASSERT_EQ(boxes.boxes.size(), 1u) << c.files[0];
        EXPECT_EQ(boxes.boxes[0].text.rfind(c.message, 0), 0u) << boxes.boxes[0].text;
    }
    EXPECT_EQ(f.GetTabCtrl()->count(), 1);
}

TEST_F(MainFrameTest, RecentFileItemsShowShortenedPaths) {
    const std::string forty = "/" + std::string(35, 'p') + ".LEN"; // 40 characters
    EXPECT_EQ(ShortenRecentPath(forty), forty);
    EXPECT_EQ(ShortenRecentPath("x" + forty), "..." + forty);
}

} // namespace
