#pragma once
// Text helpers. Inside the program text is UTF-8; files hold Windows-1252.

#include <cstdarg>
#include <string>
#include <vector>

// UTF-8 -> Windows-1252; a character outside the code page becomes '?'.
std::string AsciiFromWideChar(const std::string& utf8);
// Windows-1252 -> UTF-8.
std::string WideCharFromAscii(const std::string& cp1252);

// The Unicode code point of a Windows-1252 byte (the five unused bytes keep their own number).
unsigned CodePointFromCp1252(unsigned char byte);
// The Windows-1252 byte of a code point; -1 when the code page has none.
int Cp1252ByteFromCodePoint(unsigned codePoint);

std::string TrimWhiteSpace(const std::string& text);
// printf into a std::string (no limit).
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string StrVPrintf(const char* format, va_list args);
bool EqualsNoCase(const std::string& a, const std::string& b);
std::string ToUpper(const std::string& text);
std::string ToLower(const std::string& text);
// Parses like the C library (strtod in the C locale); text that is no number gives 0.
double ParseDouble(const std::string& text);
// Formats with printf in the C locale, whatever the process locale.
std::string FormatDouble(const char* format, double value);
