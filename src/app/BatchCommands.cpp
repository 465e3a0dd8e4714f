#include "app/BatchCommands.h"

#include "app/CsvWork.h"
#include "app/DxfToXmlWork.h"
#include "app/ImportWork.h"
#include "app/LENIBApp.h"
#include "app/PdfWork.h"
#include "app/ReportWork.h"
#include "app/VariantsWork.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

const size_t kReportTokens = 4;
const size_t kDxfToXmlTokens = 5;
const size_t kPdfTokens = 4;
const size_t kCsvTokens = 4;
const size_t kImportLeastTokens = 4;
const size_t kAdviseTokens = 4;
const size_t kCompareTokens = 5;

// Stands for a blank inside double quotes while the line is cut into tokens. A command line
// can never hold a NUL character, so every character the user typed (a tilde too) survives.
const char kQuotedBlank = '\0';

const char* const kUsage =
    "usage: orvantis report <project file> <results file> <log file> | orvantis dxftoxml "
    "<DXF file> <project file> <floor height> <log file> | orvantis pdf <project file> <pdf file> "
    "<log file> | orvantis csv <project file> <CSV file> <log file> | orvantis import <database file> <files or folders...> <log file> | orvantis advise "
    "<project file> <advice file> <log file> | orvantis compare <project A> <project B> <CSV file> "
    "<log file> | orvantis open "
    "[<project file>] | orvantis --help | orvantis --version\n";

const char* const kHelp =
    "Usage:\n"
    "  orvantis                      start the desktop program\n"
    "  orvantis open [<project file>]\n"
    "                                start the desktop program with the project; a program already\n"
    "                                running opens it instead (after asking to save its project)\n"
    "  orvantis report <project file> <results file> <log file>\n"
    "                                calculate the project, write the results export file and a copy\n"
    "                                of the project with its results (<results>_(CON_RISULTATI).<ext>)\n"
    "  orvantis dxftoxml <DXF file> <project file> <floor height> <log file>\n"
    "                                make a one-floor project file from a DXF floor plan; the height\n"
    "                                in metres, above 1 and at most 200 (3,2 or 3.2)\n"
    "  orvantis pdf <project file> <pdf file> <log file>\n"
    "                                write the report pages and results of the project as one PDF\n"
    "  orvantis csv <project file> <CSV file> <log file>\n"
    "                                write the results of the building, its floors, rooms and zones\n"
    "                                as a CSV table for spreadsheets\n"
    "  orvantis import <database file> <files or folders...> <log file>\n"
    "                                add the luminaires of photometric files (.ldt, .ies) and makers'\n"
    "                                containers (.gldf), or of folders of them, to a luminaire database\n"
    "  orvantis advise <project file> <advice file> <log file>\n"
    "                                rank, zone by zone, the control choices that lower the building's\n"
    "                                energy (occupancy, daylight and constant illuminance control, Fcc\n"
    "                                0.9), with the LENI after each, as CSV\n"
    "  orvantis compare <project A> <project B> <CSV file> <log file>\n"
    "                                both projects calculated side by side, rooms matched by floor and\n"
    "                                room name: area, power, Wl, Wp and LENI in A, in B and B - A, as CSV\n"
    "  orvantis --help, -h           show this help\n"
    "  orvantis --version            show the version\n"
    "\n"
    "The command word is read without regard to case. Reasons for a failure go to the log file.\n"
    "\n"
    "Exit codes:\n"
    "  0   done\n"
    "  1   empty command\n"
    "  2   wrong number of arguments\n"
    "  3   report, pdf, csv, advise, compare: a project file could not be read (nothing is written)\n"
    "  4   report: the results file or the project copy could not be written; pdf: the PDF could\n"
    "      not be written; csv, advise, compare: the CSV file could not be written; pdf, open: this\n"
    "      build has no desktop program\n"
    "  7   unknown command\n"
    "  8   input file missing\n"
    "  10  dxftoxml: floor height not above 1 m or above 200 m\n"
    "  11  import: some files were refused (the others are imported)\n";

const size_t kOpenTokens = 2;

// The answers that need no file: help and version. The word is compared as typed.
struct InfoOption {
    const char* word;
    bool version;
};
const InfoOption kInfoOptions[] = {{"--help", false}, {"-h", false}, {"--version", true}};

// Report: read the project file into a new project (its own products only), calculate the
// annual LENI with the building's calculation log, write the results export file, save the
// project with its results to the copy path (ReportWork.cpp).
int ProjectReportWork(const ReportJob& job) {
    return RunReport(job);
}

// Dxftoxml: a new project whose dominant building type is "Residential buildings" and whose
// name stays empty, one floor from the DXF file (this name and height, one instance, import of
// the special layers), saved without results to the project file. Connected here as the model,
// the project file and the layer import land.
int ProjectDxfToXmlWork(const DxfToXmlJob& job) {
    return RunDxfToXml(job);
}

// A file named on the command line, with the name the usage gives its argument.
struct NamedFile {
    const char* role;
    std::string path;
};

// Before anything is written: no output may be an input (links followed) or have another output's
// name, and no output may be a FIFO nobody reads. Devices and FIFOs are written into, never replaced, so two
// outputs may share one (report p /dev/null /dev/null). Returns BATCH_DONE when the names are fit,
// else the exit code, the reason printed to the error stream (the log may be one of the names).
int CheckOutputNames(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs) {
    auto refuse = [](const NamedFile& output, const NamedFile& other) {
        std::fprintf(stderr, "orvantis: the %s <%s> is the same file as the %s <%s>; nothing written\n",
                     output.role, output.path.c_str(), other.role, other.path.c_str());
        return BATCH_SAME_FILE;
    };
    for (size_t i = 0; i < outputs.size(); ++i) {
        const fs::path output = fs::u8path(outputs[i].path);
        for (const NamedFile& input : inputs)
            if (IsSameFile(output, fs::u8path(input.path))) return refuse(outputs[i], input);
        if (IsWrittenInto(output)) continue;
        // Two outputs collide only by name: a link at an output's name is replaced, not written.
        for (size_t j = 0; j < i; ++j)
            if (IsSameName(output, fs::u8path(outputs[j].path))) return refuse(outputs[i], outputs[j]);
    }
    for (const NamedFile& output : outputs)
        if (IsFifoWithoutReader(fs::u8path(output.path))) {
            std::fprintf(stderr, "orvantis: the %s <%s> is a FIFO that no program reads from; nothing written\n",
                         output.role, output.path.c_str());
            return BATCH_WRITE_FAILED;
        }
    return BATCH_DONE;
}

BatchWork& Work() {
    static BatchWork work;
    return work;
}

} // namespace

const BatchCommand BatchCommandTable[7] = {
    {"report", ReportCommand, kReportTokens},
    {"dxftoxml", DxfToXmlCommand, kDxfToXmlTokens},
    {"pdf", PdfCommand, kPdfTokens},
    {"import", ImportCommand, kImportLeastTokens},
    {"csv", CsvCommand, kCsvTokens},
    {"advise", AdviseCommand, kAdviseTokens},
    {"compare", CompareCommand, kCompareTokens},
};

BatchWork SetBatchWork(BatchWork work) {
    BatchWork old = Work();
    Work() = std::move(work);
    return old;
}

int SplitCommandLine(const std::string& text, const std::string& separator, CommandTokens& tokens) {
    // Quotes as the Windows command line reads them: an odd run of backslashes before a quote
    // makes it a plain character, and so does a quote doubled inside quotes.
    std::string working;
    working.reserve(text.size());
    bool inQuotes = false;
    size_t backslashes = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            if (backslashes % 2 == 1) {
                // escaped: stays as typed
            } else if (inQuotes && i + 1 < text.size() && text[i + 1] == '"') {
                working += "\"\"";
                ++i;
                backslashes = 0;
                continue;
            } else {
                inQuotes = !inQuotes;
            }
        }
        backslashes = c == '\\' ? backslashes + 1 : 0;
        working += (inQuotes && c == ' ') ? kQuotedBlank : c;
    }

    tokens.clear();
    size_t pos = 0;
    while (pos < working.size()) {
        pos = working.find_first_not_of(separator, pos);
        if (pos == std::string::npos) break;
        size_t end = separator.empty() ? std::string::npos : working.find_first_of(separator, pos);
        if (end == std::string::npos) end = working.size();
        std::string token = working.substr(pos, end - pos);
        for (char& c : token)
            if (c == kQuotedBlank) c = ' ';
        tokens.push_back(token);
        pos = end;
    }
    return static_cast<int>(tokens.size());
}

std::string GetCommandArgument(const CommandTokens& tokens, size_t index) {
    if (index >= tokens.size()) return std::string();
    const std::string& token = tokens[index];
    std::string arg;
    arg.reserve(token.size());
    bool inQuotes = false;
    size_t backslashes = 0;
    for (size_t i = 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            // 2n backslashes and a quote: n backslashes and the quote marks; 2n+1: n and a quote.
            arg.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                arg += '"';
            } else if (inQuotes && i + 1 < token.size() && token[i + 1] == '"') {
                arg += '"';
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
        } else {
            arg.append(backslashes, '\\');
            arg += c;
        }
        backslashes = 0;
    }
    arg.append(backslashes, '\\');
    return TrimWhiteSpace(arg);
}

std::string ResultsCopyPath(const std::string& resultsFile) {
    // Beside the results file, whatever separator the user wrote; a bare name stays in the
    // current folder rather than going to the root.
    size_t slash = resultsFile.find_last_of("/\\");
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = resultsFile.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = resultsFile.size();
    return resultsFile.substr(0, dot) + "_(CON_RISULTATI)" + resultsFile.substr(dot);
}

std::string FloorNameFromDxfPath(const std::string& dxfFile) {
    size_t slash = dxfFile.find_last_of("/\\");
    std::string name = slash == std::string::npos ? dxfFile : dxfFile.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

double ParseFloorHeight(const std::string& rawToken) {
    std::string text = rawToken;
    for (char& c : text)
        if (c == ',') c = '.';
    return ParseDouble(text);
}

int ReportCommand(const CommandTokens& tokens) {
    if (tokens.size() != kReportTokens) return BATCH_TOKEN_COUNT;
    ReportJob job;
    job.projectFile = GetCommandArgument(tokens, 1);
    job.resultsFile = GetCommandArgument(tokens, 2);
    std::string logFile = GetCommandArgument(tokens, 3);
    if (!FileExists(job.projectFile)) return BATCH_INPUT_MISSING;
    job.copyFile = ResultsCopyPath(job.resultsFile);
    if (const int refused = CheckOutputNames(
            {{"project file", job.projectFile}},
            {{"results file", job.resultsFile}, {"project copy", job.copyFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    if (!Work().report) return ProjectReportWork(job);
    Work().report(job);
    return BATCH_DONE;
}

int DxfToXmlCommand(const CommandTokens& tokens) {
    if (tokens.size() != kDxfToXmlTokens) return BATCH_TOKEN_COUNT;
    DxfToXmlJob job;
    job.dxfFile = GetCommandArgument(tokens, 1);
    job.projectFile = GetCommandArgument(tokens, 2);
    std::string logFile = GetCommandArgument(tokens, 4);
    job.height = ParseFloorHeight(tokens[3]);
    // Written so that a height that is no number at all (NaN) is refused too.
    if (!(job.height > 1.0 && job.height <= 200.0)) return BATCH_BAD_HEIGHT;
    if (!FileExists(job.dxfFile)) return BATCH_INPUT_MISSING;
    if (const int refused = CheckOutputNames({{"DXF file", job.dxfFile}},
                                             {{"project file", job.projectFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    job.floorName = FloorNameFromDxfPath(job.dxfFile);
    if (!Work().dxfToXml) return ProjectDxfToXmlWork(job);
    Work().dxfToXml(job);
    return BATCH_DONE;
}

int PdfCommand(const CommandTokens& tokens) {
    if (tokens.size() != kPdfTokens) return BATCH_TOKEN_COUNT;
    PdfJob job;
    job.projectFile = GetCommandArgument(tokens, 1);
    job.pdfFile = GetCommandArgument(tokens, 2);
    const std::string logFile = GetCommandArgument(tokens, 3);
    if (!FileExists(job.projectFile)) return BATCH_INPUT_MISSING;
    if (const int refused = CheckOutputNames({{"project file", job.projectFile}},
                                             {{"PDF file", job.pdfFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunPdf(job);
}

int CsvCommand(const CommandTokens& tokens) {
    if (tokens.size() != kCsvTokens) return BATCH_TOKEN_COUNT;
    CsvJob job;
    job.projectFile = GetCommandArgument(tokens, 1);
    job.csvFile = GetCommandArgument(tokens, 2);
    const std::string logFile = GetCommandArgument(tokens, 3);
    if (!FileExists(job.projectFile)) return BATCH_INPUT_MISSING;
    if (const int refused = CheckOutputNames({{"project file", job.projectFile}},
                                             {{"CSV file", job.csvFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunCsv(job);
}

int AdviseCommand(const CommandTokens& tokens) {
    if (tokens.size() != kAdviseTokens) return BATCH_TOKEN_COUNT;
    AdviseJob job;
    job.projectFile = GetCommandArgument(tokens, 1);
    job.adviceFile = GetCommandArgument(tokens, 2);
    const std::string logFile = GetCommandArgument(tokens, 3);
    if (!FileExists(job.projectFile)) return BATCH_INPUT_MISSING;
    if (const int refused = CheckOutputNames({{"project file", job.projectFile}},
                                             {{"advice file", job.adviceFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunAdvise(job);
}

int CompareCommand(const CommandTokens& tokens) {
    if (tokens.size() != kCompareTokens) return BATCH_TOKEN_COUNT;
    CompareJob job;
    job.projectA = GetCommandArgument(tokens, 1);
    job.projectB = GetCommandArgument(tokens, 2);
    job.csvFile = GetCommandArgument(tokens, 3);
    const std::string logFile = GetCommandArgument(tokens, 4);
    if (!FileExists(job.projectA) || !FileExists(job.projectB)) return BATCH_INPUT_MISSING;
    if (const int refused = CheckOutputNames({{"project A", job.projectA}, {"project B", job.projectB}},
                                             {{"CSV file", job.csvFile}, {"log file", logFile}}))
        return refused;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunCompare(job);
}

const char* BatchHelpText() {
    return kHelp;
}

std::string VersionText() {
    return std::string("orvantis ") + ORVANTIS_VERSION + "\n";
}

bool IsOpenCommand(const CommandTokens& tokens) {
    return !tokens.empty() && EqualsNoCase(tokens[0], "open");
}

int CheckOpenCommand(const CommandTokens& tokens, std::string& projectFile) {
    projectFile.clear();
    if (tokens.size() == 1) return BATCH_DONE; // the menu entry, started without a file
    if (tokens.size() != kOpenTokens) {
        std::fputs("usage: orvantis open [<project file>]\n", stderr);
        return BATCH_TOKEN_COUNT;
    }
    const std::string given = GetCommandArgument(tokens, 1);
    if (!FileExists(given)) {
        std::fprintf(stderr, "orvantis: no such project file: %s\n", given.c_str());
        return BATCH_INPUT_MISSING;
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(given, error);
    projectFile = error ? given : absolute.lexically_normal().string();
    return BATCH_DONE;
}

int ImportCommand(const CommandTokens& tokens) {
    if (tokens.size() < kImportLeastTokens) return BATCH_TOKEN_COUNT;
    ImportJob job;
    job.databaseFile = GetCommandArgument(tokens, 1);
    for (size_t i = 2; i + 1 < tokens.size(); ++i) job.sources.push_back(GetCommandArgument(tokens, i));
    const std::string logFile = GetCommandArgument(tokens, tokens.size() - 1);

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunImport(job);
}

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i > 1) line += ' ';
        if (!arg.empty() && arg.find_first_of(" \"") == std::string::npos) {
            line += arg;
            continue;
        }
        // Quoted as a Windows program quotes an argument: a quote inside gets a backslash, and
        // the backslashes just before a quote (or before the closing one) are doubled.
        line += '"';
        size_t backslashes = 0;
        for (const char c : arg) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            if (c == '"') {
                line.append(backslashes * 2 + 1, '\\');
            } else {
                line.append(backslashes, '\\');
            }
            line += c;
            backslashes = 0;
        }
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    return line;
}

bool IsEmptyCommandLine(const std::string& commandLine) {
    for (char c : commandLine)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

int DispatchBatchCommand(const std::string& commandLine) {
    CommandTokens tokens;
    if (SplitCommandLine(commandLine, " ", tokens) == 0) return BATCH_EMPTY;
    for (const InfoOption& option : kInfoOptions) {
        if (tokens[0] != option.word) continue;
        if (tokens.size() != 1) {
            std::fputs(kUsage, stderr);
            return BATCH_TOKEN_COUNT;
        }
        std::fputs(option.version ? VersionText().c_str() : kHelp, stdout);
        std::fflush(stdout);
        return BATCH_DONE;
    }
    for (const BatchCommand& command : BatchCommandTable)
        if (EqualsNoCase(tokens[0], command.word)) return command.handler(tokens);
    std::fputs(kUsage, stderr);
    return BATCH_UNKNOWN;
}

int RunBatchCommandLine(const std::string& commandLine) {
    return App().RunBatch(commandLine);
}
