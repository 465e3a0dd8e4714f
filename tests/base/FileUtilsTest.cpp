#include "base/FileUtils.h"
#include "base/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

namespace {

TEST(FileUtilsTest, FoldersUpToThePlatformsLongestPathAreMadeAndFound) {
    TempDir dir;
    const std::string part(200, 'p'); // one name below the 255 a name may have
    struct Case {
        size_t bytes; // at least, of the whole path
        bool made;
    };
    for (const Case c : {Case{300, true}, Case{2000, true}, Case{kMaxPathBytes - 250, true}, Case{kMaxPathBytes + 1, false}}) {
        SCOPED_TRACE(c.bytes);
        if (c.made && c.bytes > kMaxPathBytes) continue; // a system of short paths (Windows)
        fs::path folder = dir.path();
        while (folder.string().size() + part.size() + 1 <= c.bytes)
            folder /= part;
        folder /= std::string(c.bytes - std::min(c.bytes, folder.string().size() + 1) + 1, 'q').substr(0, 200);
        LogRecorder log;
        EXPECT_EQ(CreateDirectoryPath(folder), c.made) << folder.string().size();
        EXPECT_EQ(DirectoryExists(folder), c.made);
        EXPECT_EQ(log.Contains("more than the"), !c.made) << log.All();
        if (c.made) {
            ASSERT_TRUE(WriteFileSafely(folder / "f.txt", "text"));
            EXPECT_EQ(ReadFileText(folder / "f.txt"), "text");
        }
    }
}

TEST(FileUtilsTest, CopyDirectoryStopsAtTheSixthNestedLevel) {
    TempDir dir;
    fs::path level = dir / "source";
    for (int i = 0; i <= 6; ++i) {
        fs::create_directories(level);
        WriteFileText(level / "f.txt", "level " + std::to_string(i));
        level /= "sub" + std::to_string(i + 1);
    }
    LogRecorder log;
    ASSERT_TRUE(CopyDirectory(dir / "copy", dir / "source", "*", 1));

    fs::path copied = dir / "copy";
    for (int i = 0; i <= 6; ++i) {
        if (i <= 5) {
            EXPECT_EQ(ReadFileText(copied / "f.txt"), "level " + std::to_string(i));
        } else {
            EXPECT_FALSE(fs::exists(copied)) << "level " << i;
        }
        copied /= "sub" + std::to_string(i + 1);
    }
    EXPECT_EQ(log.Count("CopyDirectory:\nRecursion level limit\nSource =<", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("Recursive\nCopyDirectory (", LOG_ERROR), 1);

    // The depth counter is back at zero: a second copy goes as deep again.
    ASSERT_TRUE(CopyDirectory(dir / "again", dir / "source", "*", 1));
    EXPECT_TRUE(fs::exists(dir / "again/sub1/sub2/sub3/sub4/sub5/f.txt"));
}

TEST(FileUtilsTest, CopyDirectoryTakesMatchingVisibleEntriesAndOverwrites) {
    TempDir dir;
    fs::create_directories(dir / "src" / "sub");
    WriteFileText(dir / "src" / "a.DXF", "new a");
    WriteFileText(dir / "src" / "b.txt", "b");
    WriteFileText(dir / "src" / ".hidden.dxf", "h");
    WriteFileText(dir / "src" / "sub" / "c.dxf", "c");
    fs::create_directories(dir / "dst");
    WriteFileText(dir / "dst" / "a.DXF", "old a");
    LogRecorder log;

    ASSERT_TRUE(CopyDirectory(dir / "dst", dir / "src", "*.dxf", 1));
    EXPECT_EQ(ReadFileText(dir / "dst" / "a.DXF"), "new a");
    EXPECT_FALSE(fs::exists(dir / "dst" / "b.txt"));
    EXPECT_FALSE(fs::exists(dir / "dst" / ".hidden.dxf"));
    EXPECT_FALSE(fs::exists(dir / "dst" / "sub")); // "sub" does not match the pattern

    ASSERT_TRUE(CopyDirectory(dir / "flat", dir / "src", "*", 0));
    EXPECT_TRUE(fs::exists(dir / "flat" / "b.txt"));
    EXPECT_FALSE(fs::exists(dir / "flat" / "sub"));

    EXPECT_FALSE(CopyDirectory(dir / "x", dir / "missing", "*", 1));
    EXPECT_EQ(
        log.Count("CopyDirectory: Source <" + (dir / "missing").string() + ">\ndoes not exist", LOG_ERROR),
        1);
}

TEST(FileUtilsTest, DirectoryTests) {
    TempDir dir;
    fs::create_directories(dir / "a");
    WriteFileText(dir / "f.txt", "x");
    std::string a = (dir / "a").string();
    EXPECT_TRUE(DirectoryExists(a));
    EXPECT_TRUE(DirectoryExists(a + "/"));
    EXPECT_FALSE(DirectoryExists(dir / "f.txt"));
    EXPECT_FALSE(DirectoryExists(dir / "none"));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_TRUE(FileExists(dir / "f.txt"));
    EXPECT_FALSE(FileExists(dir / "a"));

    EXPECT_TRUE(CreateDirectoryPath(dir / "b" / "c" / "d"));
    EXPECT_TRUE(DirectoryExists(dir / "b" / "c" / "d"));
    EXPECT_TRUE(CreateDirectoryPath(dir / "b")); // already there
    EXPECT_FALSE(CreateDirectoryPath("ab"));
    EXPECT_FALSE(CreateDirectoryPath(dir / "f.txt" / "under a file"));
}

TEST(FileUtilsTest, ProjectsContainingDir) {
    LogRecorder log;
    EXPECT_EQ(GetProjectsContainingDir("/home/u/Projects/P1"), "/home/u/Projects");
    EXPECT_EQ(GetProjectsContainingDir("C:\\Users\\u\\P1"), "C:\\Users\\u");
    EXPECT_EQ(GetProjectsContainingDir("noslash"), "");
    EXPECT_EQ(log.Count("GetProjectsContainingDir() failed, <noslash>", LOG_ERROR), 1);
    EXPECT_EQ(GetProjectsContainingDir("ab"), std::string(1, fs::path::preferred_separator));
    EXPECT_EQ(log.Count("GetProjectsContainingDir called with empty m_csProjectsDir", LOG_ERROR), 1);
}

TEST(TextUtilsTest, UnusedCodePageBytesSurviveARoundTrip) {
    std::string bytes = "\x81\x8D\x8F\x90\x9D";
    EXPECT_EQ(AsciiFromWideChar(WideCharFromAscii(bytes)), bytes);
    EXPECT_EQ(AsciiFromWideChar("\xE2\x80\x9Cquoted\xE2\x80\x9D"), "\x93quoted\x94");
    EXPECT_EQ(AsciiFromWideChar("bad \xC3"), "bad ?");
}

} // namespace

// "%.Nf" is written from std::to_chars: the same text as printf in the C locale, other formats and
// numbers beyond everyday size still through printf.
TEST(TextUtilsTest, FormatDoubleWritesWhatPrintfWrites) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> wide(-1e7, 1e7);
    std::uniform_int_distribution<int> ties(-40000, 40000);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  2.5,
                                  -2.5,
                                  0.125,
                                  2.675,
                                  1e16,
                                  9.99e16,
                                  2e17,
                                  1e300,
                                  -1e-300,
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    for (int i = 0; i < 2000; ++i) {
        values.push_back(wide(random));
        values.push_back(ties(random) / 16.0);
    }
    for (const char* format :
         {"%.0f", "%.2f", "%.3f", "%0.3f", "%.4f", "%.7f", "%.10f", "%.40f", "%.2f m", "%g"})
        for (double value : values) {
            char expected[512];
            std::snprintf(expected, sizeof expected, format, value);
            ASSERT_EQ(FormatDouble(format, value), expected) << format << " " << value;
        }
}
