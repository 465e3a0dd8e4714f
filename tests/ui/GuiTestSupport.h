#pragma once
// Helpers of the desktop-program tests: the offscreen application, scripted answers to dialogs
// and file dialogs, and a fixture with its own working folders.

#include "support/TestSupport.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;

// Answers the next dialogs in order; each handler fills the dialog's widgets and presses OK
// (dialog.accept()) or Cancel. A dialog nobody scripted is cancelled and noted.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    template <class Dialog> void Next(std::function<void(Dialog&)> handler) {
        m_handlers.push_back([handler](QDialog& dialog) {
            if (auto* typed = dynamic_cast<Dialog*>(&dialog)) handler(*typed);
        });
    }
    // The next dialog is cancelled.
    void Cancel() {
        m_handlers.push_back([](QDialog& dialog) { dialog.reject(); });
    }
    // Answers of the file dialogs, in order; an empty text is Cancel.
    void File(const std::string& path) { m_files.push_back(QString::fromStdString(path)); }

    std::vector<std::string> shown;      // window titles of the dialogs, in order
    std::vector<std::string> fileTitles; // titles of the file dialogs
    std::vector<std::string> fileStarts; // their starting folder or proposed path
    bool AllUsed() const { return m_handlers.empty() && m_files.empty(); }

  private:
    std::deque<std::function<void(QDialog&)>> m_handlers;
    std::deque<QString> m_files;
};

// A fresh desktop program per test: app-data, Documents and projects folders inside a
// temporary folder, recorded message boxes and log.
class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The main window after the interactive start.
    CMainFrame& Frame();
    // New project through the project dialog; name, building type 0, town and year filled in.
    void NewProject(const std::string& name);
    // A simple floor through its dialog (no single zone unless asked).
    void AddSimpleFloor(const std::string& name, double x = 10, double y = 10, double z = 3,
                        bool zone = false);
    fs::path ProjectsDir() const { return dir / "Projects"; }
    std::string BoxTexts() const;

    TempDir dir{"gui"};
    LogRecorder log;
    RecordingMessageBoxes boxes;
    DialogScript script;
    std::unique_ptr<CMainFrame> frame;
};

// Writes a PNG of the widget into the build folder, for a person to look at.
void SaveScreenshot(QWidget& widget, const std::string& name);
