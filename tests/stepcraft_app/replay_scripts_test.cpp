// The end-to-end sessions under tests/stepcraft_replay: Stepcraft replays each script against
// a virtual board of its own, in a folder of its own, and must print exactly the expected
// transcript; what reached the board and the files written are checked beside it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <memory>

#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "support/board_process.h"

namespace pendra2 {
namespace {

QString ScriptPath(const QString& name) {
  return QString::fromLocal8Bit(qgetenv("PENDRA2_SOURCE_DIR")) + "/tests/stepcraft_replay/" + name;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The command letters the board received, in order; the blocks of an image write (which
// carry image bytes where a letter would be) as '#'.
std::string Letters(const QStringList& log) {
  std::string letters;
  bool inImage = false;
  int blocks = 0;
  for (const QString& line : log) {
    const char letter = static_cast<char>(line.mid(2, 2).toInt(nullptr, 16));
    if (inImage) {
      letters += '#';
      inImage = ++blocks < 8;
      continue;
    }
    letters += letter;
    if (letter == 'S') {
      inImage = true;
      blocks = 0;
    }
  }
  return letters;
}

std::string WithoutQueries(std::string letters) {
  std::erase(letters, 'T');  // the auto-mode query of every repaint
  return letters;
}

struct Session {
  const char* script;
  QStringList boardArgs;
  std::string boardLetters;  // what reached the board, auto-mode queries left out
  QStringList filesMade;
  QStringList stepcraftArgs;  // before --replay; "start.flc" is made by the test
  // Files the session saved that must hold the same bytes.
  std::vector<std::pair<QString, QString>> sameFiles{};
  friend void PrintTo(const Session& s, std::ostream* os) { *os << s.script; }
};

class ReplayScripts : public ::testing::TestWithParam<Session> {};

TEST_P(ReplayScripts, TranscriptBoardAndFilesAsExpected) {
  const Session& s = GetParam();
  test::BoardProcess board(s.boardArgs);
  ASSERT_TRUE(board.ready()) << board.Trouble();
  const QString folder = QFileInfo(board.TempFile("x")).absolutePath();

  QProcess stepcraft;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("PENDRA2_VIRTUAL_BOARDS", board.name());
  env.insert("PENDRA2_REPLY_TIMEOUT_MS", "200");  // the silent board's waits stay short
  stepcraft.setProcessEnvironment(env);
  stepcraft.setWorkingDirectory(folder);
  auto program = std::make_unique<flowchart::FlowProgram>();
  flowchart::NewProgram(*program);
  flowchart::Recompute(*program);
  ASSERT_TRUE(
      flowchart::SaveFlowFile(*program, QDir(folder).filePath("start.flc").toStdString()).ok());
  const QString script = ScriptPath(QString::fromUtf8(s.script) + ".txt");
  stepcraft.start(test::BinPath("Stepcraft"), s.stepcraftArgs + QStringList{"--replay", script});
  ASSERT_TRUE(stepcraft.waitForFinished(60000)) << "Stepcraft did not end";
  EXPECT_EQ(stepcraft.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(stepcraft.exitCode(), 0) << stepcraft.readAllStandardError().toStdString();

  const QByteArray expected = ReadAll(ScriptPath(QString::fromUtf8(s.script) + ".expected"));
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(stepcraft.readAllStandardOutput().toStdString(), expected.toStdString());

  EXPECT_EQ(WithoutQueries(Letters(board.Log())), s.boardLetters);
  for (const QString& name : s.filesMade) {
    EXPECT_TRUE(QFileInfo(QDir(folder).filePath(name)).size() > 0) << name.toStdString();
  }
  for (const auto& [a, b] : s.sameFiles) {
    const QByteArray first = ReadAll(QDir(folder).filePath(a));
    EXPECT_FALSE(first.isEmpty()) << a.toStdString();
    EXPECT_TRUE(first == ReadAll(QDir(folder).filePath(b)))
        << a.toStdString() << " " << b.toStdString();
  }
  EXPECT_EQ(QFileInfo(QDir(folder).filePath("program.flc")).size() == 204864,
            s.filesMade.contains("program.flc"));
}

INSTANTIATE_TEST_SUITE_P(
    Stepcraft, ReplayScripts,
    ::testing::Values(
        // InfoQuery, BeginImageWrite and the eight blocks; the saved file and the print.
        Session{"build_save_transfer_print", {}, "CS########", {"program.flc", "program.pdf"}, {}},
        Session{"save_changes_cancel_paths", {}, "", {"kept.flc"}, {}},
        Session{"transfer_silent_board", {"--no-reply"}, "CRE", {}, {}},
        Session{"transfer_older_board", {"--version", "V2.00.00"}, "C", {}, {}},
        // A file named on the command line, with the view-mode switch beside it.
        Session{"open_at_start", {}, "", {}, {"-F", "start"}},
        Session{"open_missing_at_start", {}, "", {}, {"missing.flc"}},
        // Undone back to what was saved, twice, by undo, redo and undo, and across pastes.
        Session{"undo_and_clipboard",
                {},
                "",
                {"pasted.flc"},
                {},
                {{"before.flc", "undone.flc"}, {"before.flc", "unpasted.flc"}}}),
    [](const ::testing::TestParamInfo<Session>& info) { return std::string(info.param.script); });

}  // namespace
}  // namespace pendra2
