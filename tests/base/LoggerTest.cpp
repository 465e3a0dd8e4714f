#include "base/Logger.h"
#include "base/TextUtils.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

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
    std::string utf8 = "Scuola \xC3\xA8 bella \xE2\x82\xAC \xC3\x9C"
                       "bung";
    std::string cp = AsciiFromWideChar(utf8);
    EXPECT_EQ(cp, "Scuola \xE8 bella \x80 \xDC"
                  "bung");
    EXPECT_EQ(WideCharFromAscii(cp), utf8);
    EXPECT_EQ(AsciiFromWideChar("\xE4\xB8\xAD"), "?"); // outside the code page
}

TEST(LoggerTest, LongMessagesAreCutAndLongFormatsRefused) {
    TempDir dir;
    Log().Reset();
    RecordingMessageBoxes boxes;
    Log().SetToFile((dir / "log.txt").string());
    Log().SetMode(LOGMODE_BATCH);
    Log().Printf(LOG_ERROR, "%s", std::string(1000, 'x').c_str());
    // Accented characters count once each, as in the file.
    Log().Printf(LOG_ERROR, "%s", (std::string(779, 'y') + "\xC3\xA8\xC3\xA8").c_str());
    std::string longFormat(780, 'f');
    Log().Printf(LOG_ERROR, longFormat.c_str(), 0);
    auto lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(StripPrefix(lines[1]), std::string(780, 'x'));
    EXPECT_EQ(StripPrefix(lines[2]), std::string(779, 'y') + "\xE8");
    EXPECT_EQ(StripPrefix(lines[3]), "CLogger::Printf string too long: 780 chars");
    Log().Reset();
}

TEST(LoggerTest, SetToFileRewritesTheFileWithItsFirstLine) {
    TempDir dir;
    WriteFileText(dir / "log.txt", "old content\nfrom the last start\n");
    Log().Reset();
    Log().SetToFile((dir / "log.txt").string());
    auto lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 1u);
    std::regex first(
        "CLogger::SetToFile \\(.*log\\.txt\\) on Date: [0-9]{2}-[0-9]{2}-[0-9]{4} [0-9]{2}:[0-9]{2}\\.");
    EXPECT_TRUE(std::regex_match(lines[0], first)) << lines[0];
    Log().Printf(LOG_INFO, "%s", "a note");
    lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex("\\[[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\\]:a note")))
        << lines[1];
    Log().Reset();
}

TEST(LoggerTest, BoxesInBatchModeGoToTheLogFileOnly) {
    TempDir dir;
    Log().Reset();
    RecordingMessageBoxes boxes;
    Log().SetToFile((dir / "log.txt").string());
    Log().SetMode(LOGMODE_BATCH);
    WalertBox("DXF error in <%s>\nline %d", "plan.dxf", 12);
    EXPECT_EQ(WyesNoBox("Overwrite?"), IDNO);
    EXPECT_EQ(WyesNoCancelBox("Save?"), IDCANCEL);
    EXPECT_TRUE(boxes.boxes.empty());
    auto lines = ReadLines(dir / "log.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(StripPrefix(lines[1]), "DXF error in <plan.dxf> line 12");
    EXPECT_EQ(StripPrefix(lines[2]), "Overwrite?");
    Log().Reset();
}

TEST(LoggerTest, MessageBoxOperations) {
    Log().Reset();
    RecordingMessageBoxes boxes;
    boxes.answers = {IDYES, IDCANCEL};
    EXPECT_EQ(WyesNoBox("Remove <%s>?", "F1"), IDYES);
    EXPECT_EQ(YesNoCancelBox("Import?"), IDCANCEL);
    IconedWalertBoxW(9, "%s", "careful");
    errno = ENOENT;
    ReportLastError("CopyDirectory", "Could not copy <%s>", "a");
    ASSERT_EQ(boxes.boxes.size(), 5u);
    EXPECT_EQ(boxes.boxes[0].caption, "Tolvane Software");
    EXPECT_EQ(boxes.boxes[0].buttons, MB_BUTTONS_YESNO);
    EXPECT_EQ(boxes.boxes[1].caption, " ");
    EXPECT_EQ(boxes.boxes[1].buttons, MB_BUTTONS_YESNOCANCEL);
    EXPECT_EQ(boxes.boxes[2].text, "Bad icon in IconedWalertBoxW:9");
    EXPECT_EQ(boxes.boxes[2].icon, MB_ICON_EXCLAMATION);
    EXPECT_EQ(boxes.boxes[3].text, "careful");
    EXPECT_EQ(boxes.boxes[3].icon, MB_ICON_EXCLAMATION);
    EXPECT_EQ(boxes.boxes[4].text,
              StrPrintf("Caller CopyDirectory failed\nwith error\n%d:%s\nCould not copy <a>", ENOENT,
                        std::strerror(ENOENT)));
}

} // namespace
