#include "ui/results/MonthlyChart.h"

#include "app/ReportPages.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "ui/platform/QtCanvas.h"

#include <QPainter>

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

void GetMonthlySteps(const CLENIProject& project, LeniTimeStepResult steps[kLeniTimeSteps]) {
    CCalcLogQuiet quiet; // the chart repeats what the month dialogs show with their logs
    for (unsigned m = 1; m < kLeniTimeSteps; ++m) {
        steps[m].timeStep = int(m);
        steps[m].Wl = GetLightingEnergy(project, m);
        steps[m].Wp = GetParasiticEnergy(project, m);
        steps[m].area = GetArea(project);
    }
}

void GetMonthlySteps(const CLENIProject& project, const CLENIFloor& floor,
                     LeniTimeStepResult steps[kLeniTimeSteps]) {
    CCalcLogQuiet quiet;
    for (unsigned m = 1; m < kLeniTimeSteps; ++m) {
        steps[m].timeStep = int(m);
        steps[m].Wl = GetLightingEnergy(floor, project, m);
        steps[m].Wp = GetParasiticEnergy(floor, m, project.GetProducts());
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
