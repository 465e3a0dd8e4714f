#include "ui/DesktopMain.h"

#include "app/LENIBApp.h"
#include "ui/MainFrame.h"
#include "ui/QtMessageBoxHost.h"

#include <QApplication>
#include <clocale>

void UseFileNumberLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

int RunDesktopProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("ORVANTIS");
    UseFileNumberLocale();

    CQtMessageBoxHost host;
    IMessageBoxHost* previous = SetMessageBoxHost(&host);
    App().InitInteractive();

    int code;
    {
        CMainFrame frame;
        frame.show();
        code = app.exec();
    }
    int exitCode = App().ExitInstance();
    SetMessageBoxHost(previous);
    return code != 0 ? code : exitCode;
}
