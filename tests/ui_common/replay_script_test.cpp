#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <tuple>

#include "ui_common/replay/replay_argument.h"
#include "ui_common/replay/replay_script.h"

namespace pendra2::ui::replay {
namespace {

using A = interaction::PromptAnswer;

TEST(ParseReplayScript, ReadsEveryActionWithItsLineNumber) {
  const auto parsed = ParseReplayScript(
      "\xEF\xBB\xBF# a session\r\n"
      "command 32775   # save as\n"
      "\n"
      "click 12 -3\n"
      "move 0 570\n"
      "drag 5 60 -2 700\n"
      "scroll thumb -40\n"
      "scroll pageup\n"
      "select 2004 1\n"
      "wait 250\n"
      "answer no\n"
      "file \"C:\\\\a \\\"b\\\" #1.flc\"\n"
      "file cancel\n"
      "print \"out.pdf\"\n"
      "shot \"a.png\" screen\n"
      "dialog 184  # wait\n"
      "  set 3001 \"1.5\"\n"
      "  press 3003\n"
      "  pick 1002 4\n"
      "  wait 10\n"
      "  shot \"b.png\"\n"
      "end cancel\n");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  auto lines = parsed.script->lines;
  ASSERT_EQ(lines.size(), 14U);
  EXPECT_EQ(lines[0].line, 2);
  EXPECT_EQ(std::get<CommandAction>(lines[0].action).id, 32775);
  EXPECT_EQ(lines[1].line, 4);
  EXPECT_EQ(std::get<ClickAction>(lines[1].action).y, -3);
  EXPECT_EQ(std::get<MoveAction>(lines[2].action).y, 570);
  const auto drag = std::get<DragAction>(lines[3].action);
  EXPECT_EQ(std::tuple(drag.x1, drag.y1, drag.x2, drag.y2), std::tuple(5, 60, -2, 700));
  lines.erase(lines.begin() + 3);
  EXPECT_EQ(std::get<ScrollAction>(lines[3].action).kind, ScrollKind::Thumb);
  EXPECT_EQ(std::get<ScrollAction>(lines[3].action).position, -40);
  EXPECT_EQ(std::get<ScrollAction>(lines[4].action).kind, ScrollKind::PageUp);
  EXPECT_EQ(std::get<SelectAction>(lines[5].action).index, 1);
  EXPECT_EQ(std::get<WaitAction>(lines[6].action).ms, 250);
  EXPECT_EQ(std::get<AnswerAction>(lines[7].action).answer, A::No);
  EXPECT_EQ(std::get<FileAction>(lines[8].action).path, "C:\\a \"b\" #1.flc");
  EXPECT_FALSE(std::get<FileAction>(lines[9].action).path);
  EXPECT_EQ(std::get<PrintAction>(lines[10].action).path, "out.pdf");
  EXPECT_EQ(std::get<ShotAction>(lines[11].action).path, "a.png");
  EXPECT_TRUE(std::get<ShotAction>(lines[11].action).wholeScreen);
  const auto& block = std::get<DialogBlock>(lines[12].action);
  EXPECT_EQ(lines[12].line, 16);
  EXPECT_EQ(block.id, "184");
  EXPECT_FALSE(block.endOk);
  EXPECT_EQ(block.endLine, 22);
  ASSERT_EQ(block.steps.size(), 5U);
  EXPECT_EQ(block.steps[0].text, "1.5");
  EXPECT_EQ(block.steps[0].line, 17);
  EXPECT_EQ(block.steps[1].kind, DialogStep::Kind::Press);
  EXPECT_EQ(block.steps[2].number, 4);
  EXPECT_EQ(block.steps[4].kind, DialogStep::Kind::Shot);
  EXPECT_EQ(block.steps[4].text, "b.png");
}

TEST(ParseReplayScript, RefusesTheWholeScriptAtTheFirstLineItCannotUnderstand) {
  const struct {
    const char* script;
    int line;
    const char* says;
  } cases[] = {
      {"command 1\nclik 1 2\n", 2, "unknown action 'clik'"},
      {"command\n", 1, "missing a command id"},
      {"command 12x\n", 1, "expected a command id, found '12x'"},
      {"command -5\n", 1, "expected a command id"},
      {"command 99999999999\n", 1, "expected a command id"},
      {"click 1\n", 1, "missing Y"},
      {"drag 1 2 3\n", 1, "missing Y2"},
      {"move 1 2 3\n", 1, "unexpected '3'"},
      {"scroll up\n", 1, "found 'up'"},
      {"scroll thumb\n", 1, "missing a position"},
      {"select 2004 -1\n", 1, "expected an entry number"},
      {"wait -1\n", 1, "expected milliseconds"},
      {"answer maybe\n", 1, "found 'maybe'"},
      {"file out.flc\n", 1, "expected a text or cancel"},
      {"print \"a\\nb\"\n", 1, "backslash"},
      {"file \"open\n", 1, "closing quote"},
      {"file \"a\"b\n", 1, "followed by a blank"},
      {"file \"\xFF\"\n", 1, "UTF-8"},
      {"wait 1\nfile \"\xED\xA0\x80\"\n", 2, "UTF-8"},  // a surrogate
      {"file \"\xF4\x90\x80\x80\"\n", 1, "UTF-8"},      // above U+10FFFF
      {"file \"\xE0\x80\xAF\"\n", 1, "UTF-8"},          // '/' written long
      {"file \"\xF0\x80\x80\xAF\"\n", 1, "UTF-8"},
      {"\"command\" 1\n", 1, "must start with an action"},
      {"set 3001 \"1\"\n", 1, "belongs inside a dialog block"},
      {"end ok\n", 1, "belongs inside a dialog block"},
      {"dialog abc\nend ok\n", 1, "expected a dialog id"},
      {"wait 1\ndialog 184\n  set 3001 \"1\"\n", 2, "dialog 184 has no 'end ok'"},
      {"dialog 184\n  command 2\nend ok\n", 2, "cannot stand inside a dialog block"},
      {"dialog 184\n  set 3001 1.0\nend ok\n", 2, "in double quotes"},
      {"dialog 184\n  press\nend ok\n", 2, "missing a control id"},
      {"dialog 184\nend maybe\n", 2, "expected ok or cancel"},
      {"dialog 184\nend ok now\n", 2, "unexpected 'now'"},
      {"shot a.png\n", 1, "in double quotes"},
      {"shot \"a.png\" window\n", 1, "expected screen"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const auto parsed = ParseReplayScript(c.script);
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.errorLine, c.line);
    EXPECT_EQ(parsed.error.rfind("line " + std::to_string(c.line) + ": ", 0), 0U) << parsed.error;
    EXPECT_NE(parsed.error.find(c.says), std::string::npos) << parsed.error;
  }
}

TEST(LoadReplayScript, ReadsStandardInputForADashAndNamesAFileItCannotRead) {
  std::istringstream input("wait 1\nclick 1\n");
  std::streambuf* const saved = std::cin.rdbuf(input.rdbuf());
  EXPECT_EQ(LoadReplayScript("-").error, "line 2: missing Y");
  std::cin.rdbuf(saved);
  const auto parsed = LoadReplayScript("/nonexistent/session.txt");
  EXPECT_FALSE(parsed.ok());
  EXPECT_NE(parsed.error.find("/nonexistent/session.txt"), std::string::npos);
  EXPECT_FALSE(LoadReplayScript("/").ok());
}

TEST(QuoteText, EscapesQuotesBackslashesAndLineBreaks) {
  EXPECT_EQ(QuoteText("内容\n\"a\\b\""), "\"内容\\n\\\"a\\\\b\\\"\"");
}

TEST(TakeReplayArgument, TakesTheScriptAndLeavesTheRestInOrder) {
  using Args = std::vector<std::string>;
  const struct {
    Args arguments;
    std::optional<std::string> path;
    Args remaining;
    bool usageError;
  } cases[] = {
      {{"-1"}, std::nullopt, {"-1"}, false},
      {{"-1", "--replay", "s.txt"}, "s.txt", {"-1"}, false},
      {{"--replay=-", "x"}, "-", {"x"}, false},
      {{"--replay"}, std::nullopt, {}, true},
      {{"--replay="}, std::nullopt, {}, true},
      {{"--replay", "a", "--replay", "b"}, "a", {}, true},
  };
  for (const auto& c : cases) {
    const ReplayArgument taken = TakeReplayArgument(c.arguments);
    EXPECT_EQ(!taken.usageError.empty(), c.usageError);
    if (c.usageError) continue;
    EXPECT_EQ(taken.scriptPath, c.path);
    EXPECT_EQ(taken.remaining, c.remaining);
  }
}

}  // namespace
}  // namespace pendra2::ui::replay
