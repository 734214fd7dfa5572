// A classroom of boards: pendra2-cli writes one program into every virtual board at once,
// among them one that is too old, one that never answers and one pulled out mid-write, and
// each board's report log shows what it received.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "melody/helpers.h"
#include "support/board_process.h"
#include "virtual_board/board_model.h"

namespace pendra2 {
namespace {

using flowchart::testing::K;
using flowchart::testing::Step;
using test::BoardProcess;

struct Ran {
  int status = -1;
  QString out, err;
};

class Classroom : public ::testing::Test {
 protected:
  void SetUp() override {
    for (BoardProcess* b : {&classroom_, &older_, &silent_, &pulled_}) {
      ASSERT_TRUE(b->ready()) << b->Trouble();
    }
  }
  // The good boards between the odd ones, as a teacher's hub would list them.
  QString Boards() const {
    return QStringList{classroom_.name(1), older_.name(),  classroom_.name(2),
                       silent_.name(),     pulled_.name(), classroom_.name(3)}
        .join(',');
  }
  Ran Cli(const QString& boards, const QStringList& args, qint64* elapsedMs = nullptr) {
    QElapsedTimer clock;
    clock.start();
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PENDRA2_VIRTUAL_BOARDS", boards);
    env.insert("PENDRA2_REPLY_TIMEOUT_MS", "300");
    env.insert("XDG_RUNTIME_DIR", locks_.path());
    cli.setProcessEnvironment(env);
    cli.start(test::BinPath("pendra2-cli"), args);
    if (!cli.waitForFinished(20000)) {
      cli.kill();
      cli.waitForFinished(5000);
      return {};
    }
    if (elapsedMs != nullptr) *elapsedMs = clock.elapsed();
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(cli.readAllStandardError())};
  }
  QString SaveProgram() {
    auto program = std::make_unique<flowchart::FlowProgram>();
    flowchart::testing::Build(*program, {Step(K::Output, 1, 0, 0), Step(K::Wait, 4)});
    image_ = program->image;
    const QString path = locks_.filePath("lesson.flc");
    EXPECT_TRUE(flowchart::SaveFlowFile(*program, path.toStdString()).ok());
    return path;
  }
  // The reports of a whole image write: BeginImageWrite and the eight blocks.
  QStringList ImageWrite() const {
    device::Report report{};
    report[1] = 'S';
    QStringList lines{QString::fromStdString(virtual_board::HexLine(report))};
    for (int b = 0; b < 8; ++b) {
      std::copy_n(image_.begin() + b * 64, 64, report.begin() + 1);
      lines << QString::fromStdString(virtual_board::HexLine(report));
    }
    return lines;
  }

  QTemporaryDir locks_;
  BoardProcess classroom_{{"--count", "3"}};
  BoardProcess older_{{"--version", "V2.00.00"}};
  BoardProcess silent_{{"--no-reply"}};
  BoardProcess pulled_{{"--unplug-after", "4"}};
  device::Image image_{};
};

TEST_F(Classroom, WriteAllWritesEveryGoodBoardWholeAndSaysWhatBecameOfTheOthers) {
  const Ran r = Cli(Boards(), {"write", SaveProgram(), "--all", "--run"});
  EXPECT_EQ(r.status, 5) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 7) << r.out.toStdString();
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(lines.contains(classroom_.name(n) + ": ok, started"));
  const auto lineOf = [&](const BoardProcess& b) {
    for (const QString& l : lines)
      if (l.startsWith(b.name() + ": ")) return l.mid(b.name().size() + 2);
    return QString();
  };
  EXPECT_TRUE(lineOf(older_).startsWith("wrong generation: the board is V2.00.00"));
  EXPECT_EQ(lineOf(silent_), "failed: the board did not answer; nothing was written");
  EXPECT_TRUE(lineOf(pulled_).startsWith("failed: ")) << lineOf(pulled_).toStdString();
  EXPECT_TRUE(lineOf(pulled_).contains("part of an image"));
  EXPECT_TRUE(lines.last().endsWith("into 3 of 6 boards; 2 failed; 1 of the wrong generation"));

  // Each good board: the generation question, the whole image and nothing between its
  // blocks, then the start (a request whose other bytes are the last block's).
  device::Report ask{};
  ask[1] = 'C';
  const QString question = QString::fromStdString(virtual_board::HexLine(ask));
  const QString written = (QStringList{question} + ImageWrite()).join('\n');
  for (int n = 1; n <= 3; ++n) {
    const QStringList log = classroom_.Log(n);
    ASSERT_EQ(log.size(), 11) << n;
    EXPECT_EQ(log.mid(0, 10).join('\n'), written) << n;
    EXPECT_EQ(log[10].mid(2, 2), "52") << n;
  }
  // The others got no further than they could.
  EXPECT_EQ(older_.Log(), QStringList{question});
  EXPECT_EQ(silent_.Log(), QStringList{question});
  EXPECT_EQ(pulled_.Log().join('\n'), (QStringList{question} + ImageWrite()).mid(0, 4).join('\n'));
}

// Every board is asked its version at once, so the silent one costs one reply wait; the
// one that goes away after four reports answers one question and is still there.
TEST_F(Classroom, BoardsListsEachBoardWithWhatItSaidInListOrder) {
  qint64 elapsed = 0;
  const Ran table = Cli(Boards(), {"boards"}, &elapsed);
  ASSERT_EQ(table.status, 0) << table.err.toStdString();
  const QStringList rows = table.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 7) << table.out.toStdString();
  EXPECT_TRUE(rows[0].startsWith("#  NAME"));
  EXPECT_TRUE(rows[2].startsWith("2  " + older_.name()) && rows[2].contains("V2.00.00  2"));
  EXPECT_TRUE(rows[4].startsWith("4  " + silent_.name()) &&
              rows[4].endsWith("the board did not answer"));
  EXPECT_TRUE(rows[6].startsWith("6  " + classroom_.name(3)) && rows[6].contains("V3.00.00  3"));
  EXPECT_LT(elapsed, 2 * 300 + 1500);

  const Ran json = Cli(Boards(), {"boards", "--json"});
  ASSERT_EQ(json.status, 0);
  EXPECT_TRUE(json.out.contains("{\"number\": 4, \"name\": \"" + silent_.name() + "\""));
  EXPECT_TRUE(json.out.contains("\"answering\": false, \"version\": null"));
  EXPECT_EQ(json.out.count("\"answering\": true"), 5);
  EXPECT_TRUE(json.out.endsWith("\"otherDevices\": []\n}\n")) << json.out.toStdString();
}

TEST_F(Classroom, ATuneGoesIntoEveryBoardAndOnlyAllOfThemIsSuccess) {
  const QString tune = locks_.filePath("song.olg");
  melody::testing::WriteBytes(tune.toStdString(), melody::testing::TuneFile({0, 4, 7}, 2));
  const QString good =
      QStringList{classroom_.name(1), classroom_.name(2), classroom_.name(3)}.join(',');
  const Ran r = Cli(good, {"write", tune, "--all"});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.endsWith("into all 3 boards\n")) << r.out.toStdString();
  for (int n = 1; n <= 3; ++n) {
    const QStringList log = classroom_.Log(n);
    ASSERT_EQ(log.size(), 9) << n;  // no generation question for a tune, no start
    EXPECT_EQ(log[0].mid(2, 2), "53");
    EXPECT_EQ(log[1], classroom_.Log(1)[1]);
  }
  // A board left out of the list is not a board of the classroom.
  EXPECT_TRUE(older_.Log().isEmpty());
}

}  // namespace
}  // namespace pendra2
