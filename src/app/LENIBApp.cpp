#include "app/LENIBApp.h"

#include "products/StarterCatalogue.h"

#include "app/BatchCommands.h"
#include "app/Preferences.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "model/DxfImport.h"
#include "products/LumSysDataBase.h"
#include "products/StarterCatalogue.h"
#include "report/ResultsExport.h"
#include "tables/BuildingTypeData.h"
#include "tables/FdssnaTables.h"

#include <algorithm>

CLENIBApp& App() {
    static CLENIBApp app;
    return app;
}

std::string CLENIBApp::VersionBanner() {
    return StrPrintf(kVersionFormat, __DATE__, __TIME__);
}

void CLENIBApp::InitInstanceCommon() {
    CBuildingTypeData::InitBuildingTypeTables();
    LoadFdssnaTablesAtStart();
}

int CLENIBApp::RunBatch(const std::string& commandLine) {
    InitInstanceCommon();
    m_iBatch = 1;
    // No one watches a batch run: from here on no box is shown, not even before a command
    // has chosen its log file.
    Log().SetMode(LOGMODE_BATCH);
    m_iBatchResult = DispatchBatchCommand(commandLine);
    Log().Printf(LOG_INFO, "\n\n<%s> risultato %d\n\n", commandLine.c_str(), m_iBatchResult);
    return m_iBatchResult;
}

void CLENIBApp::InitInteractive() {
    InitInstanceCommon();
    m_iBatch = 0;
    // "Save With Calculation" writes the numbers of the energy calculation.
    InstallProjectResultsProvider();
    // Floors added from a DXF file bring in the objects of its special layers.
    InstallDxfFloorImporter();
    PrepareWorkingFolders();
    OpenGeneralLog();
    Preferences().LoadPreferences();
}

void CLENIBApp::LoadLuminaireDatabase() {
    const std::string path = (fs::path(m_csAppDataDir) / kLuminaireDatabaseName).string();
    const bool existed = FileExists(path);
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.ReadFromFile(path);
    // The message about a missing database promises a new one: create it now, so the next start
    // finds it instead of repeating the message at every start until something is added. It
    // starts with the generic products, so a zone can be filled at once.
    if (!existed) {
        const int added = AddStarterCatalogue(global);
        if (global.WriteToFile())
            Log().Printf(LOG_INFO, "Created the luminaire database with %d generic products:\n%s", added,
                         path.c_str());
    }
}

const std::string& CLENIBApp::GetProjectsDir() const {
    return Preferences().m_csProjectsDir;
}

bool CLENIBApp::SetProjectsDir(const std::string& dir) {
    if (!DirectoryExists(dir)) {
        Log().Printf(LOG_ERROR, "SPPD: Dir does not exist:\n%s", dir.c_str());
        return false;
    }
    Preferences().m_csProjectsDir = dir;
    return true;
}

std::string CLENIBApp::GetRecentFile(int position) const {
    return Preferences().GetRecentFile(position);
}

void CLENIBApp::AddToRecentFiles(const std::string& path) {
    Preferences().AddToRecentFiles(path);
}

double CLENIBApp::GetDefaultGridSize() const {
    return std::clamp(Preferences().m_dGridSize, 0.1, 100.0);
}

void CLENIBApp::SetDefaultGridSize(double size) {
    Preferences().m_dGridSize = std::clamp(size, 0.1, 100.0);
}

const std::string& CLENIBApp::GetDxfReadDir() const {
    return Preferences().m_csDxfReadDir;
}

void CLENIBApp::SetDxfReadDir(const std::string& dir) {
    Preferences().m_csDxfReadDir = dir;
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

    const std::vector<std::string> candidates = GetHelpFileCandidates();
    for (const std::string& help : candidates)
        if (FileExists(help)) {
            m_csHelpFilePath = help;
            return;
        }
    ReportHelpFileNotFound();
}

void CLENIBApp::ReportHelpFileNotFound() const {
    std::string looked;
    for (const std::string& help : GetHelpFileCandidates())
        looked += (looked.empty() ? "" : "\n") + help;
    Log().Printf(LOG_ERROR, "%s\nhelp file not found", looked.c_str());
}

std::vector<std::string> CLENIBApp::GetHelpFileCandidates() const {
    std::vector<std::string> candidates{(fs::path(m_csAppDataDir) / kHelpFileName).string()};
    if (!m_csProgramDir.empty()) {
        const fs::path program(m_csProgramDir);
        candidates.push_back((program / "manual" / kManualIndexName).string());
        candidates.push_back((program.parent_path() / "share" / "orvantis" / "manual" / kManualIndexName)
                                 .lexically_normal()
                                 .string());
    }
    return candidates;
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
    CLumSysDataBase::Global().WriteIfChanged();
    if (IsCalcLoggerOpen()) StopCalcLogger();
    WaitForCalcLogs();
    Preferences().SavePreferences();
    return 0;
}
