// Pieces of work shared between two cores must leave their calculation-log lines, general-log
// messages and message boxes in piece order, as the plain loop leaves them.

#include "base/OrderedParallel.h"
#include "calc/CalcLog.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

class OrderedParallelTest : public ::testing::Test {
  protected:
    ~OrderedParallelTest() override { StopCalcLogger(); }
    RecordingMessageBoxes boxes;
    LogRecorder log;
    TempDir dir{"ordered"};
    std::string path = (dir / "LENI_CALC_LOG_P.TXT").string();
};

// Piece i writes two log lines, reports an error and raises a box; the earlier pieces take
// longer, so that later ones finish first on the other core.
void Piece(size_t i, size_t count) {
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (count - i)));
    CalcLogPrintf("piece %d begins", static_cast<int>(i));
    Log().Printf(LOG_ERROR, "error of piece %d", static_cast<int>(i));
    AlertBox("box of piece %d", static_cast<int>(i));
    CalcLogPrintf("piece %d ends at %.2f%%", static_cast<int>(i), 100.0);
}

std::string ExpectedLog(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += "piece " + std::to_string(i) + " begins\npiece " + std::to_string(i) + " ends at 100.00 \n";
    return text;
}

TEST_F(OrderedParallelTest, TracesComeOutInPieceOrder) {
    const size_t count = 40;
    ASSERT_TRUE(StartCalcLogger(path));
    std::vector<int> done(count, 0);
    RunInOrder(count, [&](size_t i) {
        Piece(i, count);
        done[i] = 1;
    });
    StopCalcLogger();

    EXPECT_EQ(std::count(done.begin(), done.end(), 1), static_cast<long>(count));
    EXPECT_EQ(ReadFileText(path), ExpectedLog(count));
    ASSERT_EQ(log.messages.size(), count);
    // An error is shown in a box as well, before the piece's own box.
    ASSERT_EQ(boxes.boxes.size(), 2 * count);
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(log.messages[i].second, "error of piece " + std::to_string(i));
        EXPECT_EQ(boxes.boxes[2 * i].text, "error of piece " + std::to_string(i));
        EXPECT_EQ(boxes.boxes[2 * i + 1].text, "box of piece " + std::to_string(i));
    }
}

TEST_F(OrderedParallelTest, NestedWorkAndQuietLogKeepTheirMeaning) {
    ASSERT_TRUE(StartCalcLogger(path));
    RunInOrder(3, [&](size_t i) {
        RunInOrder(2, [&](size_t j) { CalcLogPrintf("%d.%d", static_cast<int>(i), static_cast<int>(j)); });
    });
    {
        CCalcLogQuiet quiet; // the caller is quiet, so the pieces are too
        RunInOrder(5, [](size_t i) { CalcLogPrintf("quiet %d", static_cast<int>(i)); });
    }
    StopCalcLogger();
    EXPECT_EQ(ReadFileText(path), "0.0\n0.1\n1.0\n1.1\n2.0\n2.1\n");
}

TEST_F(OrderedParallelTest, AnExceptionComesBackAfterTheTracesBeforeIt) {
    ASSERT_TRUE(StartCalcLogger(path));
    EXPECT_THROW(RunInOrder(6,
                            [](size_t i) {
                                CalcLogPrintf("piece %d", static_cast<int>(i));
                                if (i == 2) throw std::runtime_error("piece 2 fails");
                            }),
                 std::runtime_error);
    StopCalcLogger();
    EXPECT_EQ(ReadFileText(path), "piece 0\npiece 1\npiece 2\n");
}

} // namespace
