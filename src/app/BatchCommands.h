#pragma once
// The batch mode: one command from the command line, its result becomes the exit code.

#include <functional>
#include <string>
#include <vector>

// Result codes of a batch command (the process exit code).
enum BatchResult {
    BATCH_DONE = 0,          // ran to its end once the input file was found
    BATCH_EMPTY = 1,         // no token at all
    BATCH_TOKEN_COUNT = 2,   // known command word, wrong number of tokens
    BATCH_SAME_FILE = 2,     // an output is an input or another output; nothing written
    BATCH_READ_FAILED = 3,   // report, pdf, csv, advise, compare: a project file could not be read; nothing written
    BATCH_WRITE_FAILED = 4,  // an output file could not be written (or is a FIFO nobody reads)
    BATCH_UNKNOWN = 7,       // first token is no command word
    BATCH_INPUT_MISSING = 8, // the input file is not an existing regular file
    BATCH_BAD_HEIGHT = 10,   // dxftoxml: height not above 1 m or above 200 m
    BATCH_IMPORT_REFUSED = 11, // import: some files refused (the others imported)
};

using CommandTokens = std::vector<std::string>;

struct BatchCommand {
    const char* word;                            // compared without regard to case
    int (*handler)(const CommandTokens& tokens); // tokens[0] is the command word
    size_t tokenCount;                           // required, command word included
};

// Searched in order: "report", "dxftoxml", "pdf", "import", "csv", "advise", then "compare".
extern const BatchCommand BatchCommandTable[7];

// Splits text at any character of separator (runs count as one, no empty tokens); blanks inside
// double quotes do not split, and the quotes stay in the tokens. A quote after an odd number of
// backslashes, or doubled inside quotes, is a plain character (as Windows command lines have
// it). Returns the token count.
int SplitCommandLine(const std::string& text, const std::string& separator, CommandTokens& tokens);
// Token index without its quote marks, escaped and doubled quotes read as quotes, trimmed;
// empty past the end.
std::string GetCommandArgument(const CommandTokens& tokens, size_t index);

int ReportCommand(const CommandTokens& tokens);
int DxfToXmlCommand(const CommandTokens& tokens);
// pdf <project file> <pdf file> <log file>: the report pages and results as one PDF.
int PdfCommand(const CommandTokens& tokens);
// import <database file> <files or folders...> <log file>: luminaires added to a database file
// (tokenCount is the least number of tokens: one source at least).
int ImportCommand(const CommandTokens& tokens);
// csv <project file> <CSV file> <log file>: the results as a CSV table.
int CsvCommand(const CommandTokens& tokens);
// advise <project file> <advice file> <log file>: the savings advisor's ranking as CSV.
int AdviseCommand(const CommandTokens& tokens);
// compare <project A> <project B> <CSV file> <log file>: two versions of a building side by side.
int CompareCommand(const CommandTokens& tokens);

// The project copy that "report" saves beside the results file: base name + "_(CON_RISULTATI)".
std::string ResultsCopyPath(const std::string& resultsFile);
// The DXF file's name without folder and without the text from its last point onwards.
std::string FloorNameFromDxfPath(const std::string& dxfFile);
// The dxftoxml height: commas read as points, a text that is no number reads as 0.
double ParseFloorHeight(const std::string& rawToken);

// What the two commands do once their arguments are checked and the log file is set.
struct ReportJob {
    std::string projectFile;
    std::string resultsFile;
    std::string copyFile; // ResultsCopyPath(resultsFile)
};
struct DxfToXmlJob {
    std::string dxfFile;
    std::string projectFile;
    std::string floorName;
    double height = 0;
};
struct BatchWork {
    std::function<void(const ReportJob&)> report;
    std::function<void(const DxfToXmlJob&)> dxfToXml;
};
// Replaces the work behind the commands (tests observe the checked arguments through it);
// returns the previous one. An empty function restores the program's own.
BatchWork SetBatchWork(BatchWork work);

// The full usage: every command, its arguments and the exit codes (--help, -h).
const char* BatchHelpText();
// "orvantis <version>" and a line break (--version).
std::string VersionText();

// "open [<project file>]": the desktop program, with that project when one is given. True when the first token is the
// word "open" (any case).
bool IsOpenCommand(const CommandTokens& tokens);
// Checks the arguments of "open": BATCH_TOKEN_COUNT or BATCH_INPUT_MISSING (the reason on the error
// stream), or BATCH_DONE with the project file made absolute (the running program that may receive
// it works in another folder), empty when none was given.
int CheckOpenCommand(const CommandTokens& tokens, std::string& projectFile);

// Joins argv[1..] into the command line a Windows user would type, quoting arguments with blanks
// or quotes (a quote inside escaped with a backslash).
std::string JoinCommandLine(int argc, const char* const* argv);
// True when the command line holds nothing but blanks.
bool IsEmptyCommandLine(const std::string& commandLine);
// Splits the command line and runs the matching command; returns its result code. --help, -h and
// --version, alone, print to the standard output and give BATCH_DONE.
int DispatchBatchCommand(const std::string& commandLine);
// Runs one batch command as the application does (batch flag, dispatch, result) and returns its result.
int RunBatchCommandLine(const std::string& commandLine);
