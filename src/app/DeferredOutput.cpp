#include "app/DeferredOutput.h"

#include "app/Logger.h"
#include "calc/CalcLog.h"

namespace {
thread_local CDeferredOutput* t_pCurrent = nullptr;
} // namespace

CDeferredOutput* CDeferredOutput::Current() {
    return t_pCurrent;
}

CDeferredOutput::Scope::Scope(CDeferredOutput& output) : m_pPrevious(t_pCurrent) {
    t_pCurrent = &output;
}

CDeferredOutput::Scope::~Scope() {
    t_pCurrent = m_pPrevious;
}

void CDeferredOutput::AddCalcLogText(const char* text, size_t length) {
    // Consecutive log lines travel as one block.
    if (!m_Events.empty() && m_Events.back().kind == CALC_LOG_TEXT)
        m_Events.back().text.append(text, length);
    else
        m_Events.push_back({CALC_LOG_TEXT, 0, 0, 0, false, std::string(text, length), std::string()});
}

void CDeferredOutput::AddLogMessage(int level, const std::string& text) {
    m_Events.push_back({LOG_MESSAGE, level, 0, 0, false, text, std::string()});
}

int CDeferredOutput::AddMessageBox(const std::string& text, MbButtons buttons, MbIcon icon,
                                   const char* caption) {
    m_Events.push_back({MESSAGE_BOX, 0, buttons, icon, caption != nullptr, text, caption ? caption : ""});
    switch (buttons) {
    case MB_BUTTONS_YESNOCANCEL:
        return IDCANCEL;
    case MB_BUTTONS_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

void CDeferredOutput::Replay() {
    std::vector<Event> events;
    events.swap(m_Events);
    for (const Event& e : events) {
        switch (e.kind) {
        case CALC_LOG_TEXT:
            if (CDeferredOutput* outer = Current())
                outer->AddCalcLogText(e.text.data(), e.text.size());
            else
                WriteCalcLogText(e.text);
            break;
        case LOG_MESSAGE:
            Log().Write(e.level, e.text);
            break;
        case MESSAGE_BOX:
            ShowMessageText(e.text, static_cast<MbButtons>(e.buttons), static_cast<MbIcon>(e.icon),
                            e.hasCaption ? e.caption.c_str() : nullptr);
            break;
        }
    }
}
