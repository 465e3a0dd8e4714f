#include "base/MessageBoxes.h"

#include "base/DeferredOutput.h"
#include "base/TextUtils.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

const char* const kMessageBoxCaption = "Tolvane Software";

static IMessageBoxHost* g_pHost = nullptr;
static bool g_bInBox = false;

namespace {
// The answer that changes nothing, for a box no one can answer.
int SafeAnswer(MbButtons buttons) {
    switch (buttons) {
    case MB_BUTTONS_YESNOCANCEL:
        return IDCANCEL;
    case MB_BUTTONS_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}
// The log's errors are shown as plain boxes.
class CLogBoxes : public ILogBoxDisplay {
  public:
    CLogBoxes() { SetLogBoxDisplay(this); }
    void Show(const std::string& text) override { ShowMessageText(text, MB_BUTTONS_OK, MB_ICON_NONE); }
    bool HasHost() const override { return g_pHost != nullptr; }
};
CLogBoxes g_LogBoxes;

} // namespace

IMessageBoxHost* SetMessageBoxHost(IMessageBoxHost* host) {
    IMessageBoxHost* old = g_pHost;
    g_pHost = host;
    return old;
}

IMessageBoxHost* GetMessageBoxHost() {
    return g_pHost;
}

int ShowMessageText(const std::string& text, MbButtons buttons, MbIcon icon, const char* caption) {
    // Raised on a helper thread: shown later, in order, by the thread the work was done for.
    if (CDeferredOutput* deferred = CDeferredOutput::Current()) {
        deferred->Add(
            [](const CDeferredOutput::Event& e) {
                ShowMessageText(e.text, static_cast<MbButtons>(e.first), static_cast<MbIcon>(e.second),
                                e.hasCaption ? e.caption.c_str() : nullptr);
            },
            buttons, icon, text, caption);
        return SafeAnswer(buttons);
    }
    // A batch run has no one to close a box and must never wait for one.
    bool batch = Log().IsBatch();
    if (g_pHost && !batch) return g_pHost->Show(text, caption ? caption : kMessageBoxCaption, buttons, icon);
    // No one to ask: the text goes to the log once (the log itself may raise a box), and a
    // question takes the answer that changes nothing. A batch run also shows it on standard
    // error, which is all that is left when the log file itself could not be opened.
    if (!g_bInBox) {
        g_bInBox = true;
        Log().Write(LOG_ERROR, text);
        g_bInBox = false;
    }
    if (batch) {
        std::string line = text;
        for (char& c : line)
            if (c == '\n') c = ' ';
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    return SafeAnswer(buttons);
}

#define FORMAT_ARGS(format, text)                                                                            \
    va_list args;                                                                                            \
    va_start(args, format);                                                                                  \
    std::string text = StrVPrintf(format, args);                                                             \
    va_end(args)

void WalertBox(const char* format, ...) {
    FORMAT_ARGS(format, text);
    ShowMessageText(text, MB_BUTTONS_OK, MB_ICON_NONE);
}

void AlertBox(const char* format, ...) {
    FORMAT_ARGS(format, text);
    ShowMessageText(text, MB_BUTTONS_OK, MB_ICON_NONE);
}

int WyesNoCancelBox(const char* format, ...) {
    FORMAT_ARGS(format, text);
    return ShowMessageText(text, MB_BUTTONS_YESNOCANCEL, MB_ICON_NONE);
}

int YesNoCancelBox(const char* format, ...) {
    FORMAT_ARGS(format, text);
    return ShowMessageText(text, MB_BUTTONS_YESNOCANCEL, MB_ICON_NONE, " ");
}

int WyesNoBox(const char* format, ...) {
    FORMAT_ARGS(format, text);
    return ShowMessageText(text, MB_BUTTONS_YESNO, MB_ICON_NONE);
}

void IconedWalertBoxW(int icon, const char* format, ...) {
    FORMAT_ARGS(format, text);
    if (icon < MB_ICON_STOP || icon > MB_ICON_INFORMATION) {
        ShowMessageText(StrPrintf("Bad icon in IconedWalertBoxW:%d", icon), MB_BUTTONS_OK,
                        MB_ICON_EXCLAMATION);
        icon = MB_ICON_EXCLAMATION;
    }
    ShowMessageText(text, MB_BUTTONS_OK, static_cast<MbIcon>(icon));
}

void ReportLastError(const char* caller, const char* format, ...) {
    int err = errno;
    FORMAT_ARGS(format, text);
    ShowMessageText(StrPrintf("Caller %s failed\nwith error\n%d:%s\n", caller, err, std::strerror(err)) +
                        text,
                    MB_BUTTONS_OK, MB_ICON_NONE);
}
