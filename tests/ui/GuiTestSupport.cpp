#include "ui/GuiTestSupport.h"

#include "app/LENIBApp.h"
#include "app/LENIBDoc.h"
#include "app/Preferences.h"
#include "calc/CalcLog.h"
#include "products/LumSysDataBase.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/shell/DesktopMain.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <clocale>
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

} // namespace

DialogScript::DialogScript() {
    SetDialogHook([this](QDialog& dialog) {
        shown.push_back(dialog.windowTitle().toStdString());
        if (m_handlers.empty()) return;
        auto handler = m_handlers.front();
        m_handlers.pop_front();
        handler(dialog);
    });
    SetFileDialogHook([this](int, const QString& title, const QString& start) {
        fileTitles.push_back(title.toStdString());
        fileStarts.push_back(start.toStdString());
        if (m_files.empty()) return QString();
        QString answer = m_files.front();
        m_files.pop_front();
        return answer;
    });
}

DialogScript::~DialogScript() {
    SetDialogHook(nullptr);
    SetFileDialogHook(nullptr);
}

void GuiTest::SetUp() {
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (dir / "Documents").c_str(), 1);
    fs::create_directories(dir / "Documents");
    fs::create_directories(ProjectsDir());
    App().Reset();
    Preferences() = CPreferences();
    CLumSysDataBase::ResetGlobal();
    // Dialogs show and read numbers in the user's locale; the expected texts of the tests are
    // written with a decimal point, whatever the machine's language (ORVANTIS_TEST_LOCALE, such as
    // it_IT, shows the dialogs of another one in the screenshots).
    const char* locale = std::getenv("ORVANTIS_TEST_LOCALE");
    QLocale::setDefault(QLocale(QString::fromLatin1(locale && *locale ? locale : "en_US")));
}

void GuiTest::TearDown() {
    frame.reset();
    if (IsCalcLoggerOpen()) StopCalcLogger();
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_DOCUMENTS_DIR");
    App().Reset();
    CLumSysDataBase::ResetGlobal();
    std::setlocale(LC_NUMERIC, "C");
}

CMainFrame& GuiTest::Frame() {
    if (!frame) {
        // Started as the built program is, so it finds the manual copied beside it.
        frame = StartDesktop(fs::path(ORVANTIS_EXE).parent_path().string());
        App().SetProjectsDir(ProjectsDir().string());
    }
    return *frame;
}

void GuiTest::NewProject(const std::string& name) {
    script.Next<CNewProjDlg>([name](CNewProjDlg& d) {
        d.GetNameField()->setText(QString::fromStdString(name));
        d.GetBuildingTypeList()->setCurrentIndex(0);
        d.GetTownField()->setText("Milano");
        d.GetYearBuiltField()->setText("2010");
        d.accept();
    });
    Frame().RunCommand(ID_NEW_PROJECT);
}

void GuiTest::AddSimpleFloor(const std::string& name, double x, double y, double z, bool zone) {
    script.Next<CSimpleFloorDlg>([=](CSimpleFloorDlg& d) {
        d.GetNameField()->setText(QString::fromStdString(name));
        d.GetXField()->setText(QString::number(x));
        d.GetYField()->setText(QString::number(y));
        d.GetZField()->setText(QString::number(z));
        d.accept();
    });
    // The new room and its zone are shown as proposed and taken with OK.
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) { d.accept(); });
    boxes.answers.push_back(zone ? IDYES : IDNO);
    if (zone) script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    Frame().RunCommand(ID_ADD_SIMPLE_FLOOR);
}

std::string GuiTest::BoxTexts() const {
    std::string all;
    for (const auto& box : boxes.boxes)
        all += "[" + box.text + "]\n";
    return all;
}

void SaveScreenshot(QWidget& widget, const std::string& name) {
    const fs::path folder = fs::path(ORVANTIS_EXE).parent_path() / "screenshots";
    fs::create_directories(folder);
    const fs::path png = folder / (name + ".png");
    EXPECT_TRUE(widget.grab().save(QString::fromStdString(png.string()), "PNG")) << png;
}
