#pragma once
// Calculation > "Savings Advisor..." and File > "Compare with Project...": the advisor's ranking
// and two versions of a building side by side, each as a sortable table.

#include "report/ProjectCompare.h"
#include "report/SavingsAdvisor.h"

#include <QDialog>

class CLENIBDoc;
class CLENIProject;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class CSavingsAdvisorDlg : public QDialog {
    Q_OBJECT
  public:
    CSavingsAdvisorDlg(CLENIBDoc& doc, QWidget* parent = nullptr);

    QTableWidget* GetTable() const { return m_pTable; }
    QPushButton* GetApplyButton() const { return m_pApply; }
    // The Fcc constant illuminance control is tried with in zones that have none of their own;
    // "Advise" works the table out again with it.
    QLineEdit* GetFccField() const { return m_pFcc; }
    QPushButton* GetAdviseButton() const { return m_pAdvise; }
    std::string GetBuildingLine() const;
    const SavingsAdvice& GetAdvice() const { return m_Advice; }
    // Puts the option of the selected row into its zone as one undo step and advises again.
    bool ApplySelected();

  private:
    void Fill();

    CLENIBDoc& m_Doc;
    SavingsAdvice m_Advice;
    QLabel* m_pBuilding;
    QTableWidget* m_pTable;
    QPushButton* m_pApply;
    QLineEdit* m_pFcc;
    QPushButton* m_pAdvise;
    double m_dFcc = kAdvisorDefaultFcc;
};

class CCompareDlg : public QDialog {
    Q_OBJECT
  public:
    CCompareDlg(const CLENIProject& a, const std::string& nameB, const ProjectComparison& comparison,
                QWidget* parent = nullptr);

    QTableWidget* GetTable() const { return m_pTable; }
    std::string GetBuildingLine() const;
    // The comparison as CSV (every month) or as a PDF of the table; false when it could not be written.
    bool ExportCsv(const std::string& path) const;
    bool ExportPdf(const std::string& path) const;

  private:
    ProjectComparison m_Comparison;
    std::string m_csTitle;
    QLabel* m_pBuilding;
    QTableWidget* m_pTable;
};

void ShowSavingsAdvisor(QWidget* parent, CLENIBDoc& doc);
// Asks for the project B and shows the current project (A) beside it.
void ShowCompareWithProject(QWidget* parent, const CLENIProject& current);
