#pragma once
// The results of one room for a time step: installed power, area, td and tn, Wl, Wp, their sum
// and the sub-LENI. Opened for the year it offers a button per month and the monthly bar chart;
// Ctrl+L opens the room's calculation log of that time step.

#include <QDialog>
#include <QLabel>
#include <string>

class CLENIProject;
class CLENIRoom;
class CMonthlyChart;
class QFormLayout;
class QLabel;
class QPushButton;

class CSubLeniResultDlg : public QDialog {
    Q_OBJECT
  public:
    // room may be null (not found): the error is reported and the dialog closes at once.
    CSubLeniResultDlg(const CLENIProject& project, const std::string& floorName, const std::string& roomName,
                      const CLENIRoom* room, int timeStep, QWidget* parent = nullptr);

    bool IsClosedAtOnce() const { return m_bCloseAtOnce; }
    // The value shown beside the label (labels as on the dialog, the result label included).
    std::string GetValue(const std::string& label) const;
    std::string GetResultLabel() const;
    QPushButton* GetMonthButton(int month) const { return m_pMonths[month - 1]; }
    CMonthlyChart* GetChart() const { return m_pChart; }
    std::string GetLogPath() const;
    // "Target ...: pass" or "FAIL" below the result; empty without a target or for a month.
    std::string GetTargetLine() const { return m_pTarget ? m_pTarget->text().toStdString() : std::string(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void AddLine(const char* label, const std::string& value);

    const CLENIProject& m_Project;
    std::string m_csFloorName;
    std::string m_csRoomName;
    int m_iTimeStep;
    bool m_bCloseAtOnce = false;
    QFormLayout* m_pForm;
    QPushButton* m_pMonths[12] = {};
    CMonthlyChart* m_pChart = nullptr;
    QLabel* m_pTarget = nullptr;
};

// Modal. An unknown floor is reported and the dialog opens without a room.
void ShowRoomDialog(QWidget* parent, const CLENIProject& project, const std::string& floorName,
                    const std::string& roomName, int timeStep);
