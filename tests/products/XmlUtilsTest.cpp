#include "base/XmlUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <clocale>

namespace {

TEST(XmlUtilsTest, TextElementsUseFixedFormatsAndTheFileCodePage) {
    RecordingMessageBoxes boxes;
    LogRecorder log;
    // A comma-decimal locale, where the system has one, must not reach the file.
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "it_IT.UTF-8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    TiXmlElement parent("P");
    AddXmlTextElement(&parent, "D", 62.0);
    AddXmlTextElement(&parent, "N", 0.1 + 0.2);
    AddXmlTextElement(&parent, "I", -7);
    AddXmlTextElement(&parent, "T", std::string("Citt\xC3\xA0 & <co> \xE2\x82\xAC \xE4\xB8\xAD"));
    std::setlocale(LC_NUMERIC, saved.c_str());
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    parent.Accept(&printer);
    EXPECT_EQ(printer.Str(), "<P><D>62.0000000</D><N>0.3000000</N><I>-7</I>"
                             "<T>Citt\xE0 &amp; &lt;co&gt; \x80 ?</T></P>");
    std::string text;
    EXPECT_TRUE(GetXmlChildText(&parent, "T", text));
    EXPECT_EQ(text, "Citt\xC3\xA0 & <co> \xE2\x82\xAC ?");
    EXPECT_TRUE(log.messages.empty()) << log.All();

    EXPECT_EQ(AddXmlTextElement(nullptr, "X", 1), nullptr);
    EXPECT_EQ(AddXmlTextElement(&parent, "", 1.0), nullptr);
    EXPECT_EQ(log.Count("Bad top element name in AddXmlTextElement", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("Bad child element name in AddXmlTextElement", LOG_ERROR), 1);
}

} // namespace
