#include "ui/shell/HelpPages.h"

#include "app/LENIBApp.h"
#include "base/FileUtils.h"

#include <QApplication>
#include <QDesktopServices>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
HelpHook& Hook() {
    static HelpHook hook;
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
    if (Hook())
        Hook()(url);
    else if (QApplication::platformName() != "offscreen")
        QDesktopServices::openUrl(url);
    return true;
}
