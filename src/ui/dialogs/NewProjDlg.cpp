#include "ui/dialogs/NewProjDlg.h"

#include "app/LENIBDoc.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "tables/BuildingTypeData.h"
#include "tables/FdssnaTables.h"
#include "ui/dialogs/DialogRunner.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <ctime>

namespace {
int CurrentYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const TypedNumberField kMf = {"Default maintenance factor MF", "", "a factor from 0 to 1", false};
const TypedNumberField kLatitude = {"Latitude", "\u00b0|deg", "degrees from 0 to 90", false};
const TypedNumberField kLongitude = {"Longitude", "\u00b0|deg", "degrees from -180 to 180", false};
const TypedNumberField kHdirHglob = {"Project Hdir/Hglob", "", "a ratio from 0 to 1", false};
const TypedNumberField kYearBuilt = {"Year built", "", "a 4 digit year, or 0", true};
const TypedNumberField kYearToBeBuilt = {"Year to be built", "", "a 4 digit year, or 0", true};
const TypedNumberField kEnergyPrice = {"Energy price", "", "a price per kWh of 0 or more, or nothing", false};
const TypedNumberField kCO2Factor = {"CO2 emission factor", "kg/kWh", "kg per kWh, 0 or more, or nothing", false};
const TypedNumberField kLeniTarget = {"LENI target", "", "kWh/(m\u00b2 year), 0 or more, or nothing", false};
} // namespace

std::string CNewProjDlg::SuggestedHdirHglobText(double latitude) {
    if (!(latitude >= 0.0 && latitude <= 90.0)) return "??";
    return FormatDouble("%.2f", CLENIProject::GetDefaultHdirHglob(latitude));
}

CNewProjDlg::CNewProjDlg(CLENIProject& settings, int mode, const std::string& allProjectsDir, QWidget* parent)
    : CCheckedDialog("Project Properties", parent), m_Settings(settings), m_iMode(mode),
      m_csAllProjectsDir(allProjectsDir) {
    SetHelpPage("project.html");
    QFormLayout* form = GetForm();
    m_pName = AddField("Project name:", Q(settings.GetName()), 32);
    m_pProjectFolder = new QLabel(this);
    m_pProjectFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pProjectFolder->setWordWrap(true);
    form->addRow("This project folder:", m_pProjectFolder);
    m_pAllProjectsFolder = new QLabel(this);
    m_pAllProjectsFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pAllProjectsFolder->setWordWrap(true);
    form->addRow("All projects folder:", m_pAllProjectsFolder);
    m_pBrowse = new QPushButton("Browse to and set projects directory", this);
    auto* browseRow = new QHBoxLayout;
    browseRow->addWidget(m_pBrowse);
    browseRow->addStretch(1);
    form->addRow(QString(), browseRow);

    m_pDescription = AddField("Description:", Q(settings.GetDescription()));
    m_pBuildingType = new QComboBox(this);
    for (const std::string& name : CBuildingTypeData::GetBuildingTypeNames())
        m_pBuildingType->addItem(Q(name));
    m_pBuildingType->setCurrentIndex(-1);
    m_pBuildingType->setPlaceholderText("(select the building type)");
    form->addRow("Dominant building type:", m_pBuildingType);
    m_pMF = AddNumberField("Default maintenance factor MF:", kMf, settings.GetMaintenanceFactor(), 2, "", 10);
    m_pTown = AddField("Town/city:", Q(settings.GetLocation()));
    // The place is shown, and so taken on OK, to a tenth of a degree, as this dialog always has:
    // the Hdir/Hglob range is checked for the latitude shown (and the defaults of a new project
    // agree with it only at that precision).
    auto place = [](double degrees) { return std::round(degrees * 10.0) / 10.0; };
    m_pLatitude = AddNumberField("Latitude (\u00b0):", kLatitude, place(settings.GetLatitude()), 1);
    m_pLongitude = AddNumberField("Longitude (\u00b0):", kLongitude, place(settings.GetLongitude()), 1);
    m_pSuggested = new QLabel(this);
    form->addRow("Suggested Hdir/Hglob:", m_pSuggested);
    const double hdir = mode == PROJECT_DIALOG_NEW ? CLENIProject::GetDefaultHdirHglob(settings.GetLatitude())
                                                   : settings.GetHdirHglob();
    m_pHdirHglob = AddNumberField("Project Hdir/Hglob:", kHdirHglob, hdir, 2);
    m_pYearBuilt = AddField("Year built:", QString::number(settings.GetYearBuilt()), 4);
    NameNumberField(m_pYearBuilt, kYearBuilt);
    m_pYearToBeBuilt = AddField("Year to be built:", QString::number(settings.GetYearToBeBuilt()), 4);
    NameNumberField(m_pYearToBeBuilt, kYearToBeBuilt);
    // Left empty, nothing is shown in money, emissions or against a target.
    auto optionalField = [this](const QString& label, const TypedNumberField& what, const std::optional<double>& value) {
        QLineEdit* field = AddNumberField(label, what, value.value_or(0.0), 2);
        if (!value) field->clear();
        field->setPlaceholderText("(not set)");
        return field;
    };
    m_pEnergyPrice = optionalField("Energy price (per kWh):", kEnergyPrice, settings.GetEnergyPrice());
    m_pCO2Factor = optionalField("CO2 emission factor (kg/kWh):", kCO2Factor, settings.GetCO2Factor());
    m_pLeniTarget = optionalField("LENI target (kWh/(m\u00b2 year)):", kLeniTarget, settings.GetLeniTarget());

    if (mode == PROJECT_DIALOG_PROPERTIES) {
        const int index = m_pBuildingType->findText(Q(settings.GetDominantBuildingType()));
        if (index < 0)
            Log().Printf(LOG_ERROR, "PopulateComboFromStringList default not found:\n%s",
                         settings.GetDominantBuildingType().c_str());
        m_pBuildingType->setCurrentIndex(index);
        m_pName->setEnabled(false);
        m_pBrowse->hide();
    }
    connect(m_pName, &QLineEdit::textChanged, this, &CNewProjDlg::UpdateFolders);
    connect(m_pLatitude, &QLineEdit::textChanged, this, &CNewProjDlg::UpdateSuggestion);
    connect(m_pBrowse, &QPushButton::clicked, this, &CNewProjDlg::OnBrowse);
    UpdateFolders();
    UpdateSuggestion();
    setMinimumWidth(560);
    FinishLayout();
}

void CNewProjDlg::UpdateFolders() {
    m_pAllProjectsFolder->setText(Q(m_csAllProjectsDir));
    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    if (m_iMode == PROJECT_DIALOG_PROPERTIES && !m_Settings.GetProjectFolder().empty()) {
        m_pProjectFolder->setText(Q(m_Settings.GetProjectFolder()));
        return;
    }
    m_pProjectFolder->setText(
        Q(name.empty() ? m_csAllProjectsDir : JoinPath(m_csAllProjectsDir, MakeSafeFileName(name)).string()));
}

void CNewProjDlg::UpdateSuggestion() {
    double latitude = 0.0;
    const bool read = NumberReader().Read(FieldText(m_pLatitude), kLatitude, latitude);
    QString suggested = Q(SuggestedHdirHglobText(read ? latitude : -1.0));
    m_pSuggested->setText(suggested.replace('.', locale().decimalPoint()));
}

void CNewProjDlg::OnBrowse() {
    const QString chosen = AskExistingFolder(this, "Directory of projects", Q(m_csAllProjectsDir));
    if (chosen.isEmpty() || !DirectoryExists(chosen.toStdString())) return;
    m_csAllProjectsDir = chosen.toStdString();
    UpdateFolders();
}

bool CNewProjDlg::CheckYears(int& yearBuilt, int& yearToBeBuilt) const {
    if (!ReadNumber(m_pYearBuilt, kYearBuilt, yearBuilt) ||
        !ReadNumber(m_pYearToBeBuilt, kYearToBeBuilt, yearToBeBuilt))
        return false;
    if (yearBuilt != 0 && yearToBeBuilt != 0) {
        WalertBox("Please set one of the years to 0\nand the other to a 4 digit year, for example %d",
                  CurrentYear());
        return false;
    }
    if (yearBuilt == 0 && yearToBeBuilt == 0) {
        WalertBox("Please set one of the years to a 4 digit year, for example %d", CurrentYear());
        return false;
    }
    const int year = yearBuilt != 0 ? yearBuilt : yearToBeBuilt;
    if (year < 1000 || year > 9999) {
        WalertBox("One of the years has to be 4 digit year\nAnd the other has to be 0");
        return false;
    }
    return true;
}

bool CNewProjDlg::MakeProjectFolder(const std::string& folder) const {
    if (DirectoryExists(folder)) {
        if (WyesNoBox(
                "This project directory already exists.\nMaking a new project here will DELETE all data\nof "
                "the existing project. Continue?") != IDYES)
            return false;
        if (!DeleteProjectFolder(folder, m_csAllProjectsDir)) return false;
    }
    if (!CreateDirectoryPath(folder)) {
        Log().Printf(LOG_ERROR, "There was an error making the new project directory:\n%s", folder.c_str());
        return false;
    }
    return true;
}

bool CNewProjDlg::OnOK() {
    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    if (name.empty()) {
        WalertBox("Project name is...?");
        return false;
    }
    // Besides the nine characters, names the file system would read as another folder ("." or
    // "..") or could not hold (control characters) are refused.
    if (!IsAcceptableProjectName(name)) {
        WalertBox("%s", kBadNameCharactersMessage);
        return false;
    }
    if (m_csAllProjectsDir.size() <= 3 || !fs::path(m_csAllProjectsDir).has_relative_path()) {
        WalertBox("You must NOT put the project in a root directory.");
        return false;
    }
    if (m_pBuildingType->currentIndex() < 0) {
        WalertBox("Please select the building type");
        return false;
    }
    double mf = 0.0;
    if (!ReadNumber(m_pMF, kMf, mf)) return false;
    if (mf < 0.0 || mf > 1.0) {
        WalertBox("Maintenance factor should be between 0 and 1\nA guide default is %.2f", 0.70);
        return false;
    }
    double latitude = 0.0;
    if (!ReadNumber(m_pLatitude, kLatitude, latitude)) return false;
    if (latitude < 0.0 || latitude > 90.0) {
        WalertBox("Latitude should be between %.1f and %.1f.", 0.0, 90.0);
        return false;
    }
    double longitude = 0.0;
    if (!ReadNumber(m_pLongitude, kLongitude, longitude)) return false;
    if (longitude < -180.0 || longitude > 180.0) {
        WalertBox(
            "Longitude should be between %.1f and %.1f.\n0\u00b0... +180\u00b0 Eastwards from Greenwich,\n"
            "0\u00b0... -180\u00b0 Westwards from Greenwich",
            -180.0, 180.0);
        return false;
    }
    const std::string town = TrimWhiteSpace(FieldText(m_pTown));
    if (town.empty()) {
        WalertBox("The location should be a town or city name.");
        return false;
    }
    int yearBuilt = 0, yearToBeBuilt = 0;
    if (!CheckYears(yearBuilt, yearToBeBuilt)) return false;
    double hdir = 0.0;
    if (!ReadNumber(m_pHdirHglob, kHdirHglob, hdir)) return false;
    const HdirHglobRange range = GetHdirHglobMinMaxForLatitude(static_cast<int>(std::lround(latitude)));
    if (range.found && (hdir < range.min || hdir > range.max)) {
        WalertBox("For latitude %.1f\u00b0 Hdir/Hglob should be between %.2f and %.2f.", latitude, range.min,
                  range.max);
        return false;
    }
    std::optional<double> price, co2, target;
    if (!ReadOptionalNumber(m_pEnergyPrice, kEnergyPrice, price) || !ReadOptionalNumber(m_pCO2Factor, kCO2Factor, co2) ||
        !ReadOptionalNumber(m_pLeniTarget, kLeniTarget, target))
        return false;
    if (m_iMode == PROJECT_DIALOG_NEW) {
        const std::string folder = JoinPath(m_csAllProjectsDir, MakeSafeFileName(name)).string();
        if (!MakeProjectFolder(folder)) return false;
        m_Settings.SetName(name);
        m_Settings.SetProjectFolder(folder);
    }
    m_Settings.SetDescription(FieldText(m_pDescription));
    m_Settings.SetLocation(town);
    m_Settings.SetDominantBuildingType(m_pBuildingType->currentText().toStdString());
    m_Settings.SetMaintenanceFactor(std::clamp(mf, 0.0, 1.0));
    m_Settings.SetLatitude(std::clamp(latitude, 0.0, 90.0));
    m_Settings.SetLongitude(std::clamp(longitude, -180.0, 180.0));
    m_Settings.SetHdirHglob(hdir);
    m_Settings.SetYearBuilt(yearBuilt);
    m_Settings.SetYearToBeBuilt(yearBuilt != 0 ? 0 : yearToBeBuilt);
    m_Settings.SetEnergyPrice(price);
    m_Settings.SetCO2Factor(co2);
    m_Settings.SetLeniTarget(target);
    return true;
}

bool CNewProjDlg::ReadOptionalNumber(QLineEdit* field, const TypedNumberField& what,
                                     std::optional<double>& value) const {
    value.reset();
    if (TrimWhiteSpace(FieldText(field)).empty()) return true;
    double number = 0.0;
    if (!ReadNumber(field, what, number)) return false;
    if (number < 0.0) {
        WalertBox("%s should be %s.", what.name, what.range);
        field->setFocus();
        return false;
    }
    value = number;
    return true;
}
