#include "app/BatchCommands.h"

#include "app/DxfToXmlWork.h"
#include "app/ImportWork.h"
#include "app/LENIBApp.h"
#include "app/PdfWork.h"
#include "app/ReportWork.h"
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
const size_t kImportLeastTokens = 4;

// Stands for a blank inside double quotes while the line is cut into tokens. A command line
// can never hold a NUL character, so every character the user typed (a tilde too) survives.
const char kQuotedBlank = '\0';

const char* const kUsage =
    "usage: orvantis report <project file> <results file> <log file> | orvantis dxftoxml "
    "<DXF file> <project file> <floor height> <log file> | orvantis pdf <project file> <pdf file> "
    "<log file> | orvantis import <database file> <files or folders...> <log file>\n";

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
void ProjectDxfToXmlWork(const DxfToXmlJob& job) {
    RunDxfToXml(job);
}

BatchWork& Work() {
    static BatchWork work;
    return work;
}

} // namespace

const BatchCommand BatchCommandTable[4] = {
    {"report", ReportCommand, kReportTokens},
    {"dxftoxml", DxfToXmlCommand, kDxfToXmlTokens},
    {"pdf", PdfCommand, kPdfTokens},
    {"import", ImportCommand, kImportLeastTokens},
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

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    job.copyFile = ResultsCopyPath(job.resultsFile);
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

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    job.floorName = FloorNameFromDxfPath(job.dxfFile);
    if (Work().dxfToXml)
        Work().dxfToXml(job);
    else
        ProjectDxfToXmlWork(job);
    return BATCH_DONE;
}

int PdfCommand(const CommandTokens& tokens) {
    if (tokens.size() != kPdfTokens) return BATCH_TOKEN_COUNT;
    PdfJob job;
    job.projectFile = GetCommandArgument(tokens, 1);
    job.pdfFile = GetCommandArgument(tokens, 2);
    const std::string logFile = GetCommandArgument(tokens, 3);
    if (!FileExists(job.projectFile)) return BATCH_INPUT_MISSING;

    Log().SetToFile(logFile);
    Log().SetMode(LOGMODE_BATCH);
    return RunPdf(job);
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
    for (const BatchCommand& command : BatchCommandTable)
        if (EqualsNoCase(tokens[0], command.word)) return command.handler(tokens);
    std::fputs(kUsage, stderr);
    return BATCH_UNKNOWN;
}

int RunBatchCommandLine(const std::string& commandLine) {
    return App().RunBatch(commandLine);
}
