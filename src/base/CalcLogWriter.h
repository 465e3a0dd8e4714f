#pragma once
// The calculation log's writer: a plain-text account, line by line, of every factor and formula a
// top-level calculation used. One log is open at a time for the whole program; every step of the
// calculation writes into it through CalcLogPrintf, and nothing is written while none is open.
// What the log is called and what goes into it is the calculation's (calc/CalcLog.h).

#include "base/DeferredOutput.h"
#include "base/Logger.h" // ORV_PRINTF

#include <memory>
#include <string>

// Opens the log file, replacing a file of the same name. Returns true only when this call opened
// it: with a log already open the error is reported and the open log stays in use; a file that
// cannot be created is reported and no log is open.
bool StartCalcLogger(const std::string& path);
// Closes the open log, if any. While a CSafeWriteBatch is open on this thread the log joins it and is
// put in place with the batch's files, or not at all.
void StopCalcLogger();
bool IsCalcLoggerOpen();
// Writes one line (a line feed is added when missing). A percent sign in the formatted text is
// written as a blank, a doubled one as a single blank.
void CalcLogPrintf(const char* format, ...) ORV_PRINTF(1, 2);

// Writes text that CalcLogPrintf formatted earlier (on a helper thread) to the open log, if any.
void WriteCalcLogText(const std::string& text);
// The same, for text that lives on unchanged in what owner holds: a kept log (CCalcLogKept) refers
// to it instead of copying it.
void WriteCalcLogShared(const std::shared_ptr<const void>& owner, const std::string& text);
// Whether a log is open and kept (CCalcLogKept).
bool IsCalcLogKept();
// Waits until every kept log is in its file; reports on this thread a log that could not be written.
// Whatever reads a log file calls it first.
void WaitForCalcLogs();

// While an instance lives (on the thread that starts and stops logs), a log started is kept in
// memory and, when it stops, written to its file on a helper thread, while the program shows what
// it worked out; the next log started, and WaitForCalcLogs, wait for it. A log started within a
// CSafeWriteBatch is written as usual.
class CCalcLogKept {
  public:
    CCalcLogKept();
    ~CCalcLogKept();
    CCalcLogKept(const CCalcLogKept&) = delete;
    CCalcLogKept& operator=(const CCalcLogKept&) = delete;
};

// Whether CalcLogPrintf writes nothing on this thread because a CCalcLogQuiet lives.
bool IsCalcLogQuiet();

// While an instance lives, CalcLogPrintf writes nothing: for working that only decides something
// (which zone bills an opening's luminaires) and must not appear in the log. Per thread.
class CCalcLogQuiet {
  public:
    CCalcLogQuiet();
    ~CCalcLogQuiet();
    CCalcLogQuiet(const CCalcLogQuiet&) = delete;
    CCalcLogQuiet& operator=(const CCalcLogQuiet&) = delete;
};

// While an instance lives, the log's lines are formatted no further than needed to report the
// errors they would raise (a line too long) and are then dropped: for a pass whose log a later
// pass overwrites. The general log reads exactly as if the lines had been written. Per thread.
class CCalcLogDiscard {
  public:
    CCalcLogDiscard();
    ~CCalcLogDiscard();
    CCalcLogDiscard(const CCalcLogDiscard&) = delete;
    CCalcLogDiscard& operator=(const CCalcLogDiscard&) = delete;
};
bool IsCalcLogDiscarding();

// How many "line too long" errors CalcLogPrintf has reported on this thread so far (a quiet log
// reports none, a discarding one does): work that raised none leaves the same traces quiet or
// discarding, save its log lines.
unsigned GetCalcLogTooLongCount();
// The replayer of log lines kept by a capture (CDeferredOutput), to tell them from other traces.
CDeferredOutput::Replayer GetCalcLogTextReplayer();
