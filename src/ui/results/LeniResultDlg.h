#pragma once
// The results of the whole building or of one floor for a time step: installed power, energy,
// area, hours and the LENI (also the window title). Opened for the year it offers a button per
// month, each opening the same dialog for that month, and the monthly bar chart. Ctrl+L opens the
// calculation log it wrote.

#include <QDialog>
#include <functional>
#include <string>

class CLENIProject;
class CMonthlyChart;
class QLabel;
class QPushButton;

class CLeniResultDlg : public QDialog {
    Q_OBJECT
  public:
    // Runs the calculation as the dialog opens; its log is written on a helper thread meanwhile,
    // and is in its file once the dialog is gone (or WaitForCalcLogs returned).
    CLeniResultDlg(const CLENIProject& project, const std::string& floorName, int timeStep,
                   QWidget* parent = nullptr);
    ~CLeniResultDlg() override;

    // The floor was not found: the dialog closes at once.
    bool IsClosedAtOnce() const { return m_bCloseAtOnce; }
    // The lines in their order: installed power, energy, area, hours, result.
    // What the figures are of: "Building Alpha", "Floor Ground", "Floor Typical (one of 2 storeys)".
    std::string GetSubjectLine() const;
    // For a floor of several storeys, the figures of all of them; empty otherwise.
    std::string GetAllStoreysLine() const;
    std::string GetPowerLine() const;
    std::string GetEnergyLine() const;
    std::string GetAreaLine() const;
    std::string GetHoursLine() const;
    std::string GetResultLine() const;
    // Empty when the project sets no price or emission factor, or no target (or for a month).
    std::string GetCostLine() const;
    std::string GetTargetLine() const;
    QPushButton* GetMonthButton(int month) const { return m_pMonths[month - 1]; }
    CMonthlyChart* GetChart() const { return m_pChart; }
    // For the year: what the project holds that drawing never makes (a room whose outline crosses
    // itself, a window longer than its wall, a zone beyond its room, a product id read twice),
    // of the building or of the floor, one line each; empty when there is none.
    std::string GetFindingsText() const;
    // The log file Ctrl+L opens.
    std::string GetLogPath() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Calculate();
    void ShowFindings();

    const CLENIProject& m_Project;
    std::string m_csFloorName;
    int m_iTimeStep;
    bool m_bCloseAtOnce = false;
    QLabel* m_pSubject;
    QLabel* m_pAllStoreys;
    QLabel* m_pPower;
    QLabel* m_pEnergy;
    QLabel* m_pArea;
    QLabel* m_pHours;
    QLabel* m_pResult;
    QLabel* m_pCost;
    QLabel* m_pTarget;
    QLabel* m_pFindings;
    QPushButton* m_pMonths[12];
    CMonthlyChart* m_pChart = nullptr;
};

// Modal; floorName empty for the whole building.
void ShowLENIDialog(QWidget* parent, const CLENIProject& project, const std::string& floorName, int timeStep);

// Ctrl+L hands the log file to the platform's "open" action; tests watch it through this hook.
using OpenFileHook = std::function<void(const std::string& path)>;
void SetOpenFileHook(OpenFileHook hook);
void OpenFileWithPlatform(const std::string& path);
