#include "base/DeferredOutput.h"

#include <utility>

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

void CDeferredOutput::Push(Event event, bool mergeText) {
    if (mergeText && !m_Events.empty() && m_IsText.back() && m_Events.back().replay == event.replay) {
        m_Events.back().text += event.text;
        return;
    }
    m_Events.push_back(std::move(event));
    m_IsText.push_back(mergeText);
}

void CDeferredOutput::AddText(Replayer replay, const char* text, size_t length) {
    Push({replay, 0, 0, false, std::string(text, length), std::string()}, true);
}

void CDeferredOutput::Add(Replayer replay, int first, int second, const std::string& text,
                          const char* caption) {
    Push({replay, first, second, caption != nullptr, text, caption ? caption : ""}, false);
}

void CDeferredOutput::Replay() {
    std::vector<Event> events;
    std::vector<bool> isText;
    events.swap(m_Events);
    isText.swap(m_IsText);
    CDeferredOutput* outer = Current();
    for (size_t i = 0; i < events.size(); ++i) {
        // Inside another capture the events only move one level out, as they would have
        // if they had been produced there.
        if (outer)
            outer->Push(std::move(events[i]), isText[i]);
        else
            events[i].replay(events[i]);
    }
}

void CDeferredOutput::ReplayCopy() const {
    CDeferredOutput* outer = Current();
    for (size_t i = 0; i < m_Events.size(); ++i) {
        if (outer)
            outer->Push(m_Events[i], m_IsText[i]);
        else
            m_Events[i].replay(m_Events[i]);
    }
}

void CDeferredOutput::ReplayCopy(Replayer textReplayer, const std::function<void(const std::string&)>& write) const {
    if (Current()) {
        ReplayCopy();
        return;
    }
    for (const Event& event : m_Events) {
        if (event.replay == textReplayer)
            write(event.text);
        else
            event.replay(event);
    }
}

CDeferredOutput CDeferredOutput::Without(Replayer skipped) const {
    CDeferredOutput copy;
    for (size_t i = 0; i < m_Events.size(); ++i)
        if (m_Events[i].replay != skipped) {
            copy.m_Events.push_back(m_Events[i]);
            copy.m_IsText.push_back(m_IsText[i]);
        }
    return copy;
}

size_t CDeferredOutput::GetByteSize() const {
    size_t bytes = sizeof(*this) + m_Events.capacity() * sizeof(Event) + m_IsText.capacity() / 8;
    for (const Event& e : m_Events)
        bytes += e.text.capacity() + e.caption.capacity();
    return bytes;
}
