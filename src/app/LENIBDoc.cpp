#include "app/LENIBDoc.h"

#include "app/LENIBApp.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "report/ResultsExport.h"

#include <algorithm>
#include <cstring>
#include <tinyxml.h>

const char* const kBadNameCharactersMessage =
    "Please don't use these characters in the name:\n  < (less than)\n  > (greater than)\n  : (colon)\n"
    "  \" (double quote)\n  / (forward slash)\n  \\ (backslash)\n  | (vertical bar or pipe)\n"
    "  ? (question mark)\n  * (asterisk)\n";

namespace {

const char* const kUntitled = "Untitled";
const char* const kResultsContact = "results@orvantis.example";

} // namespace

// ---- Names that reach the file system ----

bool IsAcceptableProjectName(const std::string& name) {
    for (unsigned char c : name)
        if (IsForbiddenNameCharacter(c)) return false;
    return name.find_first_not_of(". ") != std::string::npos;
}

bool DeleteProjectFolder(const fs::path& folder, const fs::path& allProjects) {
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    const fs::path root = ec ? fs::path() : fs::weakly_canonical(fs::absolute(allProjects, ec), ec);
    const fs::path relative = target.lexically_relative(root);
    const bool inside = !ec && !allProjects.empty() && !root.empty() && !relative.empty() &&
                        relative != "." && *relative.begin() != "..";
    // A link in place of the folder would be followed by the canonical path: what is deleted is
    // the folder itself, so it must be no link.
    if (!inside || fs::is_symlink(folder, ec)) {
        Log().Printf(LOG_ERROR,
                     "The folder\n%s\nis not inside the projects folder\n%s\nso it has not been deleted.",
                     folder.string().c_str(), allProjects.string().c_str());
        return false;
    }
    fs::remove_all(folder, ec);
    if (ec) {
        Log().Printf(LOG_ERROR, "Could not delete the folder\n%s\n%s", folder.string().c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

namespace {

// Whether folder holds the folder inside (or is it), links resolved.
bool HoldsFolder(const fs::path& folder, const fs::path& inside) {
    std::error_code ec;
    const fs::path outer = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    const fs::path inner = ec ? fs::path() : fs::weakly_canonical(fs::absolute(inside, ec), ec);
    if (ec || outer.empty() || inner.empty()) return true; // not known: taken as held
    const fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

bool MayReplaceFolderForCopy(const fs::path& newFolder, const fs::path& oldFolder, const std::string& name) {
    const fs::path allProjects = newFolder.parent_path();
    // The copy is made from the old folder: deleting it, or a folder around it, loses the original.
    if (HoldsFolder(newFolder, oldFolder)) {
        AlertBox("The folder\n%s\nholds this project itself, so a copy cannot replace it.\nPlease choose "
                 "another name.",
                 newFolder.string().c_str());
        return false;
    }
    // Only a project of its own is replaced; any other folder stays as it is.
    const fs::path projectFile = newFolder / (MakeSafeFileName(name) + "." + kProjectFileExtension);
    if (!FileExists(projectFile)) {
        AlertBox("The folder\n%s\nexists and holds no project named %s, so it is not replaced.\nPlease "
                 "choose another name.",
                 newFolder.string().c_str(), name.c_str());
        return false;
    }
    if (WyesNoBox("This project directory already exists.\nMaking a new project here will DELETE all "
                  "data\nof the existing project. Continue?") != IDYES)
        return false;
    // Asked again, naming what would go.
    std::string listed;
    size_t count = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(newFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (++count <= 12) listed += "\n" + it->path().lexically_relative(newFolder).string();
    }
    if (count > 12) listed += StrPrintf("\n... and %u more", static_cast<unsigned>(count - 12));
    if (WyesNoBox("These files and folders of the project %s will be DELETED:%s\nDelete them?", name.c_str(),
                  listed.c_str()) != IDYES)
        return false;
    return DeleteProjectFolder(newFolder, allProjects);
}

namespace {
// A sound project file whose floor list is empty: reading it reports the missing floors, yet the
// project is whole and the user goes on by adding floors to it.
bool IsProjectWithoutFloors(const std::string& path) {
    TiXmlDocument document;
    if (!document.LoadFile(path.c_str())) return false;
    const TiXmlElement* root = document.FirstChildElement(kProjectFileRoot);
    const TiXmlElement* floors = root ? root->FirstChildElement("FloorList") : nullptr;
    return floors && !floors->FirstChildElement();
}
} // namespace

// ---- The document ----

void CLENIBDoc::SetModifiedFlag(bool modified) {
    m_bModified = modified;
    Changed();
}

bool CLENIBDoc::IsProjectOpen() const {
    return !m_Project.GetProjectFolder().empty() && !m_Project.GetName().empty();
}

void CLENIBDoc::SetTitle(const std::string& title) {
    m_csTitle = title;
    Changed();
}

void CLENIBDoc::Changed() {
    if (m_pUi) m_pUi->DocumentChanged();
}

void CLENIBDoc::ResetProject() {
    // A fresh project: nothing of the previous one (its products included) may leak into the next.
    // The view lets go of the floors before they go.
    if (m_pUi) m_pUi->ClearView();
    m_Project = CLENIProject();
    m_Undo.Clear(true);
    SetTitle(kUntitled);
}

bool CLENIBDoc::IsCommandEnabled(int id) const {
    const bool idle = !m_pUi || m_pUi->IsEditorIdle();
    switch (id) {
    case ID_NEW_PROJECT:
    case ID_OPEN_PROJECT:
        return idle;
    case ID_SAVE_PROJECT:
    case ID_SAVE_WITH_CALCULATION:
    case ID_SAVE_AS:
    case ID_PROJECT_PROPERTIES:
        return idle && IsProjectOpen();
    case ID_BUILDING_CALCULATION:
        if (!IsProjectOpen()) return false;
        if (m_pUi && !m_pUi->HasCurrentTab()) {
            Log().Printf(LOG_INFO, "CLENIBView::GUINA failed to get tab");
            return false;
        }
        return idle;
    case ID_EDIT_UNDO:
        return idle && CanUndo();
    case ID_EDIT_REDO:
        return idle && CanRedo();
    case ID_EDIT_PRODUCT_DB:
    case ID_CREATE_NUVA_DB:
        return true;
    default:
        return id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST;
    }
}

void CLENIBDoc::OnNewDocument() {
    m_bModified = false;
    ResetProject();
}

bool CLENIBDoc::SaveModified(bool openPrompt) {
    if (!m_bModified) return true;
    const char* format = openPrompt ? "Save the current project(%s)?" : "Save the current project (%s)?";
    switch (WyesNoCancelBox(format, m_Project.GetName().c_str())) {
    case IDYES:
        // A save that failed keeps what is on screen: going on would lose the work.
        return Save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void CLENIBDoc::OnFileNew() {
    if (!SaveModified()) return;
    m_bModified = false;
    ResetProject();

    CLENIProject created;
    if (!m_pUi || !m_pUi->RunProjectDialog(created, PROJECT_DIALOG_NEW)) return;
    m_Project = created;
    m_Project.SetPrintMe(true); // a new project prints its project page, results and floor pages
    App().SetProjectsDir(GetProjectsContainingDir(m_Project.GetProjectFolder()));
    if (m_pUi) m_pUi->ShowProject();
    m_bModified = true;
    m_Undo.Clear(false);
    SetTitle(m_Project.GetName());
}

bool CLENIBDoc::OpenProject(const std::string& givenPath) {
    if (m_bModified) {
        if (!SaveModified(true)) return false;
    }
    m_bModified = false;
    ResetProject();

    std::string path = givenPath;
    if (path.empty()) {
        if (!m_pUi || !m_pUi->AskProjectFileToOpen(App().GetProjectsDir(), path)) return false;
        App().AddToRecentFiles(path);
    }
    std::string logged = path;
    std::replace(logged.begin(), logged.end(), '%', 'P');
    Log().Printf(LOG_INFO, "Read project file <%s>...\n", logged.c_str());
    SetModifiedFlag(false);

    if (!m_Project.ReadProject(path) && !IsProjectWithoutFloors(path)) {
        // A half-read project must not be saved over the file it came from: the document stays
        // empty, as if nothing had been opened.
        m_Project = CLENIProject();
        Changed();
        return false;
    }
    if (m_pUi) m_pUi->ShowProject();
    App().SetProjectsDir(GetProjectsContainingDir(m_Project.GetProjectFolder()));
    SetTitle(m_Project.GetName());
    return true;
}

bool CLENIBDoc::Save(bool withResults) {
    if (m_pUi) m_pUi->SetWaitCursor(true);
    const bool saved = m_Project.SaveProject(withResults);
    if (saved) {
        App().AddToRecentFiles(JoinPath(m_Project.GetProjectFolder(),
                                        MakeSafeFileName(m_Project.GetName()) + "." + kProjectFileExtension)
                                   .string());
        m_bModified = false;
        m_Undo.MarkSaved();
    }
    if (m_pUi) m_pUi->SetWaitCursor(false);
    Changed();
    return saved;
}

void CLENIBDoc::OnSaveAs() {
    std::string name;
    if (!m_pUi || !m_pUi->RunNameDialog("New Name", name)) return;
    if (EqualsNoCase(name, m_Project.GetName())) {
        AlertBox("The new project name is the same as the old one!");
        return;
    }
    const fs::path oldFolder = m_Project.GetProjectFolder();
    const fs::path allProjects = GetProjectsContainingDir(oldFolder.string());
    const fs::path newFolder = JoinPath(allProjects, MakeSafeFileName(name));

    if (DirectoryExists(newFolder) && !MayReplaceFolderForCopy(newFolder, oldFolder, name)) return;
    if (!CreateDirectoryPath(newFolder)) {
        Log().Printf(LOG_ERROR, "There was an error making the copied project directory:\n%s",
                     newFolder.string().c_str());
        return;
    }
    if (!CopyDirectory(newFolder, oldFolder, "*.DXF", 0)) {
        Log().Printf(LOG_ERROR, "There was an error creating the new project directory:\n%s",
                     newFolder.string().c_str());
        return;
    }
    m_Project.SetProjectFolder(newFolder.string());
    m_Project.SetName(name);
    Save();
    SetTitle(name);
}

void CLENIBDoc::OnProjectProperties() {
    CLENIProject settings = m_Project;
    if (!m_pUi || !m_pUi->RunProjectDialog(settings, PROJECT_DIALOG_PROPERTIES)) return;
    BeginChange();
    m_Project.SetDescription(settings.GetDescription());
    m_Project.SetLocation(settings.GetLocation());
    if (!settings.GetDominantBuildingType().empty())
        m_Project.SetDominantBuildingType(settings.GetDominantBuildingType());
    m_Project.SetMaintenanceFactor(settings.GetMaintenanceFactor());
    m_Project.SetLatitude(settings.GetLatitude());
    m_Project.SetLongitude(settings.GetLongitude());
    m_Project.SetHdirHglob(settings.GetHdirHglob());
    m_Project.SetYearBuilt(settings.GetYearBuilt());
    m_Project.SetYearToBeBuilt(settings.GetYearToBeBuilt());
    m_Project.SetEnergyPrice(settings.GetEnergyPrice());
    m_Project.SetCO2Factor(settings.GetCO2Factor());
    m_Project.SetLeniTarget(settings.GetLeniTarget());
    SetModifiedFlag(true);
}

void CLENIBDoc::BeginChange() {
    m_Undo.Push(m_Project);
}

bool CLENIBDoc::Undo() {
    const std::string folder = m_Project.GetProjectFolder(), name = m_Project.GetName();
    if (!m_Undo.Undo(m_Project)) return false;
    Restored(folder, name);
    return true;
}

bool CLENIBDoc::Redo() {
    const std::string folder = m_Project.GetProjectFolder(), name = m_Project.GetName();
    if (!m_Undo.Redo(m_Project)) return false;
    Restored(folder, name);
    return true;
}

void CLENIBDoc::Restored(const std::string& folder, const std::string& name) {
    // A step kept before a Save As must not send the next save back to the old folder.
    m_Project.SetProjectFolder(folder);
    m_Project.SetName(name);
    m_bModified = !m_Undo.IsAtSavedState();
    if (m_pUi) m_pUi->ModelReplaced();
    Changed();
}

void CLENIBDoc::OpenRecentFile(int position) {
    const std::string path = App().GetRecentFile(position);
    if (path.size() <= 3) {
        Log().Printf(LOG_INFO, "***WARNING*** OpenMRUFile (%d) strange filename <%s>\n", position,
                     path.c_str());
        return;
    }
    if (!FileExists(path)) {
        WalertBox("This file\n%s\nhas been deleted or moved", path.c_str());
        return;
    }
    OpenProject(path);
}

void CLENIBDoc::OnBuildingCalculation() {
    if (!IsProjectOpen()) return;
    if (m_pUi && !m_pUi->HasCurrentTab()) {
        Log().Printf(LOG_INFO, "CLENIBView::GUINA failed to get tab");
        return;
    }
    if (m_pUi && !m_pUi->IsEditorIdle()) return;

    const std::vector<CLENIFloor>& floors = m_Project.GetFloors();
    long long instances = 0; // a damaged file may give counts whose sum no int holds
    for (const CLENIFloor& floor : floors)
        instances += floor.GetInstanceCount();
    if (floors.empty() || instances == 0) {
        Log().Printf(LOG_ERROR, "There needs to be at least one floor\nin the project to do a calculation.\n"
                                "Please use the \"Floor DXF +\" icon\n");
        return;
    }
    for (size_t i = 0; i + 1 < floors.size(); ++i) {
        if (floors[i].GetRoofLightCount() > 0) {
            Log().Printf(LOG_ERROR,
                         "Roof lights have to be on the top floor\n\nThe top floor is the rightmost tab.\n"
                         "The floor <%s> has a rooflight but is not the rightmost tab.\nTabs can be dragged "
                         "with the mouse.",
                         floors[i].GetName().c_str());
            return;
        }
    }
    for (const CLENIFloor& floor : floors) {
        if (floor.GetRoofLightCount() > 0 && floor.GetInstanceCount() > 1) {
            Log().Printf(LOG_ERROR,
                         "Some multiple instance floors have roof lights.\nPlease correct this error\n");
            return;
        }
    }
    if (m_pUi) m_pUi->RunBuildingCalculation();
}

void CLENIBDoc::OnCreateNuvaDb() {
    if (m_Project.GetFloorCount() == 0) {
        WalertBox("Cannot create DB XML file, no project, or empty project.");
        return;
    }
    std::string path;
    const std::string proposed = MakeSafeFileName(m_Project.GetName()) + "_NUVA_DB.XML";
    if (!m_pUi || !m_pUi->AskResultsFileToSave(MyGetFolderPath().string(), proposed, path)) return;
    m_pUi->SetWaitCursor(true);
    const bool written = ExportResults(m_Project, path);
    m_pUi->OpenFolderInBrowser(fs::path(path).parent_path().string());
    m_pUi->SetWaitCursor(false);
    // A file that could not be written has been reported; asking to send it would mislead.
    if (written)
        WalertBox("Please send the file:\n %s\nto\n %s\nwith ORVANTIS in the subject line.", path.c_str(),
                  kResultsContact);
}
