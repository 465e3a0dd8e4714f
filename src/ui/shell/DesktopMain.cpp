#include "ui/shell/DesktopMain.h"

#include "app/LENIBApp.h"
#include "ui/platform/QtMessageBoxHost.h"
#include "ui/platform/QtPreferenceStore.h"
#include "ui/shell/MainFrame.h"
#include "ui/shell/OpenRequests.h"

#include <QApplication>
#include <clocale>
#include <vector>

void UseFileNumberLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

std::unique_ptr<CMainFrame> StartDesktop(const std::string& programDir) {
    UseFileNumberLocale();
    App().SetProgramDir(programDir.empty() ? QCoreApplication::applicationDirPath().toStdString()
                                           : programDir);
    App().InitInteractive();
    // The frame's document starts as the empty "Untitled" project.
    auto frame = std::make_unique<CMainFrame>();
    App().LoadLuminaireDatabase();
    frame->show();
    return frame;
}

int RunDesktopProgram(int argc, char** argv, const std::string& projectFile) {
    if (!projectFile.empty()) {
        // Handing the file over needs no window system: a plain application object, gone before
        // the desktop program's own starts.
        int plainArgc = 1;
        QCoreApplication plain(plainArgc, argv);
        if (HandOverToRunningProgram(projectFile)) return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("ORVANTIS");
    // The desktop entry's name: the window is matched to its menu entry and icon.
    QGuiApplication::setDesktopFileName("com.tolvane.Orvantis");

    CQtMessageBoxHost host;
    IMessageBoxHost* previous = SetMessageBoxHost(&host);
    CQtPreferenceStore store;
    IPreferenceStore* previousStore = SetPreferenceStore(&store);
    int code;
    {
        // Listening from the start: a file handed over while the start-up still asks something
        // waits until the window is there.
        CMainFrame* window = nullptr;
        std::vector<std::string> waiting;
        if (!projectFile.empty()) waiting.push_back(projectFile);
        COpenRequestServer requests([&window, &waiting](const std::string& path) {
            if (window)
                window->OpenProjectFromOutside(path);
            else
                waiting.push_back(path);
        });
        requests.Listen();
        std::unique_ptr<CMainFrame> frame = StartDesktop();
        window = frame.get();
        for (const std::string& path : waiting)
            window->OpenProjectFromOutside(path);
        waiting.clear();
        code = app.exec();
        window = nullptr;
    }
    int exitCode = App().ExitInstance();
    SetPreferenceStore(previousStore);
    SetMessageBoxHost(previous);
    return code != 0 ? code : exitCode;
}
