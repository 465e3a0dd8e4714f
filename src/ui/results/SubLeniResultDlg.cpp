#include "ui/results/SubLeniResultDlg.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "report/CostAndTarget.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/results/LeniResultDlg.h"
#include "ui/results/MonthlyChart.h"
#include "ui/shell/HelpPages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString Q(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}
} // namespace

CSubLeniResultDlg::CSubLeniResultDlg(const CLENIProject& project, const std::string& floorName,
                                     const std::string& roomName, const CLENIRoom* room, int timeStep,
                                     QWidget* parent)
    : QDialog(parent), m_Project(project), m_csFloorName(floorName), m_csRoomName(roomName),
      m_iTimeStep(timeStep) {
    setWindowTitle("Calculation for room");
    auto* main = new QVBoxLayout(this);
    m_pForm = new QFormLayout;
    main->addLayout(m_pForm);
    if (!room) {
        Log().Printf(LOG_ERROR, "Room not found");
        m_bCloseAtOnce = true;
        return;
    }
    const unsigned step = unsigned(timeStep);
    const std::string stepName = GetTimeStepName(step);
    // The title says which room the figures are of, and on which floor.
    setWindowTitle(Q(StrPrintf("%s Calculation: Room %s on %s", stepName.c_str(), room->GetName().c_str(),
                               floorName.c_str())));
    {
        CCalcLogQuiet quiet; // the lines above the result come without a log
        const CLumSysDataBase& db = project.GetProducts();
        const double Wl = GetLightingEnergy(*room, project, step);
        const double Wp = GetParasiticEnergy(*room, step, db);
        AddLine("Room Installed Power Pn:", StrPrintf("%.2f W", GetInstalledPower(*room, Lighting, db)));
        AddLine("Room Area:", StrPrintf("%.2f m\u00b2", room->GetArea()));
        AddLine("Daylight Time, td:", StrPrintf("%.0f h", double(room->GetTdForTimeStep(timeStep))));
        AddLine("Daylight Absence Time, tn:", StrPrintf("%.0f h", double(room->GetTnForTimeStep(timeStep))));
        AddLine("Energy  for illumination, Wl:", StrPrintf("%.2f kWh", Wl));
        AddLine("Charging and Standby Energy, Wp:", StrPrintf("%.2f kWh", Wp));
        AddLine("Total Energy, W:", StrPrintf("%.2f kWh", Wp + Wl));
        const std::string cost = GetCostAndCO2Line(project, Wp + Wl, step);
        if (!cost.empty()) AddLine("Cost and CO2:", cost);
    }
    const LeniTimeStepResult result = CalculateSubLeni(*room, project, step);
    if (step == 0)
        AddLine("Annual LENIsub:", StrPrintf("%.2f kWh/(m\u00b2 year)", result.GetLENI()));
    else
        AddLine("Monthly Specific Energy:",
                StrPrintf("%.2f kWh/m\u00b2 (%s)", result.GetLENI(), stepName.c_str()));
    QFont bold = font();
    bold.setBold(true);
    m_pForm->itemAt(m_pForm->rowCount() - 1, QFormLayout::FieldRole)->widget()->setFont(bold);
    const std::string target = ::GetTargetLine(project, result.GetLENI(), step);
    if (!target.empty()) {
        m_pTarget = new QLabel(Q(target), this);
        m_pTarget->setFont(bold);
        main->addWidget(m_pTarget);
    }

    if (step == 0) {
        auto* grid = new QGridLayout;
        for (int m = 1; m <= 12; ++m) {
            auto* button = new QPushButton(Q(GetTimeStepName(unsigned(m))), this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this,
                    [this, m]() { ShowRoomDialog(this, m_Project, m_csFloorName, m_csRoomName, m); });
            grid->addWidget(button, (m - 1) / 6, (m - 1) % 6);
            m_pMonths[m - 1] = button;
        }
        main->addLayout(grid);
        m_pChart = new CMonthlyChart(this);
        LeniTimeStepResult steps[kLeniTimeSteps];
        GetMonthlySteps(project, *room, steps);
        m_pChart->SetSteps(steps);
        main->addWidget(m_pChart, 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    AddDialogHelp(*this, "room-results.html", buttons);
    main->addWidget(buttons);
}

void CSubLeniResultDlg::AddLine(const char* label, const std::string& value) {
    auto* field = new QLabel(Q(value), this);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pForm->addRow(Q(label), field);
}

std::string CSubLeniResultDlg::GetValue(const std::string& label) const {
    for (int row = 0; row < m_pForm->rowCount(); ++row) {
        auto* name = qobject_cast<QLabel*>(m_pForm->itemAt(row, QFormLayout::LabelRole)->widget());
        auto* value = qobject_cast<QLabel*>(m_pForm->itemAt(row, QFormLayout::FieldRole)->widget());
        if (name && value && name->text().toStdString() == label) return value->text().toStdString();
    }
    return std::string();
}

std::string CSubLeniResultDlg::GetResultLabel() const {
    const int last = m_pForm->rowCount() - 1;
    if (last < 0) return std::string();
    auto* name = qobject_cast<QLabel*>(m_pForm->itemAt(last, QFormLayout::LabelRole)->widget());
    return name ? name->text().toStdString() : std::string();
}

std::string CSubLeniResultDlg::GetLogPath() const {
    return GetCalcLogPath(m_Project.GetProjectFolder(),
                          GetSubLeniCalcLogFileName(m_csFloorName, m_csRoomName, unsigned(m_iTimeStep)));
}

void CSubLeniResultDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_L && (event->modifiers() & Qt::ControlModifier)) {
        OpenFileWithPlatform(GetLogPath());
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowRoomDialog(QWidget* parent, const CLENIProject& project, const std::string& floorName,
                    const std::string& roomName, int timeStep) {
    const CLENIRoom* room = nullptr;
    if (!project.FloorExists(floorName))
        Log().Printf(LOG_ERROR, "CLENIProject::GRBN (%s) no floor by that name", floorName.c_str());
    else
        room = project.FindRoom(floorName, roomName);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CSubLeniResultDlg dialog(project, floorName, roomName, room, timeStep, parent);
    QApplication::restoreOverrideCursor();
    if (dialog.IsClosedAtOnce()) return;
    ExecDialog(dialog);
}
