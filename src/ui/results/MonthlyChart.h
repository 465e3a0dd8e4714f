#pragma once
// The bar chart of Wl and Wp for each month, painted by the core's chart drawing.

#include "model/LeniTimeStepResult.h"

#include <QWidget>

class CLENIFloor;
class CLENIProject;
class CLENIRoom;

class CMonthlyChart : public QWidget {
    Q_OBJECT
  public:
    explicit CMonthlyChart(QWidget* parent = nullptr);
    // Index = time step; entry 0 is not shown.
    void SetSteps(const LeniTimeStepResult steps[kLeniTimeSteps]);
    const LeniTimeStepResult& GetStep(int timeStep) const { return m_Steps[timeStep]; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    LeniTimeStepResult m_Steps[kLeniTimeSteps];
};

// The twelve months of the building, one floor instance or one room, worked out without a log.
void GetMonthlySteps(const CLENIProject& project, LeniTimeStepResult steps[kLeniTimeSteps]);
void GetMonthlySteps(const CLENIProject& project, const CLENIFloor& floor,
                     LeniTimeStepResult steps[kLeniTimeSteps]);
void GetMonthlySteps(const CLENIProject& project, const CLENIRoom& room,
                     LeniTimeStepResult steps[kLeniTimeSteps]);
