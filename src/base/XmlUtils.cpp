#include "base/XmlUtils.h"

#include "base/Logger.h"
#include "base/TextUtils.h"

#include <tinyxml.h>

#include <cerrno>
#include <cstdlib>

TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, const std::string& text) {
    if (!parent) {
        Log().Printf(LOG_ERROR, "Bad top element name in AddXmlTextElement");
        return nullptr;
    }
    if (!name || !*name) {
        Log().Printf(LOG_ERROR, "Bad child element name in AddXmlTextElement");
        return nullptr;
    }
    auto* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(AsciiFromWideChar(text)));
    parent->LinkEndChild(element);
    return element;
}

TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, const char* text) {
    return AddXmlTextElement(parent, name, std::string(text ? text : ""));
}

TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, int value) {
    return AddXmlTextElement(parent, name, StrPrintf("%d", value));
}

TiXmlElement* AddXmlTextElement(TiXmlNode* parent, const char* name, double value) {
    return AddXmlTextElement(parent, name, FormatDouble("%.7f", value));
}

std::string GetXmlText(const TiXmlElement* element) {
    const char* text = element ? element->GetText() : nullptr;
    return text ? WideCharFromAscii(text) : std::string();
}

bool GetXmlChildText(const TiXmlElement* parent, const char* name, std::string& text) {
    const TiXmlElement* child = parent ? parent->FirstChildElement(name) : nullptr;
    text = GetXmlText(child);
    return child != nullptr;
}

bool GetXmlAttribute(const TiXmlElement* element, const char* name, std::string& value) {
    const char* raw = element ? element->Attribute(name) : nullptr;
    value = raw ? WideCharFromAscii(raw) : std::string();
    return raw != nullptr;
}

void SetXmlAttribute(TiXmlElement* element, const char* name, const std::string& value) {
    if (element) element->SetAttribute(name, AsciiFromWideChar(value).c_str());
}

long long ParseXmlInteger(const std::string& text) {
    errno = 0;
    return std::strtoll(text.c_str(), nullptr, 10); // clamps on overflow
}
