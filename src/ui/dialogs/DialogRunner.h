#pragma once
// Modal dialogs and file dialogs of the desktop program go through here, so that a test can
// answer them through their widgets instead of a person.

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Called instead of exec(): it fills the dialog and presses OK (accept) or Cancel; a dialog it
// leaves alone counts as cancelled.
using DialogHook = std::function<void(QDialog& dialog)>;
void SetDialogHook(DialogHook hook);
// QDialog::Accepted or QDialog::Rejected.
int ExecDialog(QDialog& dialog);

enum FileDialogKind { FILE_DIALOG_OPEN = 0, FILE_DIALOG_SAVE = 1, FILE_DIALOG_FOLDER = 2 };
// Given the kind, the title and the starting folder or proposed path, returns the chosen path or
// an empty text for Cancel.
using FileDialogHook = std::function<QString(int kind, const QString& title, const QString& start)>;
void SetFileDialogHook(FileDialogHook hook);

// The file dialogs: an empty text when the user cancelled.
QString AskOpenFileName(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
// Several files at once; a test's hook answers them one to a line.
QStringList AskOpenFileNames(QWidget* parent, const QString& title, const QString& dir, const QString& filter);
// Warns before overwriting an existing file.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                        const QString& filter, const QString& defaultSuffix);
QString AskExistingFolder(QWidget* parent, const QString& title, const QString& dir);
