#include "installer/console/console_writer.h"

#include <gtest/gtest.h>

#include "tests/support/sim_test.h"

namespace {

using installer::ConsoleWrite;
using installer::ConsoleWriter;

TEST(ConsoleColorTable, AttributesAndOutOfRange) {
  const struct {
    int foreground, background;
    win::Word attribute;
  } cases[] = {
      {11, 1, 0x0A}, {16, 6, 0x5F}, {10, 16, 0xFC}, {12, 13, 0x9E}, {7, 1, 0x03}, {8, 1, 0x07},
      {1, 1, 0x00},  {0, 0, 0x77},  {17, 17, 0x77}, {-1, 16, 0xF7}, {2, 9, 0x84},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.foreground << "/" << c.background);
    EXPECT_EQ(installer::ForegroundAttribute(c.foreground) | installer::BackgroundAttribute(c.background),
              c.attribute);
  }
}

class ConsoleWriteTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    world().console.attribute = 0x1E;
    writer = ConsoleWriter::Create();
  }
  // A new world and writer in which the given call will fail.
  void FreshWriterFailing(const char* function, int occurrence) {
    sim::ResetWorld();
    world().console.attribute = 0x1E;
    writer = ConsoleWriter::Create();
    world().FailNext(function, occurrence);
  }
  ConsoleWriter writer;
};

TEST_F(ConsoleWriteTest, WritesBytesInColourAndRestoresAttributes) {
  ASSERT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 11, 1, "100%d %% 真\r\n"));
  ASSERT_EQ(world().console.writes.size(), 1u);
  EXPECT_EQ(world().console.writes[0].text, "100%d %% 真\r\n");
  EXPECT_EQ(world().console.writes[0].attribute, 0x0A);
  EXPECT_EQ(world().console.attribute, 0x1E);
  EXPECT_EQ(world().console.row, 1);
}

TEST_F(ConsoleWriteTest, EmptyTextStillSetsAndRestores) {
  ASSERT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, ""));
  EXPECT_TRUE(world().console.writes.empty());
  EXPECT_EQ(world().console.attributeHistory, (std::vector<win::Word>{0x5F, 0x1E}));
}

TEST_F(ConsoleWriteTest, AbsentTextDoesNothingAndSucceeds) {
  ASSERT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, std::nullopt));
  EXPECT_TRUE(world().console.attributeHistory.empty());
  EXPECT_EQ(world().CallCount("GetConsoleScreenBufferInfo"), 0);
}

TEST_F(ConsoleWriteTest, EmptyWriterWritesNothing) {
  writer.Release();
  EXPECT_FALSE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 11, 1, "x"));
  EXPECT_TRUE(world().console.writes.empty());
}

TEST_F(ConsoleWriteTest, CursorMovesOnlyWithBothCoordinates) {
  world().console.column = 3;
  world().console.row = 4;
  ASSERT_TRUE(ConsoleWrite(writer, std::int16_t{10}, std::nullopt, false, 11, 1, "a"));
  EXPECT_EQ(world().console.writes.back().column, 3);
  ASSERT_TRUE(ConsoleWrite(writer, std::int16_t{10}, std::int16_t{2}, false, 11, 1, "b"));
  EXPECT_EQ(world().console.writes.back().column, 10);
  EXPECT_EQ(world().console.writes.back().row, 2);
}

TEST_F(ConsoleWriteTest, RestoreCursorReturnsToPositionBeforeTheCall) {
  world().console.column = 5;
  world().console.row = 7;
  // With a position given, the cursor ends where it was before the move.
  ASSERT_TRUE(ConsoleWrite(writer, std::int16_t{20}, std::int16_t{1}, true, 11, 1, "abc"));
  EXPECT_EQ(world().console.writes.back().column, 20);
  EXPECT_EQ(world().console.column, 5);
  EXPECT_EQ(world().console.row, 7);
  // Without a position.
  ASSERT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, true, 11, 1, "abc\r\n"));
  EXPECT_EQ(world().console.column, 5);
  EXPECT_EQ(world().console.row, 7);
}

TEST_F(ConsoleWriteTest, EachFailingStepEndsTheWriteWithFalse) {
  const struct {
    const char* function;
    int occurrence;
    bool textShown;
    win::Word attributeAfter;
  } cases[] = {
      {"GetConsoleScreenBufferInfo", 1, false, 0x1E},
      {"SetConsoleCursorPosition", 1, false, 0x1E},  // the move before writing
      {"SetConsoleTextAttribute", 1, false, 0x1E},
      {"WriteFile", 1, false, 0x0A},
      {"SetConsoleCursorPosition", 2, true, 0x0A},  // the restore after writing
      {"SetConsoleTextAttribute", 2, true, 0x0A},   // colours stay until the next write
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.function << " #" << c.occurrence);
    FreshWriterFailing(c.function, c.occurrence);
    EXPECT_FALSE(ConsoleWrite(writer, std::int16_t{0}, std::int16_t{0}, true, 11, 1, "x"));
    EXPECT_EQ(!world().console.writes.empty(), c.textShown);
    EXPECT_EQ(world().console.attribute, c.attributeAfter);
    EXPECT_EQ(world().failed.size(), 1u);
  }
}

// The colours a failed write left behind are not taken for the console's
// own: the next write that succeeds puts the console's own back.
TEST_F(ConsoleWriteTest, NextWritePutsBackTheColoursAFailedWriteLeft) {
  const struct {
    const char* function;
    int occurrence;
  } cases[] = {{"WriteFile", 1}, {"FlushFileBuffers", 1}, {"SetConsoleTextAttribute", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.function << " #" << c.occurrence);
    FreshWriterFailing(c.function, c.occurrence);
    EXPECT_FALSE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 11, 1, "x"));
    EXPECT_EQ(world().console.attribute, 0x0A);
    // A second failure before the colours change keeps them owed.
    world().FailNext("GetConsoleScreenBufferInfo");
    EXPECT_FALSE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, "y"));
    EXPECT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, "z"));
    EXPECT_EQ(world().console.writes.back().attribute, 0x5F);
    EXPECT_EQ(world().console.attribute, 0x1E);
    EXPECT_TRUE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, "w"));
    EXPECT_EQ(world().console.attribute, 0x1E);
  }
}

TEST_F(ConsoleWriteTest, NotAConsoleWritesNothing) {
  world().console.isConsole = false;
  EXPECT_FALSE(ConsoleWrite(writer, std::nullopt, std::nullopt, false, 11, 1, "x\r\n"));
  EXPECT_TRUE(world().console.redirected.empty());
  EXPECT_EQ(world().CallCount("WriteFile"), 0);
}

TEST_F(ConsoleWriteTest, WriterTakesInputThenOutputHandle) {
  sim::ResetWorld();
  writer = ConsoleWriter::Create();
  const auto& calls = world().calls;
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "GetStdHandle");
  EXPECT_EQ(calls[1], "GetStdHandle");
  EXPECT_FALSE(win::IsNull(writer.Output()));
}

}  // namespace
