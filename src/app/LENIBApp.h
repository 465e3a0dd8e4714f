#pragma once
// The application object: the mode of the process (batch or interactive), the batch result
// and the per-user working folders. The desktop program adds its window on top of it.

#include <array>
#include <string>
#include <vector>

class CLENIBApp {
  public:
    // Printed with the build date and time.
    static constexpr const char* kVersionFormat = "ORVANTIS NUVA V3.3.8 %s %s";
    static constexpr const char* kGeneralLogName = "LENI_V1_LOG.TXT";
    static constexpr const char* kHelpFileName = "LENI_NUVA_HELP.chm";
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
    const std::string& GetProjectsDir() const { return m_csProjectsDir; }
    // The all-projects folder; a folder that does not exist is refused (reported), the old value stays.
    bool SetProjectsDir(const std::string& dir);

    // The recent project files, most recent first (Part of the preferences).
    const std::string& GetRecentFile(int position) const;
    // Puts an existing file first, unless it is in the list already (then nothing moves).
    void AddToRecentFiles(const std::string& path);
    // The list as stored: entries naming no existing file are dropped, the others move up.
    void SetRecentFiles(const std::vector<std::string>& paths);
    std::vector<std::string> GetRecentFiles() const { return {m_RecentFiles.begin(), m_RecentFiles.end()}; }

    // Grid size given to every drawing opened in a floor tab, metres, within [0.1, 100].
    double GetDefaultGridSize() const { return m_dGridSize; }
    void SetDefaultGridSize(double size);
    const std::string& GetDxfReadDir() const { return m_csDxfReadDir; }
    void SetDxfReadDir(const std::string& dir) { m_csDxfReadDir = dir; }
    std::string GetGeneralLogPath() const;

    // Back to the state at process start (tests).
    void Reset() { *this = CLENIBApp(); }

  private:
    int m_iBatch = 0;
    int m_iBatchResult = 0;
    std::string m_csAppDataDir;
    std::string m_csHelpFilePath;
    std::string m_csProjectsDir;
    std::string m_csDxfReadDir;
    double m_dGridSize = 1.0;
    std::array<std::string, kRecentFileCount> m_RecentFiles;
};

// The one application object of the process.
CLENIBApp& App();
