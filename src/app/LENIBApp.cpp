#include "app/LENIBApp.h"

#include "app/BatchCommands.h"
#include "app/FileUtils.h"
#include "app/Logger.h"
#include "app/MessageBoxes.h"
#include "app/TextUtils.h"
#include "model/ResultsExport.h"

CLENIBApp& App() {
    static CLENIBApp app;
    return app;
}

std::string CLENIBApp::VersionBanner() {
    return StrPrintf(kVersionFormat, __DATE__, __TIME__);
}

int CLENIBApp::RunBatch(const std::string& commandLine) {
    m_iBatch = 1;
    // No one watches a batch run: from here on no box is shown, not even before a command
    // has chosen its log file.
    Log().SetMode(LOGMODE_BATCH);
    m_iBatchResult = DispatchBatchCommand(commandLine);
    Log().Printf(LOG_INFO, "\n\n<%s> risultato %d\n\n", commandLine.c_str(), m_iBatchResult);
    return m_iBatchResult;
}

void CLENIBApp::InitInteractive() {
    // Later: the reference tables, the preferences, the empty project document and the global
    // luminaire database are set up here, around the folder and log steps.
    m_iBatch = 0;
    // "Save With Calculation" writes the numbers of the energy calculation.
    InstallProjectResultsProvider();
    PrepareWorkingFolders();
    OpenGeneralLog();
}

void CLENIBApp::PrepareWorkingFolders() {
    fs::path appData = GetAppDataFolder();
    if (appData.empty()) {
        Log().Printf(LOG_ERROR, "Could not get roaming app data folder");
        // Somewhere the user can write, so the general log still has a home.
        std::error_code ec;
        appData = fs::temp_directory_path(ec);
        m_csAppDataDir = appData.string();
    } else {
        m_csAppDataDir = appData.string();
        if (!DirectoryExists(appData) && !CreateDirectoryPath(appData))
            Log().Printf(LOG_ERROR, "Could not make directory:\n%s", m_csAppDataDir.c_str());
        if (!IsBatch() && Log().IsDeferredErrorPending()) {
            AlertBox("There was an error:\n%s", Log().GetLastDeferredError().c_str());
            Log().ClearDeferredError();
        }
    }

    fs::path help = appData / kHelpFileName;
    if (FileExists(help))
        m_csHelpFilePath = help.string();
    else
        Log().Printf(LOG_ERROR, "%s\nhelp file not found", help.string().c_str());
}

std::string CLENIBApp::GetGeneralLogPath() const {
    return (fs::path(m_csAppDataDir) / kGeneralLogName).string();
}

void CLENIBApp::OpenGeneralLog() {
    std::string path = GetGeneralLogPath();
    Log().SetToFile(path);
    Log().Printf(LOG_INFO, "Version = %s", VersionBanner().c_str());
    Log().Printf(LOG_INFO, "Logging to %s", path.c_str());
}

int CLENIBApp::ExitInstance() {
    if (IsBatch()) return m_iBatchResult;
    // Later: write the changed global luminaire database, close an open calculation log and
    // save the preferences.
    return 0;
}
