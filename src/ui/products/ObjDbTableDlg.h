#pragma once
// The product database dialog: every product of the open project and of the global luminaire
// database in one table. Mode 0 edits the global database (add, edit, delete, import photometric
// files by button or by dropping); mode 1 chooses a product for a luminaire list.

#include <QDialog>
#include <QStringList>
#include <string>
#include <vector>

class CLENIProject;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

enum ObjDbMode { OBJDB_EDIT = 0, OBJDB_CHOOSE = 1 };

class CObjDbTableDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kColumnHeaders[6] = {
        "  Reference Id  ", "    Description    ",
        "    Piw    ",      "Standby Pci",
        "Chg Pei",          "              Product Type              "};

    // project: the open project, or null.
    CObjDbTableDlg(int mode, CLENIProject* project, QWidget* parent = nullptr);

    // False when the mode is not one of the two (reported); the dialog is then not shown.
    bool IsModeValid() const { return m_eMode == OBJDB_EDIT || m_eMode == OBJDB_CHOOSE; }
    bool IsChanged() const { return m_bChanged; }
    const std::string& GetChosenRefId() const { return m_csChosenRefId; }

    QTableWidget* GetTable() const { return m_pTable; }
    QLineEdit* GetFilterField() const { return m_pFilter; }
    QPushButton* GetAddNewButton() const { return m_pAddNew; }
    QPushButton* GetAddFileButton() const { return m_pAddFile; }
    QPushButton* GetAddToZoneButton() const { return m_pAddToZone; }
    QPushButton* GetImportFilesButton() const { return m_pImportFiles; }
    QPushButton* GetImportFolderButton() const { return m_pImportFolder; }
    QPushButton* GetAddGenericButton() const { return m_pAddGeneric; }
    QLabel* GetDragNote() const { return m_pDragNote; }
    QLabel* GetDeleteNote() const { return m_pDeleteNote; }
    // The row the user clicked last, -1 when none since the table was filled.
    int GetLastRow() const { return m_iLastRow; }

    // What dropping these paths (local file names; an empty one could not be read) does.
    void DropFiles(const QStringList& paths);
    // Imports the files and folders given (.ldt, .ies, .gldf) into the program's database and
    // shows one summary box for them all.
    void ImportPaths(const std::vector<std::string>& paths);
    // The table again from the databases, sorted and filtered.
    void FillTable();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    std::string RefIdOfRow(int row) const;
    void OnHeaderClicked(int column);
    void OnDoubleClicked(int row);
    void OnAddToZone();
    void OnAddNew();
    void OnAddFile();
    void OnDelete();
    void ImportFile(const std::string& path);
    void ImportWithoutRefId(const std::string& path);
    void Changed();

    int m_eMode;
    CLENIProject* m_pProject;
    int m_iLastRow = -1;
    bool m_bSortAscending = true;
    bool m_bChanged = false;
    std::string m_csChosenRefId;

    QLineEdit* m_pFilter = nullptr;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pDragNote = nullptr;
    QLabel* m_pDeleteNote = nullptr;
    QPushButton* m_pAddNew = nullptr;
    QPushButton* m_pAddFile = nullptr;
    QPushButton* m_pAddToZone = nullptr;
    QPushButton* m_pImportFiles = nullptr;
    QPushButton* m_pImportFolder = nullptr;
    QPushButton* m_pAddGeneric = nullptr;
};

// Runs the dialog. In mode 1, true and the chosen reference id when the user chose one. A change
// of the global database is on disk when this returns.
bool ShowProductDatabase(QWidget* parent, int mode, CLENIProject* project,
                         std::string* chosenRefId = nullptr);
