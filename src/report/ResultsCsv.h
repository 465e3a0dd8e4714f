#pragma once
// The results as a CSV table for spreadsheets: a header row, then a row for the building, each
// floor (one instance), each room and each zone, in the project's order. Every figure of the
// results export and of the room schedule, numbers with a decimal point and the export's digits,
// fields quoted as RFC 4180 has it, lines ended by CR LF, UTF-8.

#include <string>

class CLENIProject;

// The field as written: quoted, with its quotes doubled, when it holds a comma, a quote or a line
// break.
std::string FormatCsvField(const std::string& text);

// The whole table for the project.
std::string BuildResultsCsv(const CLENIProject& project);

// Writes the table safely; a file that cannot be written is reported and gives false.
bool ExportResultsCsv(const CLENIProject& project, const std::string& path);
