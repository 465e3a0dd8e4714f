#include "ui/dialogs/DialogRunner.h"

#include <QDialog>
#include <QFileDialog>

namespace {
DialogHook& Hook() {
    static DialogHook hook;
    return hook;
}
FileDialogHook& FileHook() {
    static FileDialogHook hook;
    return hook;
}
} // namespace

void SetDialogHook(DialogHook hook) {
    Hook() = std::move(hook);
}

int ExecDialog(QDialog& dialog) {
    if (!Hook()) return dialog.exec();
    dialog.setResult(QDialog::Rejected);
    Hook()(dialog);
    return dialog.result();
}

void SetFileDialogHook(FileDialogHook hook) {
    FileHook() = std::move(hook);
}

QString AskOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    if (FileHook()) return FileHook()(FILE_DIALOG_OPEN, title, dir);
    return QFileDialog::getOpenFileName(parent, title, dir, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& dir, const QString& filter) {
    if (FileHook()) {
        const QString answer = FileHook()(FILE_DIALOG_OPEN, title, dir);
        return answer.isEmpty() ? QStringList() : answer.split('\n');
    }
    return QFileDialog::getOpenFileNames(parent, title, dir, filter, nullptr, QFileDialog::DontUseNativeDialog);
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                        const QString& filter, const QString& defaultSuffix) {
    if (FileHook()) return FileHook()(FILE_DIALOG_SAVE, title, proposedPath);
    QFileDialog dialog(parent, title, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString AskExistingFolder(QWidget* parent, const QString& title, const QString& dir) {
    if (FileHook()) return FileHook()(FILE_DIALOG_FOLDER, title, dir);
    return QFileDialog::getExistingDirectory(parent, title, dir, QFileDialog::ShowDirsOnly);
}
