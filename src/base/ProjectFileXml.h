#pragma once
// Model-independent helpers of the project file: its names, number and text forms, and the
// conversion between a TinyXML document and the bytes of the file.

#include <cstddef>
#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

extern const char* const kProjectFileRoot;      // "NUVA_LENI_V3"
extern const char* const kProjectFileExtension; // "LENI1XML"

// What one XML file may hold, far above any real building. A file beyond a limit is refused
// before it is parsed, with a message naming the limit (see README, "Limits").
constexpr int kMaxXmlAttributes = 1000;    // attributes on one element
constexpr int kMaxFloors = 1000;           // "Floor" elements in the "FloorList"
constexpr int kMaxRoomsPerFloor = 10000;   // "Room" elements in one "RoomList"
constexpr int kMaxZonesPerRoom = 1000;     // "Zone" elements in one "ZoneList"
constexpr int kMaxLuminaireEntries = 1000; // entries of one "LumList"

// Name, description and location are stored as printable ASCII: characters 32 to 126 stay,
// à becomes a, è and é become e, ò becomes o, any other character becomes '_'.
std::string ReduceToPrintableAscii(const std::string& utf8);

// Attributes in the file's forms: a double with the given printf format, a boolean as "1"/"0".
void SetDoubleAttribute(TiXmlElement* element, const char* name, const char* format, double value);
void SetBoolAttribute(TiXmlElement* element, const char* name, bool value);

// The largest magnitude a number of a project file may have; larger ones are clamped to it.
constexpr double kLargestFileNumber = 1e9;
// Numbers as the C library reads them; text that is no finite number reads as 0, so that NaN
// or an overflow never reaches the model, and a magnitude beyond kLargestFileNumber is clamped to
// it; either is reported, naming where (an element and attribute) when given.
double ParseFileDouble(const std::string& text, const std::string& where = std::string());
// Clamped to the range of int.
int ParseFileInt(const std::string& text);
// Truncated toward zero and clamped to the range of int; NaN gives 0.
int TruncateToInt(double value);

// A polygon vertex "x;y": split at blanks, semicolons, commas, colons and tabs; the first two
// parts must be numbers, anything after them is ignored.
bool ParseXyText(const std::string& text, double& x, double& y);

// The whole document as the bytes of the file. The text is Windows-1252; every byte above 127
// is written as a character reference, so that the file is plain ASCII that any XML parser
// reads, while readers of 8-bit files still get the same byte back.
// Each line of the text begins with indent.
std::string DocumentToFileText(TiXmlDocument& doc, const char* indent = "");
// Parses file bytes as Windows-1252 text, keeping the white space of texts exactly. A document
// nested deeper than any project file is refused before parsing (the parser recurses).
bool ParseFileText(const std::string& text, TiXmlDocument& doc);

// A part of a text: [begin, end).
struct TextSpan {
    size_t begin;
    size_t end;
};
// The first half of ParseFileText: the text checked against the limits (the reason logged when
// it is beyond one) and brought to what the parser reads. When floorRooms is given, it receives
// an entry for each floor of the root's floor list, in order: the spans in prepared of the rooms
// of the floor's first room list, each of which parses on its own.
bool PrepareFileText(std::string text, std::string& prepared,
                     std::vector<std::vector<TextSpan>>* floorRooms);
// The second half: the parser run on a prepared text, or on a part of it that is whole elements.
// Run it within a CPreservedWhiteSpace.
bool ParsePreparedText(const char* text, TiXmlDocument& doc);
// For its life the parser keeps the blanks and line breaks of texts (the setting is global to
// TinyXML: set it around all parsing, before any parser runs on another thread).
class CPreservedWhiteSpace {
  public:
    CPreservedWhiteSpace();
    ~CPreservedWhiteSpace();
    CPreservedWhiteSpace(const CPreservedWhiteSpace&) = delete;
    CPreservedWhiteSpace& operator=(const CPreservedWhiteSpace&) = delete;

  private:
    bool m_bCondensed;
};
