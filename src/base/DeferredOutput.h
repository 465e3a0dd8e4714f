#pragma once
// Work handed to a helper thread must leave the same traces, in the same order, as if the thread
// that owns it had done it. While a capture is current on a thread, the calculation-log text,
// general-log messages and message boxes that thread produces are kept here, in order; the owning
// thread later carries them out with Replay.
// Note: a question box raised while captured takes the answer that changes nothing (no, cancel),
// as in a batch run; the calculations that run on helpers ask none.

#include <functional>
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

    // What is kept and how it is carried out later: the layer that produced it hands its own
    // function over, so this file needs nothing from the layers that use it.
    struct Event;
    using Replayer = void (*)(const Event& event);
    struct Event {
        Replayer replay;
        int first; // the producer's own numbers (a log level, the buttons and icon of a box)
        int second;
        bool hasCaption;
        std::string text;
        std::string caption;
    };

    // A stream of text; consecutive pieces for the same replayer travel as one block.
    void AddText(Replayer replay, const char* text, size_t length);
    void Add(Replayer replay, int first, int second, const std::string& text, const char* caption = nullptr);

    bool IsEmpty() const { return m_Events.empty(); }
    // Roughly the bytes held, for callers that keep captures and must bound what they keep.
    size_t GetByteSize() const;
    // A copy holding every event but those of the given replayer.
    CDeferredOutput Without(Replayer skipped) const;
    // Carries out everything kept, in order, on the calling thread, and empties the capture. (If
    // a capture is current there, the events move into it instead.)
    void Replay();
    // The same, keeping everything: for a capture carried out again and again.
    void ReplayCopy() const;
    // ReplayCopy, but the text of textReplayer goes to write (when no capture is current).
    void ReplayCopy(Replayer textReplayer, const std::function<void(const std::string&)>& write) const;

  private:
    void Push(Event event, bool mergeText);
    std::vector<Event> m_Events;
    std::vector<bool> m_IsText;
};
