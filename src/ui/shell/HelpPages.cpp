#include "ui/shell/HelpPages.h"

#include "app/LENIBApp.h"
#include "base/FileUtils.h"
#include "base/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
HelpHook& Hook() {
    static HelpHook hook;
    return hook;
}

BrowserHook& Browser() {
    static BrowserHook hook;
    return hook;
}

bool IsHtml(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".html" || extension == ".htm";
}
} // namespace

void SetHelpHook(HelpHook hook) {
    Hook() = std::move(hook);
}

void SetBrowserHook(BrowserHook hook) {
    Browser() = std::move(hook);
}

void AddDialogHelp(QDialog& dialog, const std::string& page, QDialogButtonBox* buttons) {
    dialog.setProperty("helpPage", QString::fromStdString(page));
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    QObject::connect(f1, &QShortcut::activated, &dialog, [page] { ShowHelpPage(page); });
    if (!buttons) return;
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, [page] { ShowHelpPage(page); });
}

QUrl HelpPageUrl(const std::string& page) {
    const fs::path help(App().GetHelpFilePath());
    if (help.empty()) return QUrl();
    const size_t hash = page.find('#');
    const std::string file = page.substr(0, hash);
    // A help file of another kind (one the user put in the app-data folder) has no pages to go to.
    fs::path target = help;
    if (IsHtml(help) && !file.empty() && FileExists(help.parent_path() / file))
        target = help.parent_path() / file;
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(target.string()));
    if (target != help && hash != std::string::npos)
        url.setFragment(QString::fromStdString(page.substr(hash + 1)));
    return url;
}

bool ShowHelpPage(const std::string& page) {
    const QUrl url = HelpPageUrl(page);
    if (url.isEmpty()) {
        App().ReportHelpFileNotFound();
        return false;
    }
    bool opened = true;
    if (Hook())
        Hook()(url);
    else if (Browser())
        opened = Browser()(url);
    else if (QApplication::platformName() != "offscreen")
        opened = QDesktopServices::openUrl(url);
    if (!opened) {
        // The manual is plain HTML: the user can open it with whatever reads HTML.
        const fs::path path(url.toLocalFile().toStdString());
        WalertBox("No browser could be started to show the manual.\nThe manual is in the folder\n%s\nOpen %s "
                  "there with a browser.",
                  path.parent_path().string().c_str(), path.filename().string().c_str());
    }
    return opened;
}
