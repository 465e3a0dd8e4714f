#pragma once
// Message boxes of the program. The core only formats the text; a host installed by the
// desktop program shows it. Without a host (batch commands, tests) no box is ever shown:
// the text goes to the general log and a question takes its safe answer.

#include "base/Logger.h"

#include <string>

enum MbButtons { MB_BUTTONS_OK = 0, MB_BUTTONS_YESNO = 1, MB_BUTTONS_YESNOCANCEL = 2 };
enum MbIcon {
    MB_ICON_NONE = 0,
    MB_ICON_STOP = 1,
    MB_ICON_QUESTION = 2,
    MB_ICON_EXCLAMATION = 3,
    MB_ICON_INFORMATION = 4
};
enum MbResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

extern const char* const kMessageBoxCaption; // "Tolvane Software"

class IMessageBoxHost {
  public:
    virtual ~IMessageBoxHost() = default;
    virtual int Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) = 0;
};

// Installs the host (nullptr: no boxes). Returns the previous one.
IMessageBoxHost* SetMessageBoxHost(IMessageBoxHost* host);
IMessageBoxHost* GetMessageBoxHost();

void WalertBox(const char* format, ...) ORV_PRINTF(1, 2);
void AlertBox(const char* format, ...) ORV_PRINTF(1, 2);
int WyesNoCancelBox(const char* format, ...) ORV_PRINTF(1, 2);
int YesNoCancelBox(const char* format, ...) ORV_PRINTF(1, 2);
int WyesNoBox(const char* format, ...) ORV_PRINTF(1, 2);
void IconedWalertBoxW(int icon, const char* format, ...) ORV_PRINTF(2, 3);
// "Caller %s failed\nwith error\n%d:%s\n" with errno and its text, then the caller's own text.
void ReportLastError(const char* caller, const char* format, ...) ORV_PRINTF(2, 3);

// Shows an already formatted text.
int ShowMessageText(const std::string& text, MbButtons buttons, MbIcon icon, const char* caption = nullptr);
