#pragma once
// The project document of the desktop program: the one open project, its modified flag and the
// File-menu commands (new, open, save, save with calculation, save as, properties, recent files),
// the save prompt and the checks before the building calculation. It talks to the window only
// through IDocumentUi, so every command runs the same in a test without a display.

#include "app/UndoStack.h"
#include "base/FileUtils.h"
#include "base/ProjectFileXml.h"
#include "model/LENIProject.h"

#include <string>

// Command ids of the main menu, as the program's resources number them.
enum CommandId {
    ID_ZOOM_ALL = 32771,
    ID_ADD_DXF_FLOOR = 32774,
    ID_NEW_PROJECT = 32776,
    ID_OPEN_PROJECT = 32777,
    ID_REMOVE_DXF_FLOOR = 32780,
    ID_SAVE_PROJECT = 32781,
    ID_FOLDERS_PROJECTS = 32783,
    ID_FOLDERS_APP_DATA = 32784,
    ID_ADD_ZONE = 32787,
    ID_ADD_ROOM = 32793,
    ID_EDIT_PRODUCT_DB = 32798,
    ID_PROJECT_PROPERTIES = 32810,
    ID_SAVE_AS = 32811,
    ID_ADD_SIMPLE_FLOOR = 32816,
    ID_OBJECT_SNAP = 32817,
    ID_GRID_SNAP = 32818,
    ID_GRID_SNAP_SETTINGS = 32820,
    ID_BUILDING_CALCULATION = 32825,
    ID_FLOOR_CALCULATION = 32835,
    ID_DEFINE_PRINT_PAGES = 32854,
    ID_PRINT_FLOOR_LENI = 32856,
    ID_RECENT_FIRST = 32865,
    ID_RECENT_LAST = 32870,
    ID_CREATE_NUVA_DB = 32897,
    ID_ADD_ATRIUM = 32900,
    ID_DXF_BACKGROUND = 32907,
    ID_SAVE_WITH_CALCULATION = 32910,
    ID_SHOW_LUMINAIRE_TABLES = 32931,
    ID_SHOW_OPENING_LABELS = 32932,
    ID_MEASURE = 32933,
    ID_PRINT_SETUP = 57606,
    ID_PRINT = 57607,
    ID_PRINT_PREVIEW = 57609,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
};

enum ProjectDialogMode { PROJECT_DIALOG_NEW = 0, PROJECT_DIALOG_PROPERTIES = 1 };

// What the document needs from the window: the view of the floors, the dialogs and the cursor.
class IDocumentUi {
  public:
    virtual ~IDocumentUi() = default;
    // Every tab but the first goes; the first is left without drawing.
    virtual void ClearView() = 0;
    // One tab per floor of the project, from the floor DXF files.
    virtual void ShowProject() = 0;
    // Title, modified mark or enabling may have changed.
    virtual void DocumentChanged() = 0;
    // No drawing or panning in progress in the current floor tab.
    virtual bool IsEditorIdle() const = 0;
    virtual bool HasCurrentTab() const = 0;
    // The project dialog on a copy of the project; true on OK (mode: ProjectDialogMode).
    virtual bool RunProjectDialog(CLENIProject& settings, int mode) = 0;
    // The new-name dialog; true on OK with the name.
    virtual bool RunNameDialog(const std::string& proposal, std::string& name) = 0;
    // The file dialogs; true when the user chose a file.
    virtual bool AskProjectFileToOpen(const std::string& startDir, std::string& path) = 0;
    virtual bool AskResultsFileToSave(const std::string& startDir, const std::string& proposedName,
                                      std::string& path) = 0;
    virtual void OpenFolderInBrowser(const std::string& folder) = 0;
    // The building calculation once its checks passed.
    virtual void RunBuildingCalculation() = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    // The project was put back to an earlier (or later) copy: every pointer into it is stale.
    virtual void ModelReplaced() {}
};

class CLENIBDoc {
  public:
    explicit CLENIBDoc(IDocumentUi* ui = nullptr) : m_pUi(ui) {}
    void SetUi(IDocumentUi* ui) { m_pUi = ui; }

    CLENIProject& GetProject() { return m_Project; }
    const CLENIProject& GetProject() const { return m_Project; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    // The project name, or "Untitled" while no project is loaded.
    const std::string& GetTitle() const { return m_csTitle; }
    // A project is open when it has a folder and a name.
    bool IsProjectOpen() const;

    // Whether the command is enabled for the document's part of the rule (the floor-tab part is
    // the view's); false for commands the document does not own.
    bool IsCommandEnabled(int id) const;

    // The empty document of the program start.
    void OnNewDocument();
    // Asks to save a modified project; false when the user cancelled. openPrompt: the wording
    // of the open command, without a blank before the parenthesis.
    bool SaveModified(bool openPrompt = false);
    void OnFileNew();
    // Opens the file, or asks for one when path is empty; false when nothing was opened.
    bool OpenProject(const std::string& path = std::string());
    // Writes the project file (with results: the calculated numbers as well); false on failure,
    // which leaves the modified flag set.
    bool Save(bool withResults = false);
    void OnSaveAs();
    void OnProjectProperties();
    // Recent-file entry 0-5.
    void OpenRecentFile(int position);
    void OnBuildingCalculation();
    void OnCreateNuvaDb();
    // The question before the program closes; false keeps it open.
    bool CanCloseFrame() { return SaveModified(); }

    // Undo and redo. BeginChange keeps a copy of the project just before an accepted change is
    // written into it. Adding, removing or reordering floors (the floor tabs follow them) forgets
    // the steps. Undoing back to the saved state clears the modified mark.
    void BeginChange();
    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_Undo.CanUndo(); }
    bool CanRedo() const { return m_Undo.CanRedo(); }
    void ForgetUndoSteps() { m_Undo.Clear(!m_bModified); }

  private:
    void ResetProject();
    void SetTitle(const std::string& title);
    void Changed();
    // After an undo or redo: the file location stays, the rest is the restored copy.
    void Restored(const std::string& folder, const std::string& name);

    IDocumentUi* m_pUi;
    CUndoStack m_Undo;
    CLENIProject m_Project;
    bool m_bModified = false;
    std::string m_csTitle = "Untitled";
};

// ---- Names that reach the file system ----

// The name as a file or folder name: characters no file name may hold (path separators, < > : " |
// ? *, control characters) become "_", as do leading and trailing dots and blanks, and a name
// the platform reserves (CON, NUL, COM1, ...) gets a "_" after it. The model keeps the name.
std::string MakeSafeFileName(const std::string& name);
// Whether the dialogs accept the text as a project name: none of the nine characters, no control
// character, not only dots and blanks. Empty is judged by the caller.
bool IsAcceptableProjectName(const std::string& name);
// The message of a refused name.
extern const char* const kBadNameCharactersMessage;

// Deletes folder and everything in it, but only when it lies strictly inside the all-projects
// folder (never that folder itself nor one above it, nor one reached through a link); says so and
// returns false when it refuses or fails.
bool DeleteProjectFolder(const fs::path& folder, const fs::path& allProjects);
// Before Save As makes its copy in newFolder, which exists: refuses (saying why) when newFolder is
// or holds oldFolder, the folder the copy is made from, or is no project of its own (no project file
// of that name); else asks, then asks again naming what would go, and deletes it on Yes to both.
bool MayReplaceFolderForCopy(const fs::path& newFolder, const fs::path& oldFolder, const std::string& name);
