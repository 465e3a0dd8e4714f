#pragma once
// The user manual: HTML pages opened in the platform's browser, the contents from Help > Help
// and a dialog's own page from F1 in that dialog.

#include <QUrl>
#include <functional>
#include <string>

class QDialog;
class QDialogButtonBox;

// Called instead of the browser, so that a test can see which page would open.
using HelpHook = std::function<void(const QUrl& url)>;
void SetHelpHook(HelpHook hook);

// Opens a page of the manual ("room.html", "batch.html#exit-codes"; empty: the contents). A page
// the manual does not have opens the contents instead. Without a help file the missing help is
// reported and false is returned.
bool ShowHelpPage(const std::string& page = std::string());

// The address ShowHelpPage opens for a page; empty without a help file.
QUrl HelpPageUrl(const std::string& page);

// Starts the browser on an address; false when none could be started. A test sets its own.
using BrowserHook = std::function<bool(const QUrl& url)>;
void SetBrowserHook(BrowserHook hook);

// Gives a dialog its page of the manual: F1 anywhere in it, and a Help button in `buttons` when
// given. The page is kept as the dialog's property "helpPage".
void AddDialogHelp(QDialog& dialog, const std::string& page, QDialogButtonBox* buttons);
