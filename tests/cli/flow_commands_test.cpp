// Stepcraft programs through the command line: the board image raw and in hex, the dump,
// the listing in each notation, damaged files, and the simulation in simulated time.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <random>

#include "cli_run.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "melody/helpers.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
using fc::testing::K;
using fc::testing::Step;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;

std::string LastLine(const std::string& text) {
  const std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
  return trimmed.substr(trimmed.rfind('\n') + 1);
}

class FlowCommands : public fc::testing::ProgramTest {
 protected:
  testing::CliResult Cli(const std::string& line) { return testing::RunCli(line, dir.Path()); }
  void Save(const std::string& name, const std::vector<fc::StepRecord>& body) {
    fc::testing::Build(p, body);
    ASSERT_TRUE(fc::SaveFlowFile(p, dir / name).ok());
  }
  // A loop around a LED, a tune whose path has a quote and Shift JIS in it, a jump back.
  void SetUp() override {
    fc::StepRecord tune = Step(K::Orgel);
    tune.code[0] = 'T';
    tune.code[1] = 5;
    tune.size = 2;
    fc::StoreTunePath(tune, "C:\\\x89\xB9\x8A\x79\\\x83\x5C\x83\x93\"q\".olg");  // 音楽\ソン"q".olg
    Save("sample.flc", {fc::testing::Loop(2), Step(K::Output, 1), fc::testing::LoopEnd(), tune,
                        Step(K::Goto, 0, 0, 0, 1)});
  }

  pendra2::testing::TempDir dir;
};

TEST_F(FlowCommands, ImageRawHexAndToFile) {
  const auto raw = Cli("image @/sample.flc");
  ASSERT_EQ(raw.status, kDone) << raw.err;
  EXPECT_EQ(raw.out, std::string("l\x01O\x00\x01L\x01\x02\x00T\x05"
                                 "b\0\0\0\0\0E",
                                 18) +
                         std::string(494, '\xFF'));
  std::string ffs;  // " FF" fourteen times
  for (int i = 0; i < 14; ++i) ffs += " FF";
  std::string hex = "6C 01 4F 00 01 4C 01 02 00 54 05 62 00 00 00 00\n00 45" + ffs + "\n";
  for (int i = 0; i < 30; ++i) hex += "FF FF" + ffs + "\n";
  EXPECT_EQ(Cli("image @/sample.flc --hex").out, hex);
  ASSERT_EQ(Cli("image @/sample.flc -o @/image.bin").status, kDone);
  EXPECT_EQ(ReadBytes(dir / "image.bin"), std::vector<uint8_t>(p.image.begin(), p.image.end()));
  ASSERT_EQ(Cli("image @/sample.flc --hex -o @/image.bin").status, kDone);
  EXPECT_EQ(ReadBytes(dir / "image.bin"), std::vector<uint8_t>(hex.begin(), hex.end()));
}

TEST_F(FlowCommands, OversizeProgramRefusedOnlyByImage) {
  Save("big.flc", {Step(K::Wait, 300), Step(K::Wait, 300)});
  const auto image = Cli("image @/big.flc");
  EXPECT_EQ(image.status, kTooLarge);
  EXPECT_TRUE(image.out.empty());
  EXPECT_NE(image.err.find("604"), std::string::npos);
  EXPECT_EQ(Cli("dump @/big.flc").status, kDone);
  EXPECT_EQ(Cli("listing @/big.flc").out,
            "  0行目:はじめ\n  1行目:タイマー150.0秒待機\n  2行目:タイマー150.0秒待機\n"
            "  3行目:おわり\n");
}

TEST_F(FlowCommands, DumpFieldsInOrder) {
  auto bytes = ReadBytes(dir / "sample.flc");
  bytes[24] = 4;  // the header's own tempo index is what dump reports
  WriteBytes(dir / "sample.flc", bytes);
  const auto dump = Cli("dump @/sample.flc");
  ASSERT_EQ(dump.status, kDone) << dump.err;
  const std::string& j = dump.out;
  std::size_t at = 0;
  for (const char* key :
       {"\"count\": 7", "\"tempoIndex\": 4", "\"version\": \"4.25.80A\"", "\"imageSize\": 17",
        "\"depthAfter\": [0, 1, 1, 0, 0, 0, 0]", "\"endAddress\": [0, 2, 5, 9, 11, 17, 17]",
        "{\"index\": 3, \"kind\": \"LoopEnd\", \"kindValue\": 4, \"loopCount\": 0, \"depth\": 1, "
        "\"value\": 0, \"target\": 0, \"size\": 4, \"op\": 0, \"channel\": 0}",
        "\"channel\": 0, \"tunePath\": \"C:\\\\音楽\\\\ソン\\\"q\\\".olg\", "
        "\"tunePathBytes\": \"433a5c89b98a795c835c83932271222e6f6c67\"}",
        "\"kind\": \"End\", \"kindValue\": 99"}) {
    at = j.find(key, at);
    ASSERT_NE(at, std::string::npos) << key << "\n" << j;
  }
  EXPECT_EQ(j.find("\"tunePath\""), j.rfind("\"tunePath\""));  // Orgel steps only
}

TEST_F(FlowCommands, ListingInEachNotation) {
  const std::string japanese =
      "  0行目:はじめ\n  1行目:2回くり返し \n  2行目:LEDを ON \n  3行目:くり返し戻る\n"
      "  4行目:オルゴール演奏(ソン\"q\".olg)\n  5行目:  1行目へ\n  6行目:おわり\n";
  EXPECT_EQ(Cli("listing @/sample.flc").out, japanese);
  EXPECT_EQ(Cli("listing @/sample.flc --notation japanese").out, japanese);
  EXPECT_EQ(Cli("listing --notation basic @/sample.flc").out,
            "000:START\n001:FOR I=1 to 2\n002:LED (ON )\n003:NEXT\n"
            "004:PLAYORGEL(ソン\"q\".olg)\n005:GOTO 001\n006:END\n");
  EXPECT_EQ(Cli("listing @/sample.flc --notation c").out,
            "000:main{\n001:for(i=1;i<2;i++){\n002:LED(ON ) ;\n003:} do \n"
            "004:PlayOrgel(ソン\"q\".olg) ;\n005:goto 001;\n006:}\n");
}

TEST_F(FlowCommands, MutatedFilesNeverCrashTheCommands) {
  const auto good = ReadBytes(dir / "sample.flc");
  std::mt19937 rng(3);
  for (int round = 0; round < 150; ++round) {
    auto bytes = good;
    for (int e = 0; e < 8; ++e) bytes[rng() % (64 + 800 * 8)] = static_cast<uint8_t>(rng());
    if (round % 5 == 0) bytes.resize(rng() % 8000);
    WriteBytes(dir / "m.flc", bytes);
    for (const char* command : {"image", "dump", "listing"}) {
      const int status = Cli(std::string(command) + " @/m.flc").status;
      EXPECT_TRUE(status == kDone || status == kFileError || status == kTooLarge) << status;
    }
  }
}

TEST_F(FlowCommands, BuiltProgramWritesRawBytesToStdout) {
  const char* bin = std::getenv("PENDRA2_BIN_DIR");
  if (bin == nullptr) GTEST_SKIP() << "run through ctest to test the built program";
  const auto file = (dir / "sample.flc").string(), out = (dir / "stdout.bin").string();
  const std::string cli = std::string(bin) + "/pendra2-cli";
  EXPECT_EQ(std::system((cli + " image '" + file + "' > '" + out + "'").c_str()), 0);
  EXPECT_EQ(ReadBytes(out), std::vector<uint8_t>(p.image.begin(), p.image.end()));
  WriteBytes(out, {'F', 'L', 0});
  const int status = std::system((cli + " dump '" + out + "' > /dev/null 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kFileError);
}

TEST_F(FlowCommands, SimulateRunsProgramsAndTunesInSimulatedTime) {
  // A night light whose threshold is met by input 1 = 299 but not 300.
  Save("night.flc", {Step(K::Branch, 300, 2, 0, 4), Step(K::Output, 0), Step(K::Goto, 0, 0, 0, 1),
                     Step(K::Output, 1), Step(K::Wait, 2), Step(K::Output, 1, 0, 1)});
  const auto dark = Cli("simulate @/night.flc --inputs 299,0,1023 --trace");
  ASSERT_EQ(dark.status, kDone) << dark.err;
  EXPECT_NE(dark.out.find("t=0.1 addr=015 op=O step=4 led=1"), std::string::npos) << dark.out;
  EXPECT_NE(dark.out.find("t=1000.3 addr=022 op=O step=6 led=1 out1=1"), std::string::npos);
  EXPECT_EQ(LastLine(dark.out).substr(0, 27), "t=1000.4 stop=end addr=025 ");
  // Bright: the program polls for ever, until --max-ms.
  const auto bright = Cli("simulate @/night.flc --inputs 300,0,0 --max-ms 50");
  ASSERT_EQ(bright.status, kDone);
  EXPECT_EQ(bright.out.substr(0, 37), "t=50.0 stop=time-limit led=0 out1=0 o");
  EXPECT_EQ(bright.out.find('\n'), bright.out.size() - 1);  // no trace without --trace

  WriteBytes(dir / "loop.olg", melody::testing::TuneFile(melody::testing::kLoopTune, 7, 24));
  const auto tune = Cli("simulate @/loop.olg --trace");
  ASSERT_EQ(tune.status, kDone) << tune.err;
  std::string notes;
  for (std::size_t at = tune.out.find("note="); at != std::string::npos;
       at = tune.out.find("note=", at + 1)) {
    notes += tune.out.substr(at + 5, tune.out.find('\n', at) - at - 5) + " ";
  }
  EXPECT_EQ(notes, "C1 D1 D1 D1 E1 ");
  EXPECT_EQ(LastLine(tune.out).substr(0, 25), "t=500.1 stop=end addr=012");
}

}  // namespace
}  // namespace pendra2::cli
