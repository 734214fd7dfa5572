// The real dialogs, typed into and confirmed as a user would: through QtStepDialogs on a
// program, with scripted message boxes and file dialogs. The field rules themselves are
// the core's and are tested there.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>

#include "dialog_driver.h"
#include "flowchart/dialog_fields.h"
#include "flowchart_ui/dialogs/template_dialog.h"
#include "flowchart_ui/qt_step_dialogs.h"
#include "stepcraft_fakes.h"
#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using interaction::DialogResult;
using namespace testing;

class NoFiles : public interaction::FileChooser {
 public:
  std::optional<std::string> Choose(const interaction::FileRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<interaction::FileRequest> requests;
};

struct StepCase {
  const char* name;
  flowchart::StepRecord step;
  std::function<DialogResult(QtStepDialogs&, flowchart::FlowProgram&)> open;
  std::vector<Act> acts;
  const char* opened;
  DialogResult result;
  flowchart::StepRecord stored;  // kind, value, target, op, channel compared
};

TEST(StepDialogs, TypedEntriesAreStoredOnOkAndNothingOnCancel) {
  using K = flowchart::StepKind;
  const StepCase cases[] = {
      {"wait",
       Step(K::Wait, 0, 3),
       &QtStepDialogs::Wait,
       {[](TemplateDialog& d) { EXPECT_EQ(d.Edit(3001)->text(), "1.5"); },
        [](TemplateDialog& d) { Type(d, 3001, "2.4"); }, kOk},
       "184 待機設定",
       DialogResult::Ok,
       Step(K::Wait, 0, 4)},
      {"branch",
       Step(K::Branch, 2, 100, 1, 0),
       &QtStepDialogs::Branch,
       {[](TemplateDialog& d) { Type(d, 3001, "300"); }, [](TemplateDialog& d) { Press(d, 1004); },
        [](TemplateDialog& d) { Press(d, 1102); }, [](TemplateDialog& d) { Type(d, 1045, "-3"); },
        kOk},
       "207 分岐設定",
       DialogResult::Ok,
       Step(K::Branch, 1, 300, 2, 1)},
      {"output, confirmed with Enter",
       Step(K::Output, 0, 1, 0, 0),
       &QtStepDialogs::Output,
       {[](TemplateDialog& d) { Press(d, 1045); }, [](TemplateDialog& d) { Press(d, 1044); },
        [](TemplateDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }},
       "208 出力設定",
       DialogResult::Ok,
       Step(K::Output, 0, 0, 0, 2)},
      {"goto",
       Step(K::Goto, 2),
       &QtStepDialogs::Goto,
       {[](TemplateDialog& d) { Type(d, 1045, "4"); }, kOk},
       "214 goto設定",
       DialogResult::Ok,
       Step(K::Goto, 4)},
      {"compare, left with Esc",
       Step(K::Compare, 2, 7, 1),
       &QtStepDialogs::Compare,
       {[](TemplateDialog& d) { Type(d, 3001, "9"); }, [](TemplateDialog& d) { Press(d, 1006); },
        [](TemplateDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
       "215 分岐設定",
       DialogResult::Cancel,
       Step(K::Compare, 2, 7, 1)},
      {"extended output",
       Step(K::ExtOutput, 0, 0, 0, 5),
       &QtStepDialogs::ExtOutput,
       {[](TemplateDialog& d) { Press(d, 1059); }, [](TemplateDialog& d) { Press(d, 1062); }, kOk},
       "216 出力設定",
       DialogResult::Ok,
       Step(K::ExtOutput, 0, 0, 0, 12)},
      {"variable A",
       Step(K::Variable, 0, 1, 0, 0),
       &QtStepDialogs::VariableA,
       {[](TemplateDialog& d) { Type(d, 1052, "12"); }, [](TemplateDialog& d) { Press(d, 1060); },
        kOk},
       "231 変数Aの設定",
       DialogResult::Ok,
       Step(K::Variable, 0, 12, 4, 0)},
      {"variable B",
       Step(K::Variable, 0, 1, 0, 1),
       &QtStepDialogs::VariableB,
       {[](TemplateDialog& d) { Press(d, 1057); }, kOk},
       "233 変数Bの設定",
       DialogResult::Ok,
       Step(K::Variable, 0, 1, 10, 1)},
      {"variable compare",
       Step(K::VarCompare, 3, 0, 0),
       &QtStepDialogs::VarCompare,
       {[](TemplateDialog& d) { Type(d, 1061, "-20"); }, [](TemplateDialog& d) { Press(d, 1052); },
        [](TemplateDialog& d) { Type(d, 1045, "2"); }, kOk},
       "232 変数条件ジャンプ",
       DialogResult::Ok,
       Step(K::VarCompare, 2, -20, 4)},
      {"close box",
       Step(K::Goto, 2),
       &QtStepDialogs::Goto,
       {[](TemplateDialog& d) { Type(d, 1045, "4"); }, [](TemplateDialog& d) { d.close(); }},
       "214 goto設定",
       DialogResult::Cancel,
       Step(K::Goto, 2)},
  };
  for (const StepCase& c : cases) {
    auto program = WaitProgram(6);
    program->steps[3] = c.step;
    program->currentStep = 3;
    program->modified = false;
    ScriptedPrompter prompter;
    NoFiles files;
    QtStepDialogs dialogs(prompter, files, nullptr);
    std::string opened;
    WhenOpen(c.acts, &opened);
    EXPECT_EQ(c.open(dialogs, *program), c.result) << c.name;
    EXPECT_EQ(opened, c.opened) << c.name;
    const flowchart::StepRecord& s = program->steps[3];
    EXPECT_EQ(std::tuple(s.value, s.target, s.op, s.channel),
              std::tuple(c.stored.value, c.stored.target, c.stored.op, c.stored.channel))
        << c.name;
    EXPECT_EQ(program->modified, c.result == DialogResult::Ok) << c.name;
    EXPECT_TRUE(prompter.prompts.empty()) << c.name;
  }
}

TEST(StepDialogs, ARefusedEntryShowsItsMessageAndKeepsTheDialogOpen) {
  auto program = WaitProgram(4);
  program->currentStep = 1;
  ScriptedPrompter prompter;
  NoFiles files;
  QtStepDialogs dialogs(prompter, files, nullptr);
  bool stillOpen = false;
  WhenOpen({[](TemplateDialog& d) { Type(d, 3001, "400"); }, kOk,
            [&](TemplateDialog& d) { stillOpen = d.isVisible(); },
            [](TemplateDialog& d) { Type(d, 3001, "0.5"); }, kOk});
  EXPECT_EQ(dialogs.Wait(*program), DialogResult::Ok);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(prompter.prompts.size(), 1u);
  EXPECT_EQ(prompter.prompts[0].text, flowchart::kWaitRangeMessage.text);
  EXPECT_EQ(program->steps[1].value, 1);
}

TEST(StepDialogs, LoopCountComesBackFromTheDialog) {
  ScriptedPrompter prompter;
  NoFiles files;
  QtStepDialogs dialogs(prompter, files, nullptr);
  std::string opened;
  WhenOpen({[](TemplateDialog& d) { EXPECT_EQ(d.Edit(3001)->text(), "7"); },
            [](TemplateDialog& d) { Type(d, 3001, "300"); }, kOk},
           &opened);
  EXPECT_EQ(dialogs.LoopCount(7), 255);
  EXPECT_EQ(opened, "186 ループ回数指定");
  WhenOpen({[](TemplateDialog& d) { Type(d, 3001, "3"); }});
  EXPECT_EQ(dialogs.LoopCount(7), 7) << "cancelled";
}

TEST(StepDialogs, TheTuneBrowseButtonStoresTheChosenTuneEvenWhenCancelled) {
  QTemporaryDir dir;
  const std::string tune = dir.filePath("song").toStdString();
  {
    std::string bytes(64 + 512, '\0');
    bytes[6] = 10;    // ten columns
    bytes[10] = '1';  // a tune file that carries its tempo
    bytes[24] = 5;    // tempo index 5
    bytes[64] = 'T';
    std::ofstream(tune + ".olg", std::ios::binary) << bytes;
  }
  auto program = WaitProgram(4);
  program->steps[2] = Step(flowchart::StepKind::Orgel);
  program->currentStep = 2;
  ScriptedPrompter prompter;
  NoFiles files;
  files.answer = tune;
  QtStepDialogs dialogs(prompter, files, nullptr);
  QString shownSize, shownPath;
  WhenOpen(
      {[](TemplateDialog& d) { EXPECT_EQ(d.findChild<QLabel*>("1014")->text(), "000 バイト"); },
       [](TemplateDialog& d) { Press(d, 1002); },
       [&](TemplateDialog& d) {
         shownSize = d.findChild<QLabel*>("1014")->text();
         shownPath = d.Edit(3001)->text();
       }});
  EXPECT_EQ(dialogs.Orgel(*program), DialogResult::Cancel);
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].title, "オルゴールファイル読込み");
  EXPECT_EQ(shownSize, "012 バイト");
  EXPECT_EQ(shownPath.toStdString(), tune + ".olg");
  EXPECT_EQ(program->steps[2].size, 12);
  EXPECT_EQ(program->steps[2].code[0], 'T');
  EXPECT_EQ(program->tempoIndex, 5);
  EXPECT_TRUE(program->modified);

  // A file that cannot be read: its message, and the step keeps its tune.
  files.answer = dir.filePath("missing.olg").toStdString();
  WhenOpen({[](TemplateDialog& d) { Press(d, 1002); }, kOk});
  EXPECT_EQ(dialogs.Orgel(*program), DialogResult::Ok);
  ASSERT_EQ(prompter.prompts.size(), 1u);
  EXPECT_EQ(prompter.prompts[0].text, "Load File Open Error");
  EXPECT_EQ(program->steps[2].size, 12);
}

}  // namespace
}  // namespace pendra2::flowchart_ui
