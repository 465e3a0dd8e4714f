#pragma once
// "Project Properties": the project's name, folder, description, building type, maintenance
// factor, location, Hdir/Hglob and year. For a new project it also creates the project folder.

#include "ui/dialogs/CheckedDialog.h"

#include <optional>

class CLENIProject;
class QComboBox;
class QPushButton;

class CNewProjDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // mode: ProjectDialogMode. The settings are edited in place on OK only.
    CNewProjDlg(CLENIProject& settings, int mode, const std::string& allProjectsDir,
                QWidget* parent = nullptr);

    // The suggested Hdir/Hglob of a latitude as shown, "??" outside [0, 90].
    static std::string SuggestedHdirHglobText(double latitude);
    const std::string& GetAllProjectsDir() const { return m_csAllProjectsDir; }

    QLineEdit* GetNameField() const { return m_pName; }
    QLineEdit* GetDescriptionField() const { return m_pDescription; }
    QComboBox* GetBuildingTypeList() const { return m_pBuildingType; }
    QLineEdit* GetMFField() const { return m_pMF; }
    QLineEdit* GetLatitudeField() const { return m_pLatitude; }
    QLineEdit* GetLongitudeField() const { return m_pLongitude; }
    QLineEdit* GetTownField() const { return m_pTown; }
    QLineEdit* GetHdirHglobField() const { return m_pHdirHglob; }
    QLineEdit* GetYearBuiltField() const { return m_pYearBuilt; }
    QLineEdit* GetYearToBeBuiltField() const { return m_pYearToBeBuilt; }
    QLabel* GetProjectFolderLabel() const { return m_pProjectFolder; }
    QLabel* GetSuggestedLabel() const { return m_pSuggested; }
    QPushButton* GetBrowseButton() const { return m_pBrowse; }
    QLineEdit* GetEnergyPriceField() const { return m_pEnergyPrice; }
    QLineEdit* GetCO2FactorField() const { return m_pCO2Factor; }
    QLineEdit* GetLeniTargetField() const { return m_pLeniTarget; }

  protected:
    bool OnOK() override;

  private:
    void UpdateFolders();
    void UpdateSuggestion();
    void OnBrowse();
    bool CheckYears(int& yearBuilt, int& yearToBeBuilt) const;
    bool MakeProjectFolder(const std::string& folder) const;
    // An empty field is no value; otherwise a number of 0 or more.
    bool ReadOptionalNumber(QLineEdit* field, const TypedNumberField& what, std::optional<double>& value) const;

    CLENIProject& m_Settings;
    int m_iMode;
    std::string m_csAllProjectsDir;
    QLineEdit* m_pName;
    QLineEdit* m_pDescription;
    QComboBox* m_pBuildingType;
    QLineEdit* m_pMF;
    QLineEdit* m_pLatitude;
    QLineEdit* m_pLongitude;
    QLineEdit* m_pTown;
    QLineEdit* m_pHdirHglob;
    QLineEdit* m_pYearBuilt;
    QLineEdit* m_pYearToBeBuilt;
    QLineEdit* m_pEnergyPrice;
    QLineEdit* m_pCO2Factor;
    QLineEdit* m_pLeniTarget;
    QLabel* m_pProjectFolder;
    QLabel* m_pAllProjectsFolder;
    QLabel* m_pSuggested;
    QPushButton* m_pBrowse;
};
