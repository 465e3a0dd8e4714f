#include "ui/results/VariantsDlg.h"

#include "app/LENIBDoc.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "report/CostAndTarget.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/shell/HelpPages.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

// A number shown with two decimals that sorts by its value.
class NumberItem : public QTableWidgetItem {
  public:
    explicit NumberItem(double value, bool shown = true)
        : QTableWidgetItem(shown ? Q(FormatDouble("%.2f", value)) : QString()), m_dValue(shown ? value : -1e300) {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* number = dynamic_cast<const NumberItem*>(&other);
        return number ? m_dValue < number->m_dValue : QTableWidgetItem::operator<(other);
    }

  private:
    double m_dValue;
};

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->setAlternatingRowColors(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const std::vector<QTableWidgetItem*>& items) {
    for (size_t c = 0; c < items.size(); ++c)
        table->setItem(row, static_cast<int>(c), items[c]);
}

QLabel* MakeHeadline(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

// ---- Savings advisor ----

CSavingsAdvisorDlg::CSavingsAdvisorDlg(CLENIBDoc& doc, QWidget* parent) : QDialog(parent), m_Doc(doc) {
    setWindowTitle("Savings Advisor");
    auto* main = new QVBoxLayout(this);
    m_pBuilding = MakeHeadline(this);
    main->addWidget(m_pBuilding);
    auto* note = new QLabel("Per zone, the choices of its own controls that lower the building's annual energy, "
                            "most saved first. Click a heading to sort.",
                            this);
    note->setWordWrap(true);
    main->addWidget(note);
    auto* fccRow = new QHBoxLayout;
    fccRow->addWidget(new QLabel("Fcc for constant illuminance control (zones without their own):", this));
    m_pFcc = new QLineEdit(Q(FormatDouble("%.2f", m_dFcc)), this);
    m_pFcc->setMaximumWidth(80);
    fccRow->addWidget(m_pFcc);
    m_pAdvise = new QPushButton("Advise", this);
    m_pAdvise->setAutoDefault(false);
    fccRow->addWidget(m_pAdvise);
    fccRow->addStretch(1);
    main->addLayout(fccRow);
    connect(m_pAdvise, &QPushButton::clicked, this, [this]() {
        // A number in (0, 1], with a point or a comma; anything else keeps the Fcc in use.
        std::string text = m_pFcc->text().trimmed().toStdString();
        std::replace(text.begin(), text.end(), ',', '.');
        char* end = nullptr;
        const double fcc = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || !(fcc > 0.0 && fcc <= 1.0)) {
            Log().Printf(LOG_ERROR, "Fcc should be a number above 0 and at most 1");
            m_pFcc->setText(Q(FormatDouble("%.2f", m_dFcc)));
            return;
        }
        m_dFcc = fcc;
        Fill();
    });
    QStringList headers{"Floor", "Room", "Zone", "Option", "Saved (kWh/year)", "Building after (kWh/year)",
                        "LENI after (kWh/(m\u00b2 year))"};
    const CLENIProject& project = doc.GetProject();
    if (project.GetEnergyPrice()) headers << "Cost saved (per year)";
    if (project.GetCO2Factor()) headers << "CO2 saved (kg/year)";
    m_pTable = MakeTable(this, headers);
    main->addWidget(m_pTable, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_pApply = buttons->addButton("Apply", QDialogButtonBox::ActionRole);
    m_pApply->setToolTip("Put the selected option into its zone (one undo step)");
    connect(m_pApply, &QPushButton::clicked, this, [this]() { ApplySelected(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    AddDialogHelp(*this, "variants.html#advisor", buttons);
    main->addWidget(buttons);
    resize(1180, 560);
    Fill();
}

void CSavingsAdvisorDlg::Fill() {
    const CLENIProject& project = m_Doc.GetProject();
    m_Advice = AdviseSavings(project, m_dFcc);
    const double saved = m_Advice.energyBefore - m_Advice.energyAllBest;
    std::string line = StrPrintf("Building: LENI %.2f kWh/(m\xC2\xB2 year) now; %.2f with every zone's best option "
                                 "(%d zones), saving %.2f kWh/year",
                                 m_Advice.leniBefore, m_Advice.leniAllBest, m_Advice.zonesImproved, saved);
    const std::string cost = GetCostAndCO2Line(project, saved, 0);
    if (!cost.empty()) line += " (" + cost + ")";
    const std::string target = GetTargetLine(project, m_Advice.leniAllBest, 0);
    if (!target.empty()) line += "\nWith every best option: " + target;
    m_pBuilding->setText(Q(line));

    m_pTable->setSortingEnabled(false);
    m_pTable->setRowCount(static_cast<int>(m_Advice.options.size()));
    for (size_t i = 0; i < m_Advice.options.size(); ++i) {
        const AdviceOption& o = m_Advice.options[i];
        auto* first = new QTableWidgetItem(Q(o.floorName));
        first->setData(Qt::UserRole, static_cast<int>(i)); // the option, whatever the sorting
        std::vector<QTableWidgetItem*> items{first, new QTableWidgetItem(Q(o.roomName)),
                                             new QTableWidgetItem(Q(o.zoneName)), new QTableWidgetItem(Q(o.label)),
                                             new NumberItem(o.saved), new NumberItem(o.energyAfter),
                                             new NumberItem(o.leniAfter)};
        if (project.GetEnergyPrice()) items.push_back(new NumberItem(o.saved * *project.GetEnergyPrice()));
        if (project.GetCO2Factor()) items.push_back(new NumberItem(o.saved * *project.GetCO2Factor()));
        SetRow(m_pTable, static_cast<int>(i), items);
    }
    // Most saved first over all zones; a click on a heading sorts by another column.
    m_pTable->horizontalHeader()->setSortIndicator(4, Qt::DescendingOrder);
    m_pTable->setSortingEnabled(true);
    m_pTable->resizeColumnsToContents();
    m_pApply->setEnabled(!m_Advice.options.empty());
    if (!m_Advice.options.empty()) m_pTable->selectRow(0);
}

std::string CSavingsAdvisorDlg::GetBuildingLine() const {
    return m_pBuilding->text().toStdString();
}

bool CSavingsAdvisorDlg::ApplySelected() {
    const int row = m_pTable->currentRow();
    if (row < 0 || !m_pTable->item(row, 0)) return false;
    const size_t index = static_cast<size_t>(m_pTable->item(row, 0)->data(Qt::UserRole).toInt());
    if (index >= m_Advice.options.size()) return false;
    m_Doc.BeginChange();
    if (!ApplyAdviceOption(m_Doc.GetProject(), m_Advice.options[index])) {
        m_Doc.Undo();
        Log().Printf(LOG_ERROR, "The zone of the option is no longer in the project");
        return false;
    }
    m_Doc.SetModifiedFlag(true);
    Fill();
    return true;
}

void ShowSavingsAdvisor(QWidget* parent, CLENIBDoc& doc) {
    if (!doc.IsProjectOpen() || doc.GetProject().GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "There is no building to advise on");
        return;
    }
    CSavingsAdvisorDlg dialog(doc, parent);
    ExecDialog(dialog);
}

// ---- Comparison ----

CCompareDlg::CCompareDlg(const CLENIProject& a, const std::string& nameB, const ProjectComparison& comparison,
                         QWidget* parent)
    : QDialog(parent), m_Comparison(comparison) {
    m_csTitle = "Compare " + a.GetName() + " (A) with " + nameB + " (B)";
    setWindowTitle(Q(m_csTitle));
    auto* main = new QVBoxLayout(this);
    m_pBuilding = MakeHeadline(this);
    main->addWidget(m_pBuilding);
    m_pTable = MakeTable(this, {"Level", "Floor", "Room", "Status", "Area A", "Area B", "Power A (W)", "Power B (W)",
                                "Wl A (kWh)", "Wl B (kWh)", "Wp A (kWh)", "Wp B (kWh)", "LENI A", "LENI B",
                                "LENI B-A"});
    main->addWidget(m_pTable, 1);

    int changed = 0, added = 0, removed = 0;
    static const char* const kLevels[] = {"Building", "Floor", "Room"};
    m_pTable->setRowCount(static_cast<int>(comparison.rows.size()));
    for (size_t i = 0; i < comparison.rows.size(); ++i) {
        const CompareRow& r = comparison.rows[i];
        const std::string status = r.Status();
        if (r.level == COMPARE_ROOM) {
            changed += status == "changed";
            added += status == "added";
            removed += status == "removed";
        }
        const LeniTimeStepResult& ya = r.a.steps[0];
        const LeniTimeStepResult& yb = r.b.steps[0];
        SetRow(m_pTable, static_cast<int>(i),
               {new QTableWidgetItem(kLevels[r.level]), new QTableWidgetItem(Q(r.floor)),
                new QTableWidgetItem(Q(r.room)), new QTableWidgetItem(Q(status)), new NumberItem(r.a.area, r.inA),
                new NumberItem(r.b.area, r.inB), new NumberItem(r.a.installedPower, r.inA),
                new NumberItem(r.b.installedPower, r.inB), new NumberItem(ya.Wl, r.inA), new NumberItem(yb.Wl, r.inB),
                new NumberItem(ya.Wp, r.inA), new NumberItem(yb.Wp, r.inB), new NumberItem(ya.GetLENI(), r.inA),
                new NumberItem(yb.GetLENI(), r.inB),
                new NumberItem(yb.GetLENI() - ya.GetLENI(), r.inA && r.inB)});
    }
    // In the comparison's order (the building first) until a heading is clicked.
    m_pTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_pTable->setSortingEnabled(true);
    m_pTable->resizeColumnsToContents();

    const CompareRow& building = comparison.rows.front();
    const LeniTimeStepResult& ba = building.a.steps[0];
    const LeniTimeStepResult& bb = building.b.steps[0];
    m_pBuilding->setText(Q(StrPrintf("Building, annual: LENI %.2f (A) and %.2f (B), B-A %+.2f kWh/(m\xC2\xB2 year); "
                                     "energy %.2f and %.2f kWh, B-A %+.2f kWh; rooms: %d changed, %d added, %d removed",
                                     ba.GetLENI(), bb.GetLENI(), bb.GetLENI() - ba.GetLENI(), ba.Wl + ba.Wp,
                                     bb.Wl + bb.Wp, (bb.Wl + bb.Wp) - (ba.Wl + ba.Wp), changed, added, removed)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* csv = buttons->addButton("Export CSV...", QDialogButtonBox::ActionRole);
    QPushButton* pdf = buttons->addButton("Export PDF...", QDialogButtonBox::ActionRole);
    connect(csv, &QPushButton::clicked, this, [this]() {
        const QString path = AskSaveFileName(this, "Export comparison as CSV", "comparison.csv", "CSV (*.csv)", "csv");
        if (!path.isEmpty()) ExportCsv(path.toStdString());
    });
    connect(pdf, &QPushButton::clicked, this, [this]() {
        const QString path = AskSaveFileName(this, "Export comparison as PDF", "comparison.pdf", "PDF (*.pdf)", "pdf");
        if (!path.isEmpty()) ExportPdf(path.toStdString());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    AddDialogHelp(*this, "variants.html#compare", buttons);
    main->addWidget(buttons);
    resize(1280, 560);
}

std::string CCompareDlg::GetBuildingLine() const {
    return m_pBuilding->text().toStdString();
}

bool CCompareDlg::ExportCsv(const std::string& path) const {
    std::string reason;
    if (WriteFileSafely(fs::u8path(path), GetComparisonCsv(m_Comparison), &reason)) return true;
    Log().Printf(LOG_ERROR, "The comparison could not be written:\n%s\n%s", path.c_str(), reason.c_str());
    return false;
}

bool CCompareDlg::ExportPdf(const std::string& path) const {
    // The table as the dialog shows it (its sorting included), under the building's line.
    QString html = "<h3>" + Q(m_csTitle).toHtmlEscaped() + "</h3><p>" + m_pBuilding->text().toHtmlEscaped() +
                   "</p><table border='1' cellspacing='0' cellpadding='2' style='font-size:7pt'><tr>";
    for (int c = 0; c < m_pTable->columnCount(); ++c)
        html += "<th>" + m_pTable->horizontalHeaderItem(c)->text().toHtmlEscaped() + "</th>";
    html += "</tr>";
    for (int r = 0; r < m_pTable->rowCount(); ++r) {
        html += "<tr>";
        for (int c = 0; c < m_pTable->columnCount(); ++c) {
            const QTableWidgetItem* item = m_pTable->item(r, c);
            html += QString(c >= 4 ? "<td align='right'>" : "<td>") + (item ? item->text().toHtmlEscaped() : "") +
                    "</td>";
        }
        html += "</tr>";
    }
    html += "</table>";
    QTextDocument document;
    document.setHtml(html);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    const std::string temporary = path + ".orvtmp";
    printer.setOutputFileName(Q(temporary));
    document.print(&printer);
    std::error_code error;
    if (FileExists(temporary)) fs::rename(fs::u8path(temporary), fs::u8path(path), error);
    if (!FileExists(temporary) && !error && FileExists(path)) return true;
    fs::remove(fs::u8path(temporary), error);
    Log().Printf(LOG_ERROR, "The comparison could not be written:\n%s", path.c_str());
    return false;
}

void ShowCompareWithProject(QWidget* parent, const CLENIProject& current) {
    if (current.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "There is no building to compare");
        return;
    }
    const QString chosen = AskOpenFileName(parent, "Compare with Project", Q(current.GetProjectFolder()),
                                           "LENI Comprehensive Project (*.LENI1XML *.leni1xml)");
    if (chosen.isEmpty()) return;
    CLENIProject other;
    if (!other.ReadProject(chosen.toStdString())) {
        Log().Printf(LOG_ERROR, "The project to compare with could not be read:\n%s", chosen.toStdString().c_str());
        return;
    }
    ProjectComparison comparison;
    if (!CompareProjects(current, other, comparison)) return;
    CCompareDlg dialog(current, other.GetName(), comparison, parent);
    ExecDialog(dialog);
}
