// A project file handed over by a later "orvantis open" to the running desktop program: the
// receipt, the save question of File > Open, and who listens when several programs start.

#include "ui/shell/OpenRequests.h"
#include "app/LENIBApp.h"
#include "ui/GuiTestSupport.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QLocalServer>
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {

class OpenRequestsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_hadRuntime = old != nullptr;
        if (old) m_oldRuntime = old;
        fs::create_directories(dir / "runtime");
        setenv("XDG_RUNTIME_DIR", (dir / "runtime").c_str(), 1);
    }
    void TearDown() override {
        if (m_hadRuntime)
            setenv("XDG_RUNTIME_DIR", m_oldRuntime.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        GuiTest::TearDown();
    }
    // Hands the file over from another thread, as a second process would, while this one runs
    // its event loop; returns whether the receipt came.
    bool HandOver(const std::string& path) {
        std::atomic<bool> done{false};
        bool received = false;
        std::thread sender([&]() {
            received = HandOverToRunningProgram(path);
            done = true;
        });
        while (!done)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        sender.join();
        // The handler runs from the event loop after the receipt.
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return received;
    }
    fs::path CopySample(const std::string& name) {
        const fs::path folder = ProjectsDir() / name;
        fs::create_directories(folder);
        for (const auto& entry : fs::directory_iterator(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample"))
            fs::copy_file(entry.path(), folder / entry.path().filename());
        fs::rename(folder / "SAMPLE.LENI1XML", folder / (name + ".LENI1XML"));
        return folder / (name + ".LENI1XML");
    }

  private:
    bool m_hadRuntime = false;
    std::string m_oldRuntime;
};

TEST_F(OpenRequestsTest, NoProgramListeningMeansNoHandOver) {
    EXPECT_EQ(OpenRequestSocketName().toStdString(), (dir / "runtime" / "orvantis-open").string());
    EXPECT_FALSE(HandOverToRunningProgram((dir / "x.LENI1XML").string()));
}

TEST_F(OpenRequestsTest, OneProgramListensAndAStaleSocketIsReplaced) {
    // A socket file left by a program that was killed: the next program listens in its place.
    WriteFileText(dir / "runtime" / "orvantis-open", "");
    std::vector<std::string> first, second;
    COpenRequestServer a([&first](const std::string& path) { first.push_back(path); });
    EXPECT_TRUE(a.Listen());
    // A second program finds the first one answering and leaves the files to it.
    COpenRequestServer b([&second](const std::string& path) { second.push_back(path); });
    EXPECT_FALSE(b.Listen());
    EXPECT_FALSE(b.IsListening());
    ASSERT_TRUE(HandOver("/p/with blanks/A.LENI1XML"));
    EXPECT_EQ(first, std::vector<std::string>{"/p/with blanks/A.LENI1XML"});
    EXPECT_TRUE(second.empty());
}

TEST_F(OpenRequestsTest, AHandedOverProjectIsOpenedAsFileOpenDoesAfterTheSaveQuestion) {
    const fs::path beta = CopySample("Beta");
    NewProject("Alpha"); // modified, never saved
    CMainFrame& f = Frame();
    COpenRequestServer server([&f](const std::string& path) { f.OpenProjectFromOutside(path); });
    ASSERT_TRUE(server.Listen());

    // Cancel at the save question keeps the project on screen; the sender is answered all the same.
    boxes.answers.push_back(IDCANCEL);
    ASSERT_TRUE(HandOver(beta.string()));
    EXPECT_TRUE(boxes.Contains("Save the current project(Alpha)?"));
    EXPECT_EQ(f.GetDocument().GetProject().GetName(), "Alpha");
    EXPECT_TRUE(f.GetDocument().IsModified());

    // No: the handed-over project is open, in the title and among the recent files.
    boxes.answers.push_back(IDNO);
    ASSERT_TRUE(HandOver(beta.string()));
    EXPECT_EQ(f.GetDocument().GetProject().GetName(), "SAMPLE");
    EXPECT_EQ(fs::path(f.GetDocument().GetProject().GetProjectFolder()), beta.parent_path());
    EXPECT_FALSE(f.GetDocument().IsModified());
    EXPECT_EQ(f.GetDocument().GetProject().GetFloorCount(), 3);
    EXPECT_TRUE(f.windowTitle().startsWith("SAMPLE"));
    EXPECT_EQ(App().GetRecentFile(0), beta.string());
}

} // namespace
