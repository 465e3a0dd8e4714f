#include "ui/shell/DesktopMain.h"

#include "app/LENIBApp.h"
#include "ui/platform/QtMessageBoxHost.h"
#include "ui/platform/QtPreferenceStore.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <clocale>

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

int RunDesktopProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("ORVANTIS");

    CQtMessageBoxHost host;
    IMessageBoxHost* previous = SetMessageBoxHost(&host);
    CQtPreferenceStore store;
    IPreferenceStore* previousStore = SetPreferenceStore(&store);
    int code;
    {
        std::unique_ptr<CMainFrame> frame = StartDesktop();
        code = app.exec();
    }
    int exitCode = App().ExitInstance();
    SetPreferenceStore(previousStore);
    SetMessageBoxHost(previous);
    return code != 0 ? code : exitCode;
}
