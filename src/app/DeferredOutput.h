#pragma once
// Work handed to a helper thread must leave the same traces, in the same order, as if the thread
// that owns it had done it. While a capture is current on a thread, the calculation-log text,
// general-log messages and message boxes that thread produces are kept here, in order; the owning
// thread later carries them out with Replay.
// Note: a question box raised while captured takes the answer that changes nothing (no, cancel),
// as in a batch run; the calculations that run on helpers ask none.

#include "app/MessageBoxes.h"

#include <string>
#include <vector>

class CDeferredOutput {
  public:
    // The capture current on this thread, null when output goes straight out.
    static CDeferredOutput* Current();

    // Makes a capture the current one of this thread for the life of the scope.
    class Scope {
      public:
        explicit Scope(CDeferredOutput& output);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CDeferredOutput* m_pPrevious;
    };

    void AddCalcLogText(const char* text, size_t length);
    void AddLogMessage(int level, const std::string& text);
    // Returns the answer the box gives for now (IDOK, IDNO or IDCANCEL).
    int AddMessageBox(const std::string& text, MbButtons buttons, MbIcon icon, const char* caption);

    bool IsEmpty() const { return m_Events.empty(); }
    // Carries out everything kept, in order, on the calling thread, and empties the capture. (If
    // a capture is current there, the events move into it instead.)
    void Replay();

  private:
    enum Kind { CALC_LOG_TEXT, LOG_MESSAGE, MESSAGE_BOX };
    struct Event {
        Kind kind;
        int level;   // LOG_MESSAGE
        int buttons; // MESSAGE_BOX
        int icon;
        bool hasCaption;
        std::string text;
        std::string caption;
    };
    std::vector<Event> m_Events;
};
