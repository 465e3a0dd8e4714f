#include "ui/MainFrame.h"
#include "app/LENIBApp.h"
#include "support/TestSupport.h"
#include "ui/DesktopMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QTabWidget>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// One QApplication for the whole test program, on the offscreen platform.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

  private:
    int m_argc = 1;
    char m_name[16] = "orvantis_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
[[maybe_unused]] auto* const g_qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

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

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
        App().Reset();
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        App().Reset();
        std::setlocale(LC_NUMERIC, "C");
    }
    TempDir dir{"ui"};
    LogRecorder log;
    RecordingMessageBoxes boxes;
};

TEST_F(MainFrameTest, DesktopStartShowsTheMainWindowWithItsMenus) {
    std::unique_ptr<CMainFrame> frame = StartDesktop();
    QApplication::processEvents();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle().toStdString(), "ORVANTIS");
    EXPECT_EQ(frame->GetTabCtrl()->count(), 0);
    EXPECT_EQ(frame->statusBar()->currentMessage().toStdString(), "Ready");
    EXPECT_TRUE(fs::exists(dir / "ORVANTIS NUVA" / "LENI_V1_LOG.TXT"));

    std::vector<std::string> popups;
    for (QAction* action : frame->menuBar()->actions())
        popups.push_back(action->text().toStdString());
    EXPECT_EQ(popups, (std::vector<std::string>{"&File", "Project Properties", "&View", "Calculation",
                                                "Folders", "&Help"}));

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
        QAction* action = frame->FindCommand(item.id);
        ASSERT_NE(action, nullptr) << item.id;
        EXPECT_EQ(action->text().toStdString(), item.text) << item.id;
    }
    EXPECT_EQ(frame->FindCommand(57607)->shortcut().toString().toStdString(), "Ctrl+P");
    EXPECT_FALSE(frame->FindCommand(32865)->isEnabled());

    // A picture of the window, to look at.
    fs::path png = fs::path(ORVANTIS_EXE).parent_path() / "main-window.png";
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(png.string()), "PNG"));
    EXPECT_GT(fs::file_size(png), 0u);
}

TEST_F(MainFrameTest, AboutShowsTheVersionBanner) {
    std::unique_ptr<CMainFrame> frame = StartDesktop();
    boxes.boxes.clear();
    frame->FindCommand(57664)->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, CLENIBApp::VersionBanner());
    EXPECT_EQ(boxes.boxes[0].caption, "Tolvane Software");
}

TEST_F(MainFrameTest, DesktopStartWritesNumbersWithAPointWhateverTheUserLocale) {
    TempDir locales{"locale"};
    if (!UseCommaDecimalLocale(locales)) GTEST_SKIP() << "no comma-decimal locale could be made";
    ASSERT_EQ(Formatted(3.2), "3,2");
    std::unique_ptr<CMainFrame> frame = StartDesktop();
    EXPECT_EQ(Formatted(3.2), "3.2");
}

} // namespace
