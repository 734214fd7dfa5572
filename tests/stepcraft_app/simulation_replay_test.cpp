// Stepcraft's simulation against the command line's trace of the same file: a replayed
// session's `sim step` lines are the trace's step numbers, in order, step by step and at
// the board's own pace.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/board_process.h"

namespace pendra2 {
namespace {

struct Ran {
  int status = -1;
  QStringList lines;
};

Ran Start(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("PENDRA2_VIRTUAL_BOARDS", "");
  process.setProcessEnvironment(env);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(test::BinPath(program.toUtf8().constData()), args);
  process.write(input);
  process.closeWriteChannel();
  Ran ran;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return ran;
  }
  ran.status = process.exitCode();
  ran.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  return ran;
}

// The session's `sim step` numbers up to its first `sim stop`, and that stop's reason (a
// step after the end starts the program again).
std::pair<QStringList, QString> SimLines(const QStringList& lines) {
  QStringList steps;
  for (const QString& line : lines) {
    if (line.startsWith("sim step ")) steps << line.mid(9);
    if (line.startsWith("sim stop ")) return {steps, line.mid(9)};
  }
  return {steps, {}};
}

// The trace's step numbers, and its stop key unless the time ran out.
std::pair<QStringList, QString> TraceSteps(const QString& file, const QString& inputs) {
  const Ran cli =
      Start("pendra2-cli", {"simulate", file, "--inputs", inputs, "--trace", "--max-ms", "120000"});
  QStringList steps;
  QString stop;
  for (const QString& line : cli.lines) {
    for (const QString& word : line.split(' ')) {
      if (word.startsWith("step=")) steps << word.mid(5);
      if (word.startsWith("stop=") && word != "stop=time-limit") stop = word.mid(5);
    }
  }
  return {steps, stop};
}

QString Source(const char* path) {
  return QString::fromLocal8Bit(qgetenv("PENDRA2_SOURCE_DIR")) + "/" + path;
}

QByteArray Sliders(const QString& inputs) {
  const QStringList v = inputs.split(',');
  return "slide 33021 " + v[0].toUtf8() + "\nslide 33022 " + v[1].toUtf8() + "\nslide 33023 " +
         v[2].toUtf8() + "\n";
}

TEST(SimulationReplay, StepByStepTheStepsAreTheTraceOfTheSameFile) {
  constexpr int kSteps = 120;
  const struct {
    const char* file;
    const char* inputs;
  } cases[] = {
      {"resources/examples/night_light.flc", "700,0,0"},
      {"resources/examples/night_light.flc", "100,0,0"},
      {"resources/examples/compare_inputs.flc", "600,300,0"},
      {"resources/examples/counting.flc", "0,0,0"},
      {"resources/examples/sensor_motor.flc", "900,0,0"},
      {"resources/examples/tune_loop.flc", "0,0,0"},
      {"docs/samples/every_kind.flc", "512,256,1023"},
      {"docs/samples/forty_steps.flc", "0,0,0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.inputs);
    QByteArray script = Sliders(c.inputs) + "select 33024 2\ncommand 33010\n";
    for (int i = 0; i < kSteps; ++i) script += "command 33012\n";
    const Ran stepcraft = Start("Stepcraft", {Source(c.file), "--replay", "-"}, script);
    ASSERT_EQ(stepcraft.status, 0);
    const auto [steps, stop] = SimLines(stepcraft.lines);
    const auto [trace, traceStop] = TraceSteps(Source(c.file), c.inputs);
    ASSERT_FALSE(trace.isEmpty());
    EXPECT_EQ(steps, trace.mid(0, kSteps));
    // A program that ends within the steps says why, as the trace does.
    if (trace.size() <= kSteps) {
      EXPECT_EQ(stop, traceStop);
    }
  }
}

TEST(SimulationReplay, AtTheBoardsPaceTheStepsRunAsTheTraceBegins) {
  const QString file = Source("docs/samples/blink.flc");
  const Ran stepcraft = Start("Stepcraft", {file, "--replay", "-"},
                              "command 33010\nwait 1300\ncommand 33013\ncommand 33013\n");
  ASSERT_EQ(stepcraft.status, 0);
  const auto [steps, stop] = SimLines(stepcraft.lines);
  const auto [trace, traceStop] = TraceSteps(file, "0,0,0");
  // Half-second waits: the session saw at least the first two blinks.
  ASSERT_GE(steps.size(), 8);
  EXPECT_EQ(steps, trace.mid(0, steps.size()));
  EXPECT_EQ(stop, "stopped");
  EXPECT_EQ(stepcraft.lines.filter("sim stop").size(), 1);

  const Ran wrong = Start("Stepcraft", {"--replay", "-"}, "slide 33021 1024\n");
  EXPECT_EQ(wrong.status, 3);
}

// Blink with a breakpoint on step 4 (its second output): the run pauses before it, 33012
// runs that step alone, going on passes the mark and meets it again a blink later; an edit
// stops the run, and the program loaded again has no breakpoint left to pause at.
TEST(SimulationReplay, BreakpointsPauseBeforeTheirStepAndAnEditStopsTheRun) {
  const QString blink = Source("docs/samples/blink.flc");
  const Ran stepcraft = Start("Stepcraft", {blink, "--replay", "-"},
                              "click 15 256\n"
                              "command 33010\nwait 1500\n"
                              "command 33012\n"
                              "command 33010\nwait 2000\n"
                              "answer ok\ncommand 2014\nclick 100 160\n"
                              "answer no\nfile \"" +
                                  blink.toUtf8() +
                                  "\"\ncommand 32774\n"
                                  "command 33010\nwait 1200\ncommand 33013\n");
  ASSERT_EQ(stepcraft.status, 0) << stepcraft.lines.join("\n").toStdString();
  const QStringList expected{
      "sim step 1",      "sim step 2", "sim step 3", "sim step 3", "sim pause",   // at the mark
      "sim step 4",      "sim pause",                                             // that step
      "sim step 5",      "sim step 5", "sim step 6", "sim step 2", "sim step 3",  // on, past it
      "sim step 3",      "sim pause",                                             // and back
      "sim stop edited",                                                          // the deletion
      "sim step 1",      "sim step 2", "sim step 3", "sim step 3", "sim step 4"};
  const QStringList sim = stepcraft.lines.filter("sim ");
  EXPECT_EQ(sim.mid(0, expected.size()), expected);
  EXPECT_EQ(sim.filter("sim pause").size(), 3);
  EXPECT_EQ(sim.back(), "sim stop stopped");
}

}  // namespace
}  // namespace pendra2
