// ORVANTIS: an empty command line starts the desktop program, "open <project file>" starts it with
// that project, anything else runs one batch command.

#include "app/BatchCommands.h"
#include "app/LENIBApp.h"
#include "base/Platform.h"

#include <cstdio>

#ifdef ORVANTIS_HAVE_GUI
#include "ui/print/ReportPrinter.h"
#include "ui/shell/DesktopMain.h"
#endif

int main(int argc, char** argv) {
    std::string commandLine = JoinCommandLine(argc, argv);
    CommandTokens tokens;
    SplitCommandLine(commandLine, " ", tokens);
    if (IsOpenCommand(tokens)) {
        std::string projectFile;
        const int refused = CheckOpenCommand(tokens, projectFile);
        if (refused != BATCH_DONE) return refused;
#ifdef ORVANTIS_HAVE_GUI
        return RunDesktopProgram(argc, argv, projectFile);
#else
        std::fprintf(stderr, "orvantis: this build has no desktop program (built without Qt 6): "
                             "\"open\" needs it.\n");
        return BATCH_WRITE_FAILED;
#endif
    }
    if (!IsEmptyCommandLine(commandLine)) {
        PrepareConsoleOutput();
        KeepFreedMemoryForReuse();
#ifdef ORVANTIS_HAVE_GUI
        InstallReportPdfWriter(); // "pdf" paints through Qt, on the offscreen platform
#endif
        // No window and no QApplication: the command's result is the exit code.
        App().RunBatch(commandLine);
        return App().ExitInstance();
    }
#ifdef ORVANTIS_HAVE_GUI
    return RunDesktopProgram(argc, argv);
#else
    std::fprintf(stderr, "orvantis: this build has no desktop program (built without Qt 6).\n"
                         "Batch use: orvantis report <project file> <results file> <log file>\n"
                         "           orvantis dxftoxml <DXF file> <project file> <floor height> <log file>\n"
                         "(\"orvantis pdf\" and \"orvantis open\" need the desktop program too; "
                         "orvantis --help shows every command.)\n");
    return 3;
#endif
}
