#pragma once
// The application object: the mode of the process (batch or interactive), the batch result
// and the per-user working folders. The desktop program adds its window on top of it.

#include <string>
#include <vector>

// The build sets the version, from the one place it is kept (the project line of CMakeLists.txt).
#ifndef ORVANTIS_VERSION
#error "ORVANTIS_VERSION is not defined by the build"
#endif

class CLENIBApp {
  public:
    // The version, e.g. "3.3.8".
    static constexpr const char* kVersion = ORVANTIS_VERSION;
    // Printed with the build date and time.
    static constexpr const char* kVersionFormat = "ORVANTIS NUVA V" ORVANTIS_VERSION " %s %s";
    static constexpr const char* kGeneralLogName = "LENI_V1_LOG.TXT";
    static constexpr const char* kHelpFileName = "LENI_NUVA_HELP.chm";
    // The HTML manual: its contents page, in a folder "manual" beside the program (the build) or
    // in share/orvantis/manual under the installation prefix.
    static constexpr const char* kManualIndexName = "index.html";
    static constexpr const char* kLuminaireDatabaseName = "LENI_V1_LUM_DB.XML";
    static constexpr int kRecentFileCount = 6;
    static std::string VersionBanner();

    // The steps both modes take first: the reference tables of building and room types and the
    // daylight tables.
    static void InitInstanceCommon();

    // Batch start: runs the one command of the command line and keeps its result for the exit.
    int RunBatch(const std::string& commandLine);

    // Interactive start, the steps of the shell: batch flag 0, working folders and help file,
    // the general log with the version lines. Boxes go to the host installed before.
    void InitInteractive();
    // The global luminaire database of the app-data folder (an empty one when missing).
    void LoadLuminaireDatabase();
    void PrepareWorkingFolders();
    void OpenGeneralLog();

    // The process exit code: the batch result, or 0 after the interactive exit steps.
    int ExitInstance();

    bool IsBatch() const { return m_iBatch == 1; }
    int GetBatchResult() const { return m_iBatchResult; }
    const std::string& GetAppDataDir() const { return m_csAppDataDir; }
    const std::string& GetHelpFilePath() const { return m_csHelpFilePath; }
    // The folder of the running program, where its manual is looked for; set before the start.
    void SetProgramDir(const std::string& dir) { m_csProgramDir = dir; }
    // Where the help is looked for, in order: a help file the user put in the app-data folder,
    // then the manual beside the program, then the installed manual.
    std::vector<std::string> GetHelpFileCandidates() const;
    // "<every place looked at>\nhelp file not found", at the error level.
    void ReportHelpFileNotFound() const;
    const std::string& GetProjectsDir() const;
    // The all-projects folder; a folder that does not exist is refused (reported), the old value stays.
    bool SetProjectsDir(const std::string& dir);

    // The recent project files of the preferences, most recent first.
    std::string GetRecentFile(int position) const;
    // Puts an existing file first, unless it is in the list already (then nothing moves).
    void AddToRecentFiles(const std::string& path);

    // Grid size given to every drawing opened in a floor tab, metres, within [0.1, 100].
    double GetDefaultGridSize() const;
    void SetDefaultGridSize(double size);
    const std::string& GetDxfReadDir() const;
    void SetDxfReadDir(const std::string& dir);
    std::string GetGeneralLogPath() const;

    // Back to the state at process start (tests).
    void Reset() { *this = CLENIBApp(); }

  private:
    int m_iBatch = 0;
    int m_iBatchResult = 0;
    std::string m_csAppDataDir;
    std::string m_csHelpFilePath;
    std::string m_csProgramDir;
};

// The one application object of the process.
CLENIBApp& App();
