// The first start as a user meets it: no message box on a fresh home folder, the manual opened by
// Help > Help and by F1 in every dialog at its page, and the keyboard in the first field of every
// dialog, proved by typing without a click.

#include "app/LENIBApp.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/print/DefinePrintPagesDlg.h"
#include "ui/products/ObjDbTableDlg.h"
#include "ui/results/LeniResultDlg.h"
#include "ui/results/SubLeniResultDlg.h"
#include "ui/shell/DesktopMain.h"
#include "ui/shell/HelpPages.h"
#include "ui/shell/MainFrame.h"
#include "ui/view3d/OglViewer.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Sets an environment variable while alive.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        m_hadOld = std::getenv(name) != nullptr;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_hadOld)
            setenv(m_name, m_old.c_str(), 1);
        else
            unsetenv(m_name);
    }

  private:
    const char* m_name;
    std::string m_old;
    bool m_hadOld = false;
};

// Keys sent with no widget named go to the window that has the focus, and in it to its focus
// widget, as a person's typing does.
QWidget* AtFocusWindow() {
    return nullptr;
}

fs::path SourceManual() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "docs" / "manual";
}

fs::path BuildManual() {
    return fs::path(ORVANTIS_EXE).parent_path() / "manual";
}

class HelpAndFocusTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        SetHelpHook([this](const QUrl& url) { opened.push_back(url); });
    }
    void TearDown() override {
        SetHelpHook(nullptr);
        GuiTest::TearDown();
    }
    // The file name of the last page opened, or "".
    std::string LastPage() const {
        return opened.empty() ? std::string()
                              : fs::path(opened.back().toLocalFile().toStdString()).filename().string();
    }
    std::vector<QUrl> opened;
};

TEST_F(HelpAndFocusTest, StartOnAFreshHomeFolderShowsNoMessageBoxAndFindsTheManual) {
    // Everything per-user points into the empty test folder: a first start on a new machine.
    ScopedEnv home("HOME", (dir / "home").string());
    ScopedEnv config("XDG_CONFIG_HOME", (dir / "home" / ".config").string());
    // The luminaire database's own first-start box is another matter: the database is there.
    fs::create_directories(dir / "data" / "ORVANTIS NUVA");
    fs::copy_file(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample" / "LENI_V1_LUM_DB.XML",
                  dir / "data" / "ORVANTIS NUVA" / "LENI_V1_LUM_DB.XML");
    CMainFrame& f = Frame();
    QApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(BoxTexts(), "");
    EXPECT_FALSE(log.Contains("help file not found"));
    EXPECT_EQ(App().GetHelpFilePath(), (BuildManual() / "index.html").string());

    // Help > Help (F1) opens the contents of that manual in the browser.
    QAction* help = f.FindCommand(CMainFrame::ID_HELP_CONTENTS);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->text().toStdString(), "&Help");
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(f.RunCommand(CMainFrame::ID_HELP_CONTENTS));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0],
              QUrl::fromLocalFile(QString::fromStdString((BuildManual() / "index.html").string())));
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(HelpAndFocusTest, WithoutAManualTheMissingHelpIsLoggedAndHelpSaysSo) {
    const fs::path nowhere = dir / "bin";
    fs::create_directories(nowhere);
    frame = StartDesktop(nowhere.string());
    const std::string expected = (dir / "data" / "ORVANTIS NUVA" / "LENI_NUVA_HELP.chm").string() + "\n" +
                                 (nowhere / "manual" / "index.html").string() + "\n" +
                                 (dir / "share" / "orvantis" / "manual" / "index.html").string() +
                                 "\nhelp file not found";
    EXPECT_EQ(log.Count(expected, LOG_ERROR), 1);
    EXPECT_EQ(App().GetHelpFilePath(), "");
    frame->RunCommand(CMainFrame::ID_HELP_CONTENTS);
    EXPECT_EQ(log.Count(expected, LOG_ERROR), 2);
    EXPECT_TRUE(opened.empty());
}

TEST_F(HelpAndFocusTest, AnHtmlPageTheManualLacksOpensTheContentsAndAPageKeepsItsAnchor) {
    Frame();
    ASSERT_FALSE(App().GetHelpFilePath().empty());
    EXPECT_EQ(HelpPageUrl("batch.html#exit-codes").fragment().toStdString(), "exit-codes");
    EXPECT_EQ(fs::path(HelpPageUrl("batch.html#exit-codes").toLocalFile().toStdString()).filename(),
              "batch.html");
    EXPECT_EQ(fs::path(HelpPageUrl("no-such-page.html").toLocalFile().toStdString()).filename(),
              "index.html");
    EXPECT_EQ(fs::path(HelpPageUrl("").toLocalFile().toStdString()).filename(), "index.html");
}

// One row per dialog: what typing without a click must reach, and the manual page F1 opens.
struct DialogRow {
    const char* page;
    std::function<std::unique_ptr<CCheckedDialog>(const CLENIProject&)> make;
    const char* typed;
    // The field the typed text must land in (replacing its proposal); nullptr: the dialog has no
    // field and OK holds the keyboard.
    std::function<QLineEdit*(CCheckedDialog&)> field;
    // After Return: the value the dialog read back, or "" when Return must not close it.
    std::function<std::string(CCheckedDialog&)> accepted;
    const char* value;
};

template <class D> D& As(CCheckedDialog& d) {
    return dynamic_cast<D&>(d);
}

TEST_F(HelpAndFocusTest, EveryDialogTakesTypingInItsFirstFieldAndOpensItsOwnPageOnF1) {
    Frame();
    boxes.boxes.clear();
    const std::string projects = ProjectsDir().string();
    const std::string dxf = (fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample" / "Ground.DXF").string();
    CLENIProject project;
    project.SetName("P");
    project.SetLocation("Milano");
    project.SetYearBuilt(2010);
    ASSERT_TRUE(project.SetDominantBuildingType("Offices"));
    const DialogRow rows[] = {
        {"project.html",
         [&](const CLENIProject&) {
             static CLENIProject settings;
             settings = CLENIProject();
             return std::make_unique<CNewProjDlg>(settings, PROJECT_DIALOG_NEW, projects);
         },
         "Typed", [](CCheckedDialog& d) { return As<CNewProjDlg>(d).GetNameField(); }, nullptr, ""},
        {"project.html",
         [&](const CLENIProject& p) {
             static CLENIProject settings;
             settings = p;
             return std::make_unique<CNewProjDlg>(settings, PROJECT_DIALOG_PROPERTIES, projects);
         },
         // The name cannot change here: the first field that can is the description.
         "An office", [](CCheckedDialog& d) { return As<CNewProjDlg>(d).GetDescriptionField(); }, nullptr,
         ""},
        {"dxf-size.html", [&](const CLENIProject&) { return std::make_unique<CDxfSizeDlg>(dxf); }, "",
         nullptr, [](CCheckedDialog& d) { return std::to_string(As<CDxfSizeDlg>(d).GetWidth() > 0); }, "1"},
        {"floor-properties.html", [](const CLENIProject&) { return std::make_unique<CFloorDlg>(3.0); }, "4.5",
         [](CCheckedDialog& d) { return As<CFloorDlg>(d).GetHeightField(); },
         [](CCheckedDialog& d) { return FormatDouble("%.2f", As<CFloorDlg>(d).GetHeight()); }, "4.50"},
        {"floor-instances.html", [](const CLENIProject&) { return std::make_unique<CMultiFloorDlg>(1); },
         "12", [](CCheckedDialog& d) { return As<CMultiFloorDlg>(d).GetInstancesField(); },
         [](CCheckedDialog& d) { return std::to_string(As<CMultiFloorDlg>(d).GetInstances()); }, "12"},
        {"simple-floor.html", [](const CLENIProject& p) { return std::make_unique<CSimpleFloorDlg>(p); },
         "Ground", [](CCheckedDialog& d) { return As<CSimpleFloorDlg>(d).GetNameField(); },
         [](CCheckedDialog& d) { return As<CSimpleFloorDlg>(d).GetName(); }, "Ground"},
        {"save-as-new-name.html", [](const CLENIProject&) { return std::make_unique<CNameDlg>("New Name"); },
         "Office B", [](CCheckedDialog& d) { return As<CNameDlg>(d).GetNameField(); },
         [](CCheckedDialog& d) { return As<CNameDlg>(d).GetName(); }, "Office B"},
        {"grid-snap.html", [](const CLENIProject&) { return std::make_unique<CDxfViewSettings>(1.0); },
         "0.25", [](CCheckedDialog& d) { return As<CDxfViewSettings>(d).GetGridSizeField(); },
         [](CCheckedDialog& d) { return FormatDouble("%.2f", As<CDxfViewSettings>(d).GetGridSize()); },
         "0.25"},
    };
    for (const DialogRow& row : rows) {
        SCOPED_TRACE(row.page);
        std::unique_ptr<CCheckedDialog> dialog = row.make(project);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QWidget* expectedFocus =
            row.field ? static_cast<QWidget*>(row.field(*dialog)) : dialog->GetOkButton();
        EXPECT_EQ(QApplication::focusWidget(), expectedFocus);
        // Typed at the window, as a person would, with no click first.
        QTest::keyClicks(AtFocusWindow(), QString::fromUtf8(row.typed));
        if (row.field) {
            EXPECT_EQ(row.field(*dialog)->text().toStdString(), row.typed);
        }

        opened.clear();
        QTest::keyClick(AtFocusWindow(), Qt::Key_F1);
        EXPECT_EQ(dialog->GetHelpPage(), row.page);
        EXPECT_EQ(LastPage(), row.page);
        EXPECT_TRUE(fs::exists(SourceManual() / row.page));

        if (row.accepted) {
            QTest::keyClick(AtFocusWindow(), Qt::Key_Return);
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_EQ(row.accepted(*dialog), row.value);
        }
        dialog->hide();
    }
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(HelpAndFocusTest, ResultsProductDatabaseViewerAndPrintPagesOpenTheirOwnPageOnF1AndHelp) {
    Frame();
    CLENIProject project;
    project.SetName("P");
    project.SetProjectFolder(dir.path().string());
    CLENIRoom room;
    room.InitFromPolygon("Office", {{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 3.0);
    const struct {
        const char* page;
        std::function<std::unique_ptr<QDialog>()> make;
    } rows[] = {
        {"results.html", [&] { return std::make_unique<CLeniResultDlg>(project, "", 0); }},
        {"room-results.html",
         [&] { return std::make_unique<CSubLeniResultDlg>(project, "Ground", "Office", &room, 0); }},
        {"product-database.html", [&] { return std::make_unique<CObjDbTableDlg>(OBJDB_EDIT, &project); }},
        {"room-3d.html",
         [] { return std::make_unique<COglViewer>(std::make_unique<CDxfFile>(), "Office", "."); }},
        {"print-pages.html", [&] { return std::make_unique<CDefinePrintPagesDlg>(project); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.page);
        std::unique_ptr<QDialog> dialog = row.make();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        opened.clear();
        QTest::keyClick(AtFocusWindow(), Qt::Key_F1);
        EXPECT_EQ(LastPage(), row.page);
        EXPECT_TRUE(fs::exists(SourceManual() / row.page));
        // The Help button opens the same page.
        opened.clear();
        QPushButton* help = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text().remove('&') == "Help") help = button;
        ASSERT_NE(help, nullptr);
        help->click();
        EXPECT_EQ(LastPage(), row.page);
        dialog->hide();
    }
}

TEST_F(HelpAndFocusTest, WhereNoBrowserStartsAMessageSaysWhereTheManualIs) {
    Frame();
    ASSERT_FALSE(App().GetHelpFilePath().empty());
    SetHelpHook(nullptr);
    QUrl tried;
    SetBrowserHook([&tried](const QUrl& url) {
        tried = url;
        return false;
    });
    boxes.boxes.clear();
    EXPECT_FALSE(ShowHelpPage("room.html"));
    SetBrowserHook(nullptr);
    const fs::path page(tried.toLocalFile().toStdString());
    EXPECT_EQ(page.filename(), "room.html");
    EXPECT_EQ(BoxTexts(), "[No browser could be started to show the manual.\nThe manual is in the folder\n" +
                              page.parent_path().string() + "\nOpen room.html there with a browser.]\n");
}

} // namespace
