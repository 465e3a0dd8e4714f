#include "ui/DesktopMain.h"

#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <clocale>

int RunDesktopProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    // Files are read and written with a point as decimal separator, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow window;
    window.setWindowTitle("ORVANTIS");
    window.setCentralWidget(new QTabWidget(&window));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
