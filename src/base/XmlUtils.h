#pragma once
// Small helpers shared by every XML reader and writer. Files hold Windows-1252 text; the
// program's strings are UTF-8, so every text crossing these helpers is converted here.

#include <string>

class TiXmlNode;
class TiXmlElement;

// Appends <name>value</name> to parent and returns the new element (nullptr when refused).
// Integers are written with "%d", doubles with "%.7f" in the C locale.
TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, const std::string& text);
TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, const char* text);
TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, int value);
TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, double value);

// The element's text in UTF-8; empty when the element is null or holds no text.
std::string GetXmlText(const TiXmlElement* element);
// Text of the first child element called name; false (text emptied) when there is no such child.
bool GetXmlChildText(const TiXmlElement* parent, const char* name, std::string& text);
// Attribute value in UTF-8; false (value emptied) when the attribute is missing.
bool GetXmlAttribute(const TiXmlElement* element, const char* name, std::string& value);
// Sets an attribute from a UTF-8 text.
void SetXmlAttribute(TiXmlElement* element, const char* name, const std::string& value);

// A decimal integer read like the C library does (leading blanks, sign, digits; text that is
// no number gives 0), clamped to the range of long long.
long long ParseXmlInteger(const std::string& text);
