// The real dialogs, typed into and confirmed as a user would: the step dialogs through
// QtStepDialogs on a program, and the dialogs that talk to a scripted board (live readings
// ticked by hand, never by the clock). The field rules themselves are the core's and are
// tested there.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "device/board.h"
#include "flowchart/dialog_fields.h"
#include "flowchart/view_test_support.h"
#include "flowchart_ui/dialogs/about_dialog.h"
#include "flowchart_ui/dialogs/board_info_dialog.h"
#include "flowchart_ui/dialogs/branch_dialog.h"
#include "flowchart_ui/dialogs/compare_dialog.h"
#include "flowchart_ui/dialogs/image_dump_dialog.h"
#include "flowchart_ui/info_dialogs.h"
#include "flowchart_ui/qt_step_dialogs.h"
#include "stepcraft_fakes.h"
#include "support/fake_transport.h"
#include "ui_common/board_worker.h"
#include "ui_common/music_box.h"
#include "ui_common/qt_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using interaction::DialogResult;
using namespace testing;
using namespace flowchart::view::testing;
using namespace pendra2::testing;
using Act = std::function<void(TemplateDialog&)>;

void Press(TemplateDialog& d, int id) {
  auto* button = qobject_cast<QAbstractButton*>(d.Control(id));
  ASSERT_NE(button, nullptr) << id;
  // On the indicator: a radio or check box answers only on its indicator and text.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Acts as a user, a word each: "3001=2.4" types into edit 3001 (replacing its text),
// "3001?1.5" expects it to show 1.5, "1004" presses control 1004, "ok", "enter", "esc" and
// "close" as the keys and the close box, and "tick" ticks the live reading.
Act Acts(std::string words) {
  return [words](TemplateDialog& d) {
    std::istringstream in(words);
    for (std::string w; d.isVisible() && in >> w;) {
      const size_t sep = w.find_first_of("=?");
      const int id = std::atoi(w.c_str());
      if (w == "enter" || w == "esc") {
        QTest::keyClick(&d, w == "enter" ? Qt::Key_Return : Qt::Key_Escape);
      } else if (w == "close") {
        d.close();
      } else if (w == "tick") {
        d.findChild<LiveReading*>()->Tick();
      } else if (w == "ok") {
        Press(d, kOkId);
      } else if (sep == std::string::npos) {
        Press(d, id);
      } else if (w[sep] == '?') {
        EXPECT_EQ(Shown(d, id).toStdString(), w.substr(sep + 1)) << w;
      } else {
        ASSERT_NE(d.Edit(id), nullptr) << w;
        d.Edit(id)->selectAll();
        QTest::keyClicks(d.Edit(id), QString::fromStdString(w.substr(sep + 1)));
      }
    }
  };
}

// Runs `acts` in turn in the dialog that opens next, while it stays open; its object name
// and title land in `opened`.
void WhenOpen(std::vector<Act> acts, std::string* opened = nullptr) {
  WhenModal<TemplateDialog>([acts = std::move(acts), opened](TemplateDialog& d) {
    if (opened) *opened = d.objectName().toStdString() + " " + d.windowTitle().toStdString();
    for (const Act& act : acts) {
      if (d.isVisible()) act(d);
    }
  });
}

// Whether some label inside `dialog` says `text`.
bool SaysSomewhere(const QWidget& dialog, const char* text) {
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text() == text) return true;
  }
  return false;
}

class NoFiles : public interaction::FileChooser {
 public:
  std::optional<std::string> Choose(const interaction::FileRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<interaction::FileRequest> requests;
};

struct StepDialogsTest : ::testing::Test {
  ScriptedPrompter prompter;
  NoFiles files;
  QtStepDialogs dialogs{prompter, files, nullptr};
};

TEST_F(StepDialogsTest, TypedEntriesAreStoredOnOkAndNothingOnCancel) {
  using K = flowchart::StepKind;
  const struct {
    flowchart::StepRecord step;
    DialogResult (QtStepDialogs::*open)(flowchart::FlowProgram&);
    const char* acts;
    const char* opened;
    DialogResult result;
    flowchart::StepRecord stored;  // kind, value, target, op, channel compared
  } cases[] = {
      {Step(K::Wait, 0, 3), &QtStepDialogs::Wait, "3001?1.5 3001=2.4 ok", "184 待機設定",
       DialogResult::Ok, Step(K::Wait, 0, 4)},
      // A refused entry shows its message and keeps the dialog open.
      {Step(K::Wait, 0, 3), &QtStepDialogs::Wait, "3001=400 ok 3001=0.5 ok", "184 待機設定",
       DialogResult::Ok, Step(K::Wait, 0, 1)},
      {Step(K::Branch, 2, 100, 1, 0), &QtStepDialogs::Branch, "3001=300 1004 1102 1045=-3 ok",
       "207 分岐設定", DialogResult::Ok, Step(K::Branch, 1, 300, 2, 1)},
      {Step(K::Output, 0, 1, 0, 0), &QtStepDialogs::Output, "1045 1044 enter", "208 出力設定",
       DialogResult::Ok, Step(K::Output, 0, 0, 0, 2)},
      {Step(K::Goto, 2), &QtStepDialogs::Goto, "1045=4 ok", "214 goto設定", DialogResult::Ok,
       Step(K::Goto, 4)},
      {Step(K::Compare, 2, 7, 1), &QtStepDialogs::Compare, "3001=9 1006 esc", "215 分岐設定",
       DialogResult::Cancel, Step(K::Compare, 2, 7, 1)},
      {Step(K::ExtOutput, 0, 0, 0, 5), &QtStepDialogs::ExtOutput, "1059 1062 ok", "216 出力設定",
       DialogResult::Ok, Step(K::ExtOutput, 0, 0, 0, 12)},
      {Step(K::Variable, 0, 1, 0, 0), &QtStepDialogs::VariableA, "1052=12 1060 ok",
       "231 変数Aの設定", DialogResult::Ok, Step(K::Variable, 0, 12, 4, 0)},
      {Step(K::Variable, 0, 1, 0, 1), &QtStepDialogs::VariableB, "1057 ok", "233 変数Bの設定",
       DialogResult::Ok, Step(K::Variable, 0, 1, 10, 1)},
      {Step(K::VarCompare, 3, 0, 0), &QtStepDialogs::VarCompare, "1061=-20 1052 1045=2 ok",
       "232 変数条件ジャンプ", DialogResult::Ok, Step(K::VarCompare, 2, -20, 4)},
      {Step(K::Goto, 2), &QtStepDialogs::Goto, "1045=4 close", "214 goto設定", DialogResult::Cancel,
       Step(K::Goto, 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.acts);
    auto program = WaitProgram(6);
    program->steps[3] = c.step;
    program->currentStep = 3;
    program->modified = false;
    std::string opened;
    WhenOpen({Acts(c.acts)}, &opened);
    EXPECT_EQ((dialogs.*c.open)(*program), c.result);
    EXPECT_EQ(opened, c.opened);
    const flowchart::StepRecord& s = program->steps[3];
    EXPECT_EQ(std::tuple(s.value, s.target, s.op, s.channel),
              std::tuple(c.stored.value, c.stored.target, c.stored.op, c.stored.channel));
    EXPECT_EQ(program->modified, c.result == DialogResult::Ok);
  }
  ASSERT_EQ(prompter.prompts.size(), 1u);
  EXPECT_EQ(prompter.prompts[0].text, flowchart::kWaitRangeMessage.text);
}

TEST_F(StepDialogsTest, LoopCountComesBackFromTheDialog) {
  std::string opened;
  WhenOpen({Acts("3001?7 3001=300 ok")}, &opened);
  EXPECT_EQ(dialogs.LoopCount(7), 255);
  EXPECT_EQ(opened, "186 ループ回数指定");
  WhenOpen({Acts("3001=3")});
  EXPECT_EQ(dialogs.LoopCount(7), std::nullopt) << "cancelled";
}

TEST_F(StepDialogsTest, TheTuneBrowseButtonStoresTheChosenTuneEvenWhenCancelled) {
  QTemporaryDir dir;
  const std::string tune = dir.filePath("song").toStdString();
  std::string bytes(64 + 512, '\0');
  bytes[6] = 10;    // ten columns
  bytes[10] = '1';  // a tune file that carries its tempo
  bytes[24] = 5;    // tempo index 5
  bytes[64] = 'T';
  std::ofstream(tune + ".olg", std::ios::binary) << bytes;
  auto program = WaitProgram(4);
  program->steps[2] = Step(flowchart::StepKind::Orgel);
  program->currentStep = 2;
  files.answer = tune;
  QString sizeBefore, sizeAfter, path;
  WhenOpen({[&](TemplateDialog& d) { sizeBefore = Shown(d, 1014); }, Acts("1002"),
            [&](TemplateDialog& d) {
              sizeAfter = Shown(d, 1014);
              path = Shown(d, 3001);
            }});
  EXPECT_EQ(dialogs.Orgel(*program), DialogResult::Cancel);
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "オルゴールファイル読込み");
  EXPECT_EQ(sizeBefore + "|" + sizeAfter, "000 バイト|012 バイト");
  EXPECT_EQ(path.toStdString(), tune + ".olg");
  EXPECT_EQ(std::tuple(program->steps[2].size, program->steps[2].code[0], program->tempoIndex),
            std::tuple(12, 'T', 5));
  EXPECT_TRUE(program->modified);

  // A file that cannot be read: its message, and the step keeps its tune.
  files.answer = dir.filePath("missing.olg").toStdString();
  WhenOpen({Acts("1002 ok")});
  EXPECT_EQ(dialogs.Orgel(*program), DialogResult::Ok);
  ASSERT_EQ(prompter.prompts.size(), 1u);
  EXPECT_EQ(prompter.prompts[0].text, "Load File Open Error");
  EXPECT_EQ(program->steps[2].size, 12);
}

TEST_F(StepDialogsTest, TheTuneButtonLetsTheTuneBeHeardOnThePc) {
  ui::MusicBox sound(true);
  std::vector<int> struck;
  QObject::connect(&sound, &ui::MusicBox::struck, [&](int note) { struck.push_back(note); });
  dialogs.SetSound(&sound);
  auto program = WaitProgram(4);
  flowchart::StepRecord& step = program->steps[2] = Step(flowchart::StepKind::Orgel);
  // At the fastest tempo: a loop around 5, a rest, 7, the end mark.
  const uint8_t tune[] = {'T', 1, 3, 'l', 1, 5, 'L', 0, 0, 3, 23, 7, 24};
  std::copy(std::begin(tune), std::end(tune), step.code.begin());
  step.size = sizeof tune;
  program->currentStep = 2;
  QString playing, after;
  WhenOpen({Acts("1015"),
            [&](TemplateDialog& d) {
              playing = Shown(d, 1015);
              QTest::qWait(300);
              after = Shown(d, 1015);
            },
            Acts("esc")});
  EXPECT_EQ(dialogs.Orgel(*program), DialogResult::Cancel);
  EXPECT_EQ(struck, (std::vector<int>{3, 5, 5, 7}));
  EXPECT_EQ(playing + "|" + after, "停止|試聴");

  // A step without a tune has nothing to hear.
  program->steps[1] = Step(flowchart::StepKind::Orgel);
  program->currentStep = 1;
  bool enabled = true;
  WhenOpen({[&](TemplateDialog& d) { enabled = d.Control(1015)->isEnabled(); }, Acts("esc")});
  dialogs.Orgel(*program);
  EXPECT_FALSE(enabled);
}

// Answers at once, as the worker's reader does once the board has answered.
class ScriptedBoard : public BoardReader {
 public:
  void ReadInputs(QObject*, std::vector<int> inputs, ReadingsDone done) override {
    std::vector<InputReading> readings(inputs.size(), {ReadOutcome::kNoAnswer, 0});
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      asked.push_back(inputs[i]);
      readings[i] = {outcome, static_cast<uint16_t>(100 * inputs[i] + asked.size())};
      if (outcome == ReadOutcome::kNoAnswer) break;
    }
    done(readings);
  }
  void QueryInfo(QObject*, InfoDone done) override {
    ++queries;
    done(info);
  }
  ReadOutcome outcome = ReadOutcome::kReading;
  std::vector<int> asked;
  InfoReply info;
  int queries = 0;
};

TEST(LiveReading, EachTickReadsTheInputCheckedAtThatTick) {
  ScriptedBoard board;
  BranchDialog dialog(&board, nullptr);
  dialog.show();
  dialog.input().SetChecked(1101);
  // Switched while reading: the next tick asks input 2.
  Acts("1010?センサ読み取り 1010 1010?センサー停止 tick 1102 tick")(dialog);
  dialog.input().SetChecked(0);  // none checked reads input 3
  Acts("tick 1011?303 1055 3001?303 1010 1010?センサー読み取り tick")(dialog);
  EXPECT_EQ(board.asked, (std::vector<int>{1, 2, 3})) << "none after the stop";
  // Without a board the reading goes on, showing the last reading.
  board.outcome = ReadOutcome::kNoBoard;
  Acts("1010 tick 1011?303")(dialog);
  EXPECT_TRUE(dialog.reading().running());
  // A board that lets the reply wait run out stops it, and the dialog says why.
  board.outcome = ReadOutcome::kNoAnswer;
  Acts("tick 1010?センサー読み取り")(dialog);
  EXPECT_FALSE(dialog.reading().running());
  EXPECT_TRUE(SaysSomewhere(dialog, kNoAnswerNote));
  // Closing the dialog ends the reading.
  board.outcome = ReadOutcome::kReading;
  Acts("1010 esc")(dialog);
  EXPECT_FALSE(dialog.reading().running());
}

TEST(LiveReading, CompareDialogReadsBothInputsEachTick) {
  ScriptedBoard board;
  CompareDialog dialog(&board, nullptr);
  dialog.show();
  Acts("1010 tick 1012?101 1013?202")(dialog);
  EXPECT_EQ(board.asked, (std::vector<int>{1, 2}));
  board.outcome = ReadOutcome::kNoAnswer;
  Acts("tick 1012?101")(dialog);
  EXPECT_EQ(board.asked.size(), 3u) << "no second wait after the first ran out";
  EXPECT_FALSE(dialog.reading().running());
}

TEST(BoardInfo, ShowsTheReplyFieldsOrWhatTheBufferHeldWhenTheBoardIsSilent) {
  ScriptedBoard board;
  board.info = {true, {"OK", "V3.00.00", '3', "20240101", "12345"}};
  BoardInfoDialog dialog(&board, nullptr);
  EXPECT_EQ(Shown(dialog, 1052), "NUN-------");
  dialog.show();  // asks the board
  dialog.Query();
  EXPECT_EQ(board.queries, 1);
  Acts("1046?OK 1052?V3.00.00 1053?12345 1054?20240101")(dialog);

  board.info.answered = false;
  BoardInfoDialog silent(&board, nullptr);
  silent.Query();
  EXPECT_EQ(Shown(silent, 1052), "V3.00.00") << "the previous reply stays in the buffer";
  EXPECT_TRUE(SaysSomewhere(silent, kBoardSilentNote));

  BoardInfoDialog unplugged(nullptr, nullptr);
  unplugged.Query();
  EXPECT_EQ(Shown(unplugged, 1052), "");
  EXPECT_TRUE(SaysSomewhere(unplugged, kNoBoardNote));
}

TEST(BoardReader, TellsAReadingFromAMissingBoardAndFromOneThatDoesNotAnswer) {
  test::FakeTransport fake;
  ui::BoardWorker worker(fake, 20);
  const auto reader = MakeBoardReader(worker);
  std::vector<InputReading> readings;
  InfoReply info;
  const auto read = [&](std::vector<int> inputs) {
    reader->ReadInputs(nullptr, std::move(inputs), [&](const auto& r) { readings = r; });
    reader->QueryInfo(nullptr, [&](const InfoReply& r) { info = r; });
    worker.WaitIdle();
  };
  read({1});
  EXPECT_EQ(readings.at(0).outcome, ReadOutcome::kNoBoard);
  EXPECT_FALSE(info.boardFound);

  fake.AddBoard("b")->SetInput(1, 613);
  ASSERT_EQ(worker.AskAndWait([](device::Board& b) { return b.FindBoard(); }), device::kBoardFound);
  read({2});
  EXPECT_EQ(readings.at(0).outcome, ReadOutcome::kReading);
  EXPECT_EQ(readings.at(0).value, 613);
  EXPECT_TRUE(info.answered);

  fake.silent = true;
  fake.ClearCalls();
  read({1, 2});
  EXPECT_EQ(readings.at(0).outcome, ReadOutcome::kNoAnswer);
  EXPECT_EQ(readings.at(1).outcome, ReadOutcome::kNoAnswer);
  EXPECT_EQ(fake.CountCalls(test::FakeCall::Write), 2) << "input 1 and the information only";
  EXPECT_FALSE(info.answered);
  EXPECT_TRUE(info.boardFound);
  EXPECT_EQ(info.info.version, "V3.00.00") << "the earlier reply stays in the buffer";
}

TEST(AboutBox, ShowsTheVersionAndOpensTheBoardInformation) {
  ScriptedBoard board;
  std::string about, info;
  WhenOpen({Acts("1034?4.25.80A 1035?28692"),
            [&](TemplateDialog&) {
              WhenOpen(
                  {[](TemplateDialog& d) { static_cast<BoardInfoDialog&>(d).Query(); }, Acts("ok")},
                  &info);
            },
            Acts("1009 ok")},
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
  dialog.show();
  // Opens on the first half in hex; then the second half, characters, and back.
  Acts("3006?41 3256?FF 4002 3018?41 4003 3006?A 3007? 4004 3018?A 4001 3007?00")(dialog);
  for (const QLineEdit* cell : dialog.findChildren<QLineEdit*>()) EXPECT_TRUE(cell->isReadOnly());
}

}  // namespace
}  // namespace pendra2::flowchart_ui
