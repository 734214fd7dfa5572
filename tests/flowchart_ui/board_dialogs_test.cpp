// The dialogs that talk to the board, against a scripted board: the live readings of the
// branch dialogs (ticked by hand, never by the clock), the board information, and the
// About and image dump dialogs around them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <map>

#include "device/board.h"
#include "dialog_driver.h"
#include "flowchart_ui/dialogs/about_dialog.h"
#include "flowchart_ui/dialogs/board_info_dialog.h"
#include "flowchart_ui/dialogs/branch_dialog.h"
#include "flowchart_ui/dialogs/compare_dialog.h"
#include "flowchart_ui/dialogs/image_dump_dialog.h"
#include "flowchart_ui/info_dialogs.h"
#include "support/fake_transport.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;

class ScriptedBoard : public BoardReader {
 public:
  InputReading ReadInput(int input) override {
    asked.push_back(input);
    return {outcome, static_cast<uint16_t>(100 * input + asked.size())};
  }
  InfoReply QueryInfo() override {
    ++queries;
    return info;
  }
  ReadOutcome outcome = ReadOutcome::kReading;
  std::vector<int> asked;
  InfoReply info;
  int queries = 0;
};

QString Shown(const QWidget& dialog, int id) {
  return dialog.findChild<QLabel*>(QString::number(id))->text();
}
QString Caption(const QWidget& dialog, int id) {
  return dialog.findChild<QPushButton*>(QString::number(id))->text();
}

TEST(LiveReading, EachTickReadsTheInputCheckedAtThatTick) {
  ScriptedBoard board;
  BranchDialog dialog(&board, nullptr);
  dialog.show();
  dialog.input().SetChecked(1101);
  EXPECT_EQ(Caption(dialog, 1010), "センサ読み取り");
  Press(dialog, 1010);
  EXPECT_EQ(Caption(dialog, 1010), "センサー停止");
  dialog.reading().Tick();
  Press(dialog, 1102);  // switched while reading: the next tick asks input 2
  dialog.reading().Tick();
  dialog.input().SetChecked(0);  // none checked reads input 3
  dialog.reading().Tick();
  EXPECT_EQ(board.asked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Shown(dialog, 1011), "303");
  Press(dialog, 1055);
  EXPECT_EQ(dialog.Edit(3001)->text(), "303");

  Press(dialog, 1010);
  EXPECT_EQ(Caption(dialog, 1010), "センサー読み取り");
  dialog.reading().Tick();
  EXPECT_EQ(board.asked.size(), 3u) << "stopped";

  // Without a board the reading goes on, showing the last reading.
  board.outcome = ReadOutcome::kNoBoard;
  Press(dialog, 1010);
  dialog.reading().Tick();
  EXPECT_TRUE(dialog.reading().running());
  EXPECT_EQ(Shown(dialog, 1011), "303");
  // A board that lets the reply wait run out stops it, and the dialog says why.
  board.outcome = ReadOutcome::kNoAnswer;
  dialog.reading().Tick();
  EXPECT_FALSE(dialog.reading().running());
  EXPECT_EQ(Caption(dialog, 1010), "センサー読み取り");
  bool told = false;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) told |= label->text() == kNoAnswerNote;
  EXPECT_TRUE(told);

  // Closing the dialog ends the reading.
  board.outcome = ReadOutcome::kReading;
  Press(dialog, 1010);
  dialog.reject();
  EXPECT_FALSE(dialog.reading().running());
}

TEST(LiveReading, CompareDialogReadsBothInputsEachTick) {
  ScriptedBoard board;
  CompareDialog dialog(&board, nullptr);
  dialog.show();
  Press(dialog, 1010);
  dialog.reading().Tick();
  EXPECT_EQ(board.asked, (std::vector<int>{1, 2}));
  EXPECT_EQ(Shown(dialog, 1012), "101");
  EXPECT_EQ(Shown(dialog, 1013), "202");
  board.outcome = ReadOutcome::kNoAnswer;
  dialog.reading().Tick();
  EXPECT_EQ(board.asked.size(), 3u) << "no second wait after the first ran out";
  EXPECT_FALSE(dialog.reading().running());
  EXPECT_EQ(Shown(dialog, 1012), "101");
}

TEST(BoardInfo, ShowsTheReplyFieldsOrWhatTheBufferHeldWhenTheBoardIsSilent) {
  ScriptedBoard board;
  board.info = {true, {"OK", "V3.00.00", '3', "20240101", "12345"}};
  BoardInfoDialog dialog(&board, nullptr);
  EXPECT_EQ(Shown(dialog, 1052), "NUN-------");
  dialog.Query();
  dialog.Query();
  EXPECT_EQ(board.queries, 1);
  const std::pair<int, const char*> fields[] = {
      {1046, "OK"}, {1052, "V3.00.00"}, {1053, "12345"}, {1054, "20240101"}};
  for (const auto& [id, text] : fields) EXPECT_EQ(Shown(dialog, id), text) << id;

  board.info.answered = false;
  BoardInfoDialog silent(&board, nullptr);
  silent.Query();
  EXPECT_EQ(Shown(silent, 1052), "V3.00.00") << "the previous reply stays in the buffer";
  bool told = false;
  for (const QLabel* label : silent.findChildren<QLabel*>())
    told |= label->text() == kBoardSilentNote;
  EXPECT_TRUE(told);

  BoardInfoDialog unplugged(nullptr, nullptr);
  unplugged.Query();
  EXPECT_EQ(Shown(unplugged, 1052), "");
  told = false;
  for (const QLabel* label : unplugged.findChildren<QLabel*>())
    told |= label->text() == kNoBoardNote;
  EXPECT_TRUE(told);
}

TEST(BoardReader, TellsAReadingFromAMissingBoardAndFromOneThatDoesNotAnswer) {
  test::FakeTransport fake;
  device::Board board(fake, 20);
  const auto reader = MakeBoardReader(board);
  EXPECT_EQ(reader->ReadInput(1).outcome, ReadOutcome::kNoBoard);
  EXPECT_FALSE(reader->QueryInfo().boardFound);

  const auto model = fake.AddBoard("b");
  model->SetInput(1, 613);
  ASSERT_EQ(board.FindBoard(), device::kBoardFound);
  const InputReading reading = reader->ReadInput(2);
  EXPECT_EQ(reading.outcome, ReadOutcome::kReading);
  EXPECT_EQ(reading.value, 613);
  const InfoReply info = reader->QueryInfo();
  EXPECT_TRUE(info.answered);
  EXPECT_EQ(info.info.version, "V3.00.00");

  fake.silent = true;
  EXPECT_EQ(reader->ReadInput(1).outcome, ReadOutcome::kNoAnswer);
  const InfoReply silent = reader->QueryInfo();
  EXPECT_FALSE(silent.answered);
  EXPECT_TRUE(silent.boardFound);
  EXPECT_EQ(silent.info.version, "V3.00.00") << "the earlier reply stays in the buffer";
}

TEST(AboutBox, ShowsTheVersionAndOpensTheBoardInformation) {
  ScriptedBoard board;
  std::string about, info;
  WhenOpen({[&](TemplateDialog& d) {
              EXPECT_EQ(Shown(d, 1034), "4.25.80A");
              EXPECT_EQ(Shown(d, 1035), "28692");
              WhenOpen({[](TemplateDialog& d) { static_cast<BoardInfoDialog&>(d).Query(); }, kOk},
                       &info);
              Press(d, 1009);
            },
            kOk},
           &about);
  ShowAbout(nullptr, &board);
  EXPECT_EQ(about, "103 バージョン情報 Pendra2 ステップクラフト　基本版");
  EXPECT_EQ(info, "213 Pendra バージョン情報");
  EXPECT_EQ(board.queries, 1);
}

TEST(ImageDump, ShowsEitherHalfInHexOrAsCharacters) {
  std::array<uint8_t, 512> image{};
  image.fill(0xFF);
  image[5] = 0x41;
  image[256 + 17] = 0x41;
  image[6] = 0;
  ImageDumpDialog dialog(image, nullptr);
  EXPECT_EQ(dialog.Edit(3006)->text(), "41") << "opens on the first half in hex";
  EXPECT_EQ(dialog.Edit(3256)->text(), "FF");
  const struct {
    int button;
    int cell;
    const char* text;
  } views[] = {{4002, 3018, "41"},
               {4003, 3006, "A"},
               {4003, 3007, ""},
               {4004, 3018, "A"},
               {4001, 3007, "00"}};
  for (const auto& v : views) {
    Press(dialog, v.button);
    EXPECT_EQ(dialog.Edit(v.cell)->text(), v.text) << v.button << " " << v.cell;
    EXPECT_TRUE(dialog.Edit(v.cell)->isReadOnly());
  }
  EXPECT_EQ(dialog.objectName(), "204");
  EXPECT_EQ(dialog.windowTitle(), "Dialog");
}

}  // namespace
}  // namespace pendra2::flowchart_ui
