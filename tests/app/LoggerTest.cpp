#include "app/Logger.h"
#include "app/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string StripPrefix(const std::string& line) {
    // "[DD/MM/YY HH:MM:SS]:" is 20 characters.
    return line.size() >= 20 && line[0] == '[' ? line.substr(20) : line;
}

TEST(LoggerTest, BatchModeWritesErrorsOnOneLineWithoutHeader) {
    TempDir dir;
    Log().Reset();
    RecordingMessageBoxes boxes;
    Log().SetToFile((dir / "log.txt").string());
    Log().SetMode(LOGMODE_BATCH);
    Log().Printf(LOG_ERROR, "first line\nsecond line");
    Log().Printf(LOG_INFO, "dropped");
    Log().Printf(LOG_DEFERRED, "dropped too");
    Log().Printf(LOG_ERROR, "50%% done, %s", "100%% sure");
    auto lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("CLogger::SetToFile (", 0), 0u);
    EXPECT_EQ(StripPrefix(lines[1]), "first line second line");
    EXPECT_EQ(StripPrefix(lines[2]), "50  done, 100% sure");
    EXPECT_TRUE(boxes.boxes.empty());
    Log().Reset();
}

TEST(LoggerTest, InteractiveModeShowsErrorsAndWritesHeader) {
    TempDir dir;
    Log().Reset();
    RecordingMessageBoxes boxes;
    Log().SetToFile((dir / "log.txt").string());
    Log().Printf(LOG_ERROR, "two\nlines");
    Log().Printf(LOG_DEFERRED, "later");
    Log().Printf(LOG_INFO, "note");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "two\nlines");
    EXPECT_EQ(boxes.boxes[0].caption, "Tolvane Software");
    EXPECT_TRUE(Log().IsDeferredErrorPending());
    EXPECT_EQ(Log().GetLastDeferredError(), "later");
    auto lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "ERROR:");
    EXPECT_EQ(StripPrefix(lines[3]), "two");
    EXPECT_EQ(lines[4], "lines");
    EXPECT_EQ(lines[6], "ERROR:");
    EXPECT_EQ(StripPrefix(lines[7]), "later");
    EXPECT_EQ(StripPrefix(lines[8]), "note");
    Log().Reset();
}

TEST(LoggerTest, SecondSetToFileInteractiveIsRefused) {
    TempDir dir;
    Log().Reset();
    RecordingMessageBoxes boxes;
    Log().SetToFile((dir / "a.txt").string());
    Log().SetToFile((dir / "b.txt").string());
    EXPECT_TRUE(boxes.Contains("CLogger::SetToFile, but <"));
    EXPECT_FALSE(fs::exists(dir / "b.txt"));
    Log().Reset();
}

TEST(TextUtilsTest, Windows1252RoundTrip) {
    std::string utf8 = "Scuola \xC3\xA8 bella \xE2\x82\xAC \xC3\x9C" "bung";
    std::string cp = AsciiFromWideChar(utf8);
    EXPECT_EQ(cp, "Scuola \xE8 bella \x80 \xDC" "bung");
    EXPECT_EQ(WideCharFromAscii(cp), utf8);
    EXPECT_EQ(AsciiFromWideChar("\xE4\xB8\xAD"), "?"); // outside the code page
}

} // namespace
