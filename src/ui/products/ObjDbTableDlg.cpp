#include "ui/products/ObjDbTableDlg.h"

#include "app/LENIBDoc.h"
#include "app/Preferences.h"
#include "base/FileUtils.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"
#include "products/Photometry.h"
#include "products/ProductImport.h"
#include "products/StarterCatalogue.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/ContextHooks.h"
#include "ui/products/ObjDataDlg.h"
#include "ui/shell/HelpPages.h"

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace {

// The photometric file each product imported in this run came from, so its edit dialog can show
// what the file says.
std::map<std::string, std::string>& ImportedFiles() {
    static std::map<std::string, std::string> files;
    return files;
}
// The photometry of products imported from luminaire containers in this run, which have no file
// of their own to read it from.
std::map<std::string, CPhotometry>& ImportedPhotometry() {
    static std::map<std::string, CPhotometry> photometry;
    return photometry;
}
std::string Key(const std::string& refId) {
    std::string key = refId;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

bool EndsWithNoCase(const std::string& path, const char* ending) {
    const size_t n = std::char_traits<char>::length(ending);
    return path.size() >= n && EqualsNoCase(path.substr(path.size() - n), ending);
}

// The import's own rule for an EULUMDAT name.
bool IsLdtName(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.size() > 4 && name[name.size() - 4] == '.' &&
           EqualsNoCase(name.substr(name.size() - 3), "LDT");
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
    return QString::fromStdString(text).contains(QString::fromStdString(part), Qt::CaseInsensitive);
}

} // namespace

CObjDbTableDlg::CObjDbTableDlg(int mode, CLENIProject* project, QWidget* parent)
    : QDialog(parent), m_eMode(mode), m_pProject(project) {
    setWindowTitle("Product Database");
    auto* main = new QVBoxLayout(this);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel("Filter:", this));
    m_pFilter = new QLineEdit(this);
    m_pFilter->setPlaceholderText("Reference id, description or type contains...");
    m_pFilter->setClearButtonEnabled(true);
    filterRow->addWidget(m_pFilter, 1);
    main->addLayout(filterRow);

    m_pTable = new QTableWidget(0, 6, this);
    QStringList headers;
    for (const char* h : kColumnHeaders)
        headers << h;
    m_pTable->setHorizontalHeaderLabels(headers);
    const QFontMetrics metrics(m_pTable->horizontalHeader()->font());
    for (int c = 0; c < 6; ++c)
        m_pTable->setColumnWidth(c, metrics.horizontalAdvance(headers[c]) + 15);
    // Descriptions are the longest texts: that column takes the room the window has to spare.
    m_pTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_pTable->verticalHeader()->setVisible(false);
    m_pTable->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    m_pTable->setWordWrap(false);
    m_pTable->setTextElideMode(Qt::ElideRight);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setAlternatingRowColors(true);
    m_pTable->installEventFilter(this);
    main->addWidget(m_pTable, 1);

    m_pDragNote = new QLabel("You can drag .LDT and .IES files into this dialog", this);
    m_pDeleteNote = new QLabel("Use DELETE or BACKSPACE key to remove an object", this);
    main->addWidget(m_pDragNote);
    main->addWidget(m_pDeleteNote);

    auto* buttons = new QHBoxLayout;
    m_pAddNew = new QPushButton("Add New Object To Database...", this);
    m_pAddFile = new QPushButton("Add Photometric File...", this);
    m_pAddToZone = new QPushButton("Add Object To Zone", this);
    m_pImportFiles = new QPushButton("Import Files...", this);
    m_pImportFolder = new QPushButton("Import Folder...", this);
    m_pAddGeneric = new QPushButton("Add Generic Products", this);
    m_pImportFiles->setToolTip("EULUMDAT (.ldt), IESNA (.ies) and luminaire container (.gldf) files, several at once");
    m_pImportFolder->setToolTip("Every .ldt, .ies and .gldf file of a folder and its subfolders");
    m_pAddGeneric->setToolTip("The generic products a new database starts with, where missing");
    buttons->addWidget(m_pAddNew);
    buttons->addWidget(m_pAddFile);
    buttons->addWidget(m_pImportFiles);
    buttons->addWidget(m_pImportFolder);
    buttons->addWidget(m_pAddGeneric);
    buttons->addWidget(m_pAddToZone);
    buttons->addStretch(1);
    auto* close =
        new QDialogButtonBox(mode == OBJDB_CHOOSE ? QDialogButtonBox::Cancel : QDialogButtonBox::Close, this);
    buttons->addWidget(close);
    main->addLayout(buttons);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    AddDialogHelp(*this, "product-database.html", close);

    connect(m_pFilter, &QLineEdit::textChanged, this, [this] { FillTable(); });
    connect(m_pTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CObjDbTableDlg::OnHeaderClicked);
    connect(m_pTable, &QTableWidget::cellClicked, this, [this](int row, int) { m_iLastRow = row; });
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OnDoubleClicked(row); });
    connect(m_pAddNew, &QPushButton::clicked, this, &CObjDbTableDlg::OnAddNew);
    connect(m_pAddFile, &QPushButton::clicked, this, &CObjDbTableDlg::OnAddFile);
    connect(m_pAddToZone, &QPushButton::clicked, this, &CObjDbTableDlg::OnAddToZone);
    connect(m_pImportFiles, &QPushButton::clicked, this, [this] {
        const QStringList paths =
            AskOpenFileNames(this, "Import Luminaire Files", QString::fromStdString(Preferences().m_csLdtIesDir),
                             "Luminaire files (*.ldt *.LDT *.ies *.IES *.gldf *.GLDF)");
        std::vector<std::string> list;
        for (const QString& path : paths) list.push_back(path.toStdString());
        if (!list.empty()) ImportPaths(list);
    });
    connect(m_pImportFolder, &QPushButton::clicked, this, [this] {
        const QString folder = AskExistingFolder(this, "Import Luminaire Folder",
                                                 QString::fromStdString(Preferences().m_csLdtIesDir));
        if (!folder.isEmpty()) ImportPaths({folder.toStdString()});
    });
    connect(m_pAddGeneric, &QPushButton::clicked, this, [this] {
        const int added = AddStarterCatalogue(CLumSysDataBase::Global());
        if (added > 0) Changed();
        FillTable();
        WalertBox("%d generic products added (%d already present).", added,
                  static_cast<int>(StarterCatalogue().size()) - added);
    });

    const bool editing = mode == OBJDB_EDIT;
    setAcceptDrops(editing);
    m_pDragNote->setVisible(editing);
    m_pDeleteNote->setVisible(editing);
    m_pAddNew->setVisible(editing);
    m_pAddFile->setVisible(editing);
    m_pAddToZone->setVisible(mode == OBJDB_CHOOSE);
    m_pAddGeneric->setVisible(editing);
    if (!IsModeValid()) {
        Log().Printf(LOG_ERROR, "Unhandled m_eMode in CLumCatDlg");
        return;
    }
    resize(900, 560);
    FillTable();
}

void CObjDbTableDlg::FillTable() {
    std::vector<CLumTypeData> rows;
    if (m_pProject) rows = m_pProject->GetProducts().GetProducts();
    for (const CLumTypeData& product : CLumSysDataBase::Global().GetProducts())
        if (!m_pProject || !m_pProject->GetProducts().HasRefId(product.GetRefId())) rows.push_back(product);
    std::stable_sort(rows.begin(), rows.end(), [this](const CLumTypeData& a, const CLumTypeData& b) {
        const int order = QString::compare(QString::fromStdString(a.GetRefId()),
                                           QString::fromStdString(b.GetRefId()), Qt::CaseInsensitive);
        return m_bSortAscending ? order < 0 : order > 0;
    });
    const std::string filter = TrimWhiteSpace(m_pFilter->text().toStdString());
    if (!filter.empty())
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](const CLumTypeData& p) {
                                      return !ContainsNoCase(p.GetRefId(), filter) &&
                                             !ContainsNoCase(p.GetDesc(), filter) &&
                                             !ContainsNoCase(GetLumTypeName(p.GetTypeFlags()), filter);
                                  }),
                   rows.end());

    m_pTable->clearContents();
    m_pTable->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const CLumTypeData& p = rows[r];
        const std::string texts[6] = {p.GetRefId(),
                                      p.GetDesc(),
                                      FormatDouble("%.2f W", p.GetMaxPow()),
                                      FormatDouble("%.2f W", p.GetStandbyPow()),
                                      FormatDouble("%.2f W", p.GetChargePow()),
                                      GetLumTypeName(p.GetTypeFlags())};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
            if (c >= 2 && c <= 4) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 1) item->setToolTip(item->text());
            m_pTable->setItem(r, c, item);
        }
    }
    // Row numbers now stand for other products: a key pressed later must not act on one the user
    // never clicked.
    m_iLastRow = -1;
    m_pTable->clearSelection();
}

std::string CObjDbTableDlg::RefIdOfRow(int row) const {
    const QTableWidgetItem* item = m_pTable->item(row, 0);
    return item ? item->text().toStdString() : std::string();
}

void CObjDbTableDlg::OnHeaderClicked(int column) {
    if (column != 0) return;
    m_bSortAscending = !m_bSortAscending;
    FillTable();
}

void CObjDbTableDlg::OnDoubleClicked(int row) {
    const std::string refId = RefIdOfRow(row);
    if (refId.empty()) return;
    if (m_eMode == OBJDB_CHOOSE) {
        m_csChosenRefId = refId;
        accept();
        return;
    }
    if (m_pProject && m_pProject->GetProducts().HasRefId(refId)) {
        WalertBox("Products in the project's database cannot be edited");
        return;
    }
    CLumSysDataBase& global = CLumSysDataBase::Global();
    CLumTypeData product = global.GetLumDataFromRefId(refId);
    CPhotometry photometry;
    const auto source = ImportedFiles().find(Key(refId));
    const auto held = ImportedPhotometry().find(Key(refId));
    bool preview = source != ImportedFiles().end() && photometry.ReadFile(source->second);
    if (!preview && held != ImportedPhotometry().end()) {
        photometry = held->second;
        preview = true;
    }
    if (!EditProduct(this, product, OBJDATA_EDIT, preview ? &photometry : nullptr)) return;
    global.ReplaceLumData(product);
    Changed();
    FillTable();
}

void CObjDbTableDlg::OnAddToZone() {
    if (m_iLastRow < 0 || RefIdOfRow(m_iLastRow).empty()) {
        WalertBox("Please select an object from the list");
        return;
    }
    m_csChosenRefId = RefIdOfRow(m_iLastRow);
    accept();
}

void CObjDbTableDlg::OnAddNew() {
    CLumTypeData product;
    if (!EditProduct(this, product, OBJDATA_NEW)) return;
    CLumSysDataBase::Global().AddLumData(product);
    Changed();
    FillTable();
}

void CObjDbTableDlg::OnAddFile() {
    const QString path =
        AskOpenFileName(this, "Open Photometric file", QString::fromStdString(Preferences().m_csLdtIesDir),
                        "Eulumdat (*.LDT *.ldt);;IESNA (*.IES *.ies)");
    if (path.isEmpty()) return;
    ImportFile(path.toStdString());
    const std::string dir = fs::path(path.toStdString()).parent_path().string();
    if (DirectoryExists(dir))
        Preferences().m_csLdtIesDir = dir;
    else
        Log().Printf(LOG_ERROR, "SPPLD: Dir does not exist:\n%s", dir.c_str());
}

void CObjDbTableDlg::OnDelete() {
    const std::string refId = RefIdOfRow(m_iLastRow);
    if (refId.empty()) return;
    if (m_pProject && m_pProject->IsProductUsed(refId)) {
        Log().Printf(LOG_ERROR, "The current project uses this object\n(%s) so it cannot be deleted.",
                     refId.c_str());
        return;
    }
    if (WyesNoBox("Delete <%s> from database?", refId.c_str()) != IDYES) return;
    CLumSysDataBase& global = CLumSysDataBase::Global();
    const int before = global.GetCount();
    global.DeleteObject(refId);
    if (global.GetCount() != before) Changed();
    FillTable();
}

void CObjDbTableDlg::ImportFile(const std::string& path) {
    CLumSysDataBase& global = CLumSysDataBase::Global();
    if (IsLdtName(path) && FileExists(path)) {
        CLumTypeData read;
        if (read.ReadLdtLines(path) && read.GetRefId().empty()) {
            ImportWithoutRefId(path);
            return;
        }
    }
    const int before = global.GetCount();
    if (global.ImportProductFile(path) && global.GetCount() > before) {
        ImportedFiles()[Key(global.GetProducts().back().GetRefId())] = path;
        Changed();
    }
    FillTable();
}

void CObjDbTableDlg::ImportWithoutRefId(const std::string& path) {
    // Many makers leave the luminaire number empty; the user names the product instead of being
    // refused. The note stays in the log for whoever wonders where the name came from.
    Log().Printf(LOG_INFO, "Line 10 (ref id) of the LDT is empty:\n%s", path.c_str());
    CLumTypeData product;
    product.ReadLdtLines(path);
    product.SetRefId(WideCharFromAscii(fs::path(path).stem().string()));
    CPhotometry photometry;
    std::string reason;
    if (!photometry.ReadFile(path, &reason))
        Log().Printf(LOG_INFO, "No intensity table read from\n%s\n%s", path.c_str(), reason.c_str());
    if (!EditProduct(this, product, OBJDATA_NEW, &photometry)) return;
    CLumSysDataBase::Global().AddLumData(product);
    ImportedFiles()[Key(product.GetRefId())] = path;
    Changed();
    FillTable();
}

void CObjDbTableDlg::Changed() {
    m_bChanged = true;
}

bool CObjDbTableDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pTable && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            if (m_eMode == OBJDB_EDIT && m_iLastRow >= 0) OnDelete();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CObjDbTableDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (m_eMode == OBJDB_EDIT && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QDialog::dragEnterEvent(event);
}

void CObjDbTableDlg::dropEvent(QDropEvent* event) {
    if (m_eMode != OBJDB_EDIT) {
        QDialog::dropEvent(event);
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << url.toLocalFile();
    event->acceptProposedAction();
    DropFiles(paths);
}

void CObjDbTableDlg::DropFiles(const QStringList& paths) {
    if (paths.size() > 1) {
        WalertBox("You can only drag one LDT or IES file at a time.");
        return;
    }
    const std::string path = paths.isEmpty() ? std::string() : paths.front().toStdString();
    if (path.empty()) {
        WalertBox("Files of this type cannot be dropped into here");
    } else if (EndsWithNoCase(path, ".DXF")) {
        WalertBox("DXF files must be dragged into the main window\nafter this dialog has been closed.");
    } else if (EndsWithNoCase(path, ".LDT") || EndsWithNoCase(path, ".IES")) {
        ImportFile(path);
    } else if (EndsWithNoCase(path, ".GLDF")) {
        ImportPaths({path});
    } else {
        WalertBox("Files of this type cannot be added into\nthe luminaire database dialog.");
    }
}

void CObjDbTableDlg::ImportPaths(const std::vector<std::string>& paths) {
    ProductImportSummary summary;
    std::map<std::string, CPhotometry> previews;
    const std::vector<std::string> files = CollectProductFiles(paths, summary);
    ImportProductFiles(CLumSysDataBase::Global(), files, summary, &previews);
    for (auto& preview : previews) ImportedPhotometry()[Key(preview.first)] = std::move(preview.second);
    if (!summary.imported.empty()) Changed();
    if (!paths.empty()) {
        const fs::path first(paths.front());
        const std::string dir = fs::is_directory(first) ? first.string() : first.parent_path().string();
        if (DirectoryExists(dir)) Preferences().m_csLdtIesDir = dir;
    }
    FillTable();
    WalertBox("%s", summary.Text().c_str());
}

bool ShowProductDatabase(QWidget* parent, int mode, CLENIProject* project, std::string* chosenRefId) {
    CObjDbTableDlg dialog(mode, project, parent);
    if (!dialog.IsModeValid()) return false;
    const int result = ExecDialog(dialog);
    // The changes are written as the dialog closes, not only at exit, so a crash afterwards keeps them.
    if (dialog.IsChanged()) CLumSysDataBase::Global().WriteIfChanged();
    if (result != QDialog::Accepted || mode != OBJDB_CHOOSE) return false;
    if (chosenRefId) *chosenRefId = dialog.GetChosenRefId();
    return !dialog.GetChosenRefId().empty();
}

bool ChooseProduct(QWidget* parent, CLENIBDoc& doc, std::string& refId) {
    return ShowProductDatabase(parent, OBJDB_CHOOSE, &doc.GetProject(), &refId);
}
