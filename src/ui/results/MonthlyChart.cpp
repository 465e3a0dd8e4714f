#include "ui/results/MonthlyChart.h"

#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "report/ReportPages.h"
#include "ui/platform/QtCanvas.h"

#include <QPainter>
#include <functional>
#include <map>
#include <utility>

CMonthlyChart::CMonthlyChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 220);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CMonthlyChart::SetSteps(const LeniTimeStepResult steps[kLeniTimeSteps]) {
    for (int i = 0; i < kLeniTimeSteps; ++i)
        m_Steps[i] = steps[i];
    update();
}

void CMonthlyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    CQtCanvas canvas(painter);
    const int font = std::max(10, fontMetrics().height());
    DrawMonthlyBarChart(canvas, 4, 4, width() - 4, height() - 4, m_Steps, font);
    canvas.Flush();
}

namespace {

// The parasitic energy of a step depends on the step only through its hours, which are the same
// for every month: worked out once for all months that share them.
class CParasiticByHours {
  public:
    explicit CParasiticByHours(std::function<double(unsigned)> energy) : m_Energy(std::move(energy)) {}
    double Get(unsigned timeStep) {
        const int hours = GetParasiticHours(timeStep);
        auto it = m_Known.find(hours);
        if (it == m_Known.end()) it = m_Known.emplace(hours, m_Energy(timeStep)).first;
        return it->second;
    }

  private:
    std::function<double(unsigned)> m_Energy;
    std::map<int, double> m_Known;
};

} // namespace

void GetMonthlySteps(const CLENIProject& project, LeniTimeStepResult steps[kLeniTimeSteps]) {
    CCalcLogQuiet quiet; // the chart repeats what the month dialogs show with their logs
    CParasiticByHours wp([&](unsigned m) { return GetParasiticEnergy(project, m); });
    const double area = GetArea(project);
    for (unsigned m = 1; m < kLeniTimeSteps; ++m) {
        steps[m].timeStep = int(m);
        steps[m].Wl = GetLightingEnergy(project, m);
        steps[m].Wp = wp.Get(m);
        steps[m].area = area;
    }
}

void GetMonthlySteps(const CLENIProject& project, const CLENIFloor& floor,
                     LeniTimeStepResult steps[kLeniTimeSteps]) {
    CCalcLogQuiet quiet;
    CParasiticByHours wp([&](unsigned m) { return GetParasiticEnergy(floor, m, project.GetProducts()); });
    for (unsigned m = 1; m < kLeniTimeSteps; ++m) {
        steps[m].timeStep = int(m);
        steps[m].Wl = GetLightingEnergy(floor, project, m);
        steps[m].Wp = wp.Get(m);
        steps[m].area = floor.GetArea();
    }
}

void GetMonthlySteps(const CLENIProject& project, const CLENIRoom& room,
                     LeniTimeStepResult steps[kLeniTimeSteps]) {
    CCalcLogQuiet quiet;
    for (unsigned m = 1; m < kLeniTimeSteps; ++m) {
        steps[m].timeStep = int(m);
        steps[m].Wl = GetLightingEnergy(room, project, m);
        steps[m].Wp = GetParasiticEnergy(room, m, project.GetProducts());
        steps[m].area = room.GetArea();
    }
}
