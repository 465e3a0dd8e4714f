#include "ui/results/LeniResultDlg.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "report/CostAndTarget.h"
#include "model/ModelChecks.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/results/MonthlyChart.h"
#include "ui/shell/HelpPages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

OpenFileHook& FileHook() {
    static OpenFileHook hook;
    return hook;
}

QString Q(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

} // namespace

void SetOpenFileHook(OpenFileHook hook) {
    FileHook() = std::move(hook);
}

void OpenFileWithPlatform(const std::string& path) {
    WaitForCalcLogs(); // it may be one being written
    if (FileHook()) {
        FileHook()(path);
        return;
    }
    // A missing file goes to the platform all the same; it says what it makes of it.
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

CLeniResultDlg::CLeniResultDlg(const CLENIProject& project, const std::string& floorName, int timeStep,
                               QWidget* parent)
    : QDialog(parent), m_Project(project), m_csFloorName(floorName), m_iTimeStep(timeStep) {
    setWindowTitle("Annual LENI calculation");
    auto* main = new QVBoxLayout(this);
    auto line = [&]() {
        auto* label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        main->addWidget(label);
        return label;
    };
    m_pSubject = line();
    m_pPower = line();
    m_pEnergy = line();
    m_pCost = line();
    m_pArea = line();
    m_pAllStoreys = line();
    m_pHours = line();
    m_pResult = line();
    m_pTarget = line();
    QFont bold = m_pResult->font();
    bold.setBold(true);
    m_pResult->setFont(bold);
    m_pSubject->setFont(bold);

    auto* grid = new QGridLayout;
    for (int m = 1; m <= 12; ++m) {
        auto* button = new QPushButton(Q(GetTimeStepName(unsigned(m))), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, m]() { ShowLENIDialog(this, m_Project, m_csFloorName, m); });
        grid->addWidget(button, (m - 1) / 6, (m - 1) % 6);
        m_pMonths[m - 1] = button;
    }
    main->addLayout(grid);
    m_pFindings = line();
    m_pFindings->setWordWrap(true);
    m_pFindings->hide();
    if (m_iTimeStep == 0) {
        m_pChart = new CMonthlyChart(this);
        main->addWidget(m_pChart, 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    AddDialogHelp(*this, "results.html", buttons);
    main->addWidget(buttons);
    Calculate();
}

CLeniResultDlg::~CLeniResultDlg() {
    WaitForCalcLogs();
}

void CLeniResultDlg::Calculate() {
    const unsigned step = unsigned(m_iTimeStep);
    const std::string stepName = GetTimeStepName(step);
    LeniTimeStepResult steps[kLeniTimeSteps];
    double value = 0.0;
    // The figures below are one calculation of a model that holds still meanwhile: each room is
    // found once (in the session's results when it has them) for all of them.
    CRoomPassMemo memo;
    // The log goes to its file while the figures are shown.
    CCalcLogKept kept;
    m_pAllStoreys->hide();
    if (m_csFloorName.empty()) {
        m_pSubject->setText(Q("Building " + m_Project.GetName()));
        m_pPower->setText(
            Q(StrPrintf("Building Installed Power (Pn): %.2f W", GetInstalledPower(m_Project, Lighting))));
        const LeniTimeStepResult result = CalculateAnnualLENI(m_Project, step);
        double energy = 0.0;
        for (const CLENIFloor& floor : m_Project.GetFloors())
            energy += floor.GetInstanceCount() * GetTotalEnergy(floor, m_Project, step);
        m_pEnergy->setText(Q(StrPrintf("%s Building Energy: %.2f kWh", stepName.c_str(), energy)));
        m_pCost->setText(Q(GetCostAndCO2Line(m_Project, energy, step)));
        m_pArea->setText(Q(StrPrintf("Area: %.2f m\u00b2", GetArea(m_Project))));
        value = result.GetLENI();
        m_pResult->setText(Q(step == 0 ? StrPrintf("LENI=%.2f kWh/(m\u00b2 year)", value)
                                       : StrPrintf("Building Monthly Specific Energy=%.2f kWh/m\u00b2 (%s)",
                                                   value, stepName.c_str())));
        if (m_pChart) GetMonthlySteps(m_Project, steps);
    } else {
        if (!m_Project.FloorExists(m_csFloorName)) {
            Log().Printf(LOG_INFO, "CLENIProject::GFBN unrecognised floor: <%s>", m_csFloorName.c_str());
            m_pEnergy->setText(Q(StrPrintf("Could not find floor %s", m_csFloorName.c_str())));
            m_pArea->clear();
            m_pResult->clear();
            m_bCloseAtOnce = true;
            return;
        }
        const CLENIFloor& floor = *m_Project.GetFloorByName(m_csFloorName);
        const LeniTimeStepResult result = CalculateLENIofFloor(m_Project, m_csFloorName, step);
        const double power = GetInstalledPower(floor, Lighting, m_Project.GetProducts());
        const int count = floor.GetInstanceCount();
        const double energy = result.Wl + result.Wp;
        const std::string cost = GetCostAndCO2Line(m_Project, energy, step);
        m_pCost->setText(Q(count == 1 || cost.empty() ? cost : cost + " (one storey)"));
        if (count == 1) {
            m_pSubject->setText(Q("Floor " + floor.GetName()));
            m_pPower->setText(Q(StrPrintf("Floor Installed Power (Pn): %.2f W", power)));
            m_pEnergy->setText(Q(StrPrintf("%s Floor Energy: %.2f kWh", stepName.c_str(), energy)));
            m_pArea->setText(Q(StrPrintf("Floor Area: %.2f m\u00b2", floor.GetArea())));
        } else {
            // Each figure says whether it is of one storey or of all: never one of each in a line.
            m_pSubject->setText(Q(StrPrintf("Floor %s (one of %d storeys)", floor.GetName().c_str(), count)));
            m_pPower->setText(Q(StrPrintf("Floor Installed Power (Pn), one storey: %.2f W", power)));
            m_pEnergy->setText(
                Q(StrPrintf("%s Floor Energy, one storey: %.2f kWh", stepName.c_str(), energy)));
            m_pArea->setText(Q(StrPrintf("Floor Area, one storey: %.2f m\u00b2", floor.GetArea())));
            m_pAllStoreys->setText(
                Q(StrPrintf("All %d storeys: Pn %.2f W, %s energy %.2f kWh, area %.2f m\u00b2", count,
                            count * power, stepName.c_str(), count * energy, count * floor.GetArea())));
            m_pAllStoreys->show();
        }
        value = result.GetLENI();
        m_pResult->setText(Q(step == 0 ? StrPrintf("LENIsub=%.2f kWh/(m\u00b2 year)", value)
                                       : StrPrintf("Floor monthly specific energy=%.2f kWh/m\u00b2 (%s)",
                                                   value, stepName.c_str())));
        if (m_pChart) GetMonthlySteps(m_Project, floor, steps);
    }
    m_pTarget->setText(Q(::GetTargetLine(m_Project, value, step)));
    m_pCost->setVisible(!m_pCost->text().isEmpty());
    m_pTarget->setVisible(!m_pTarget->text().isEmpty());
    setWindowTitle(m_pSubject->text() + ": " + m_pResult->text());
    if (step == 0) {
        m_pHours->setText(Q(StrPrintf("Hours per year = %d", GetParasiticHours(0))));
    } else {
        m_pHours->setText(Q(StrPrintf("Hours per month =%d", GetParasiticHours(step))));
        for (QPushButton* button : m_pMonths)
            button->hide();
    }
    if (m_pChart) m_pChart->SetSteps(steps);
    if (step == 0) ShowFindings();
}

void CLeniResultDlg::ShowFindings() {
    std::vector<std::string> found;
    if (m_csFloorName.empty()) {
        found = CheckProjectShape(m_Project);
    } else if (const CLENIFloor* floor = m_Project.GetFloorByName(m_csFloorName)) {
        for (const CLENIRoom& room : floor->GetRooms()) {
            const std::vector<std::string> more = CheckRoomShape(room);
            found.insert(found.end(), more.begin(), more.end());
        }
    }
    // Rooms of the same name on two floors may say the same: each sentence once.
    std::vector<std::string> lines;
    for (const std::string& text : found)
        if (std::find(lines.begin(), lines.end(), text) == lines.end()) lines.push_back(text);
    if (lines.empty()) return;
    std::string text = "Please check:";
    for (const std::string& line : lines)
        text += "\n\u2022 " + line;
    m_pFindings->setText(Q(text));
    m_pFindings->show();
}

std::string CLeniResultDlg::GetFindingsText() const {
    return m_pFindings->isHidden() ? std::string() : m_pFindings->text().toStdString();
}

std::string CLeniResultDlg::GetSubjectLine() const {
    return m_pSubject->text().toStdString();
}
std::string CLeniResultDlg::GetAllStoreysLine() const {
    return m_pAllStoreys->isHidden() ? std::string() : m_pAllStoreys->text().toStdString();
}
std::string CLeniResultDlg::GetPowerLine() const {
    return m_pPower->text().toStdString();
}
std::string CLeniResultDlg::GetEnergyLine() const {
    return m_pEnergy->text().toStdString();
}
std::string CLeniResultDlg::GetAreaLine() const {
    return m_pArea->text().toStdString();
}
std::string CLeniResultDlg::GetHoursLine() const {
    return m_pHours->text().toStdString();
}
std::string CLeniResultDlg::GetResultLine() const {
    return m_pResult->text().toStdString();
}

std::string CLeniResultDlg::GetCostLine() const {
    return m_pCost->text().toStdString();
}
std::string CLeniResultDlg::GetTargetLine() const {
    return m_pTarget->text().toStdString();
}

std::string CLeniResultDlg::GetLogPath() const {
    const std::string name = m_csFloorName.empty() ? GetBuildingCalcLogFileName(m_Project.GetName())
                                                   : GetFloorCalcLogFileName(m_csFloorName);
    return GetCalcLogPath(m_Project.GetProjectFolder(), name);
}

void CLeniResultDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_L && (event->modifiers() & Qt::ControlModifier)) {
        OpenFileWithPlatform(GetLogPath());
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowLENIDialog(QWidget* parent, const CLENIProject& project, const std::string& floorName,
                    int timeStep) {
    QApplication::setOverrideCursor(Qt::WaitCursor); // the calculation runs as the dialog opens
    CLeniResultDlg dialog(project, floorName, timeStep, parent);
    QApplication::restoreOverrideCursor();
    if (dialog.IsClosedAtOnce()) return;
    ExecDialog(dialog);
}
