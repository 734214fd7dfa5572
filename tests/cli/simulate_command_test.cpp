#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "cli/tune_files.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "flowchart/temp_dir.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
using fc::testing::K;
using fc::testing::Step;

struct Outcome {
  int exit;
  std::string out;
  std::string err;
};

Outcome Cli(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const int exit = Run(args, {out, err});
  return {exit, out.str(), err.str()};
}

std::string LastLine(const std::string& text) {
  const std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
  return trimmed.substr(trimmed.rfind('\n') + 1);
}

class SimulateTest : public fc::testing::ProgramTest {
 protected:
  pendra2::testing::TempDir dir;

  std::string Save(const std::string& name, const std::vector<fc::StepRecord>& body) {
    fc::testing::Build(p, body);
    EXPECT_TRUE(fc::SaveFlowFile(p, dir / name).ok());
    return (dir / name).string();
  }
};

TEST_F(SimulateTest, ProgramsRunInSimulatedTimeWithTheirStepNumbers) {
  // A night light whose threshold is met by input 1 = 299 but not 300.
  const auto file = Save(
      "night.flc", {Step(K::Branch, 300, 2, 0, 4), Step(K::Output, 0), Step(K::Goto, 0, 0, 0, 1),
                    Step(K::Output, 1), Step(K::Wait, 2), Step(K::Output, 1, 0, 1)});
  const auto dark = Cli({"simulate", file, "--inputs", "299,0,1023", "--trace"});
  ASSERT_EQ(dark.exit, kDone) << dark.err;
  EXPECT_NE(dark.out.find("t=0.1 addr=015 op=O step=4 led=1"), std::string::npos) << dark.out;
  EXPECT_NE(dark.out.find("t=1000.3 addr=022 op=O step=6 led=1 out1=1"), std::string::npos);
  EXPECT_EQ(LastLine(dark.out).substr(0, 27), "t=1000.4 stop=end addr=025 ");

  // Bright: the program polls for ever, until --max-ms.
  const auto bright = Cli({"simulate", file, "--inputs", "300,0,0", "--max-ms", "50"});
  ASSERT_EQ(bright.exit, kDone);
  EXPECT_EQ(bright.out.substr(0, 37), "t=50.0 stop=time-limit led=0 out1=0 o");
  EXPECT_EQ(bright.out.find('\n'), bright.out.size() - 1);  // no trace without --trace
}

TEST_F(SimulateTest, TunesSoundTheirNotes) {
  const std::string file = (dir / "loop.olg").string();
  testing::Write(file, testing::TuneFile(testing::kLoopTune, 7, 24));
  const auto r = Cli({"simulate", file, "--trace"});
  ASSERT_EQ(r.exit, kDone) << r.err;
  std::string notes;
  for (std::size_t at = r.out.find("note="); at != std::string::npos;
       at = r.out.find("note=", at + 1)) {
    notes += r.out.substr(at + 5, r.out.find('\n', at) - at - 5) + " ";
  }
  EXPECT_EQ(notes, "C1 D1 D1 D1 E1 ");
  EXPECT_EQ(LastLine(r.out).substr(0, 25), "t=500.1 stop=end addr=012");
}

TEST_F(SimulateTest, RefusedFilesAndMistypedOptions) {
  std::vector<fc::StepRecord> long_;
  for (int i = 0; i < 3; ++i) long_.push_back(Step(K::Wait, 200));
  const auto tooLarge = Save("large.flc", long_);
  const std::string notATune = (dir / "junk.olg").string();
  testing::Write(notATune, std::vector<uint8_t>(576, 'x'));
  const struct {
    std::vector<std::string> args;
    int exit;
  } table[] = {
      {{"simulate", (dir / "missing.flc").string()}, kFileError},
      {{"simulate", notATune}, kFileError},
      {{"simulate", tooLarge}, kTooLarge},
      {{"simulate"}, kUsage},
      {{"simulate", tooLarge, "--inputs", "1,2"}, kUsage},
      {{"simulate", tooLarge, "--inputs", "1,2,1024"}, kUsage},
      {{"simulate", tooLarge, "--max-ms", "0"}, kUsage},
      {{"simulate", tooLarge, "--max-ms", "12x"}, kUsage},
  };
  for (const auto& row : table) {
    const auto r = Cli(row.args);
    EXPECT_EQ(r.exit, row.exit) << row.args.back();
    EXPECT_FALSE(r.err.empty()) << row.args.back();
  }
}

}  // namespace
}  // namespace pendra2::cli
