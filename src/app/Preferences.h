#pragma once
// The per-user preferences of the desktop program: folders, the starting values of a new window
// and a new roof light, the grid size and the six most recent project files. Read once at start
// and written once at a normal exit; the batch mode never touches them.

#include "model/LENIRoofLight.h"
#include "model/LENIWindow.h"

#include <string>

class CPreferences {
  public:
    static constexpr const char* kBaseKey = "HKEY_CURRENT_USER\\Software\\NUVA_LENI_V1\\";
    static constexpr int kRecentFiles = 6;

    // Every value at its default (the folders are the user's Documents folder).
    CPreferences();

    // Reads every value, applying defaults and ranges, then the recent files that still exist.
    void LoadPreferences();
    // Writes every value, the six recent-file entries included (empty ones as empty strings).
    void SavePreferences() const;

    // Puts an existing file first in the list, unless it is already there (any letter case).
    void AddToRecentFiles(const std::string& path);
    // Position 0 to 5; empty for any other position.
    std::string GetRecentFile(int position) const;

    std::string m_csDxfReadDir;   // "PREF_DXF_READ_DIR"
    std::string m_csProjectsDir;  // "PREF_PROJECTS_DIR"
    std::string m_csLdtIesDir;    // "PREF_LDT_IES_DIR"
    std::string m_csDbImportDir;  // "PREF_DB_IMPORT_DIR", kept but used by no command
    CLENIWindow m_WindowTemplate; // what a new window starts from; dialogs copy the last one here
    CLENIRoofLight m_RoofLightTemplate;
    double m_dGridSize = 1.0; // "PREF_GRID_SIZE", metres

  private:
    void SetDefaults();
    std::string m_RecentFiles[kRecentFiles]; // "MRU1" .. "MRU6", most recent first
};

// The preferences of the program.
CPreferences& Preferences();
