#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include <sys/wait.h>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "flowchart/temp_dir.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
using fc::testing::K;
using fc::testing::Step;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;

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

class FlowCommandsTest : public fc::testing::ProgramTest {
 protected:
  pendra2::testing::TempDir dir;

  std::string Save(const std::string& name, const std::vector<fc::StepRecord>& body) {
    fc::testing::Build(p, body);
    EXPECT_TRUE(fc::SaveFlowFile(p, dir / name).ok());
    return (dir / name).string();
  }

  std::string Sample() {
    fc::StepRecord tune = Step(K::Orgel);
    tune.code[0] = 'T';
    tune.code[1] = 5;
    tune.size = 2;
    fc::StoreTunePath(tune, "C:\\\x89\xB9\x8A\x79\\\x83\x5C\x83\x93\"q\".olg");  // 音楽\ソン"q".olg
    return Save("sample.flc", {fc::testing::Loop(2), Step(K::Output, 1), fc::testing::LoopEnd(),
                               tune, Step(K::Goto, 0, 0, 0, 1)});
  }
};

TEST_F(FlowCommandsTest, ImageRawHexAndToFile) {
  const auto file = Sample();
  const auto raw = Cli({"image", file});
  ASSERT_EQ(raw.exit, kDone) << raw.err;
  EXPECT_EQ(raw.out, std::string("l\x01O\x00\x01L\x01\x02\x00T\x05"
                                 "b\0\0\0\0\0E",
                                 18) +
                         std::string(494, '\xFF'));
  std::string ffs;  // " FF" fourteen times
  for (int i = 0; i < 14; ++i) ffs += " FF";
  std::string hex = "6C 01 4F 00 01 4C 01 02 00 54 05 62 00 00 00 00\n00 45" + ffs + "\n";
  for (int i = 0; i < 30; ++i) hex += "FF FF" + ffs + "\n";
  EXPECT_EQ(Cli({"image", file, "--hex"}).out, hex);
  const auto out = (dir / "image.bin").string();
  ASSERT_EQ(Cli({"image", file, "-o", out}).exit, kDone);
  EXPECT_EQ(ReadBytes(out), std::vector<uint8_t>(p.image.begin(), p.image.end()));
  ASSERT_EQ(Cli({"image", file, "--hex", "-o", out}).exit, kDone);
  EXPECT_EQ(ReadBytes(out), std::vector<uint8_t>(hex.begin(), hex.end()));
  EXPECT_EQ(Cli({"image", file, "-o", (dir / "none" / "x").string()}).exit, kFileError);
}

TEST_F(FlowCommandsTest, OversizeProgramRefusedOnlyByImage) {
  const auto file = Save("big.flc", {Step(K::Wait, 300), Step(K::Wait, 300)});
  const auto image = Cli({"image", file});
  EXPECT_EQ(image.exit, kTooLarge);
  EXPECT_TRUE(image.out.empty());
  EXPECT_NE(image.err.find("604"), std::string::npos);
  EXPECT_EQ(Cli({"dump", file}).exit, kDone);
  EXPECT_EQ(Cli({"listing", file}).out,
            "  0行目:はじめ\n  1行目:タイマー150.0秒待機\n  2行目:タイマー150.0秒待機\n"
            "  3行目:おわり\n");
}

TEST_F(FlowCommandsTest, DumpFieldsInOrder) {
  const auto file = Sample();
  auto bytes = ReadBytes(file);
  bytes[24] = 4;  // the header's own tempo index is what dump reports
  WriteBytes(file, bytes);
  const auto dump = Cli({"dump", file});
  ASSERT_EQ(dump.exit, kDone) << dump.err;
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

TEST_F(FlowCommandsTest, ListingInEachNotation) {
  const auto file = Sample();
  const std::string japanese =
      "  0行目:はじめ\n  1行目:2回くり返し \n  2行目:LEDを ON \n  3行目:くり返し戻る\n"
      "  4行目:オルゴール演奏(ソン\"q\".olg)\n  5行目:  1行目へ\n  6行目:おわり\n";
  EXPECT_EQ(Cli({"listing", file}).out, japanese);
  EXPECT_EQ(Cli({"listing", file, "--notation", "japanese"}).out, japanese);
  EXPECT_EQ(Cli({"listing", "--notation", "basic", file}).out,
            "000:START\n001:FOR I=1 to 2\n002:LED (ON )\n003:NEXT\n"
            "004:PLAYORGEL(ソン\"q\".olg)\n005:GOTO 001\n006:END\n");
  EXPECT_EQ(Cli({"listing", file, "--notation", "c"}).out,
            "000:main{\n001:for(i=1;i<2;i++){\n002:LED(ON ) ;\n003:} do \n"
            "004:PlayOrgel(ソン\"q\".olg) ;\n005:goto 001;\n006:}\n");
}

TEST_F(FlowCommandsTest, UsageErrors) {
  const auto f = Sample();
  for (const std::vector<std::string>& args :
       std::initializer_list<std::vector<std::string>>{{"listing"},
                                                       {"listing", f, "--notation", "pascal"},
                                                       {"listing", f, "--notation"},
                                                       {"listing", f, f},
                                                       {"image", f, "-o"},
                                                       {"image", f, "--raw"},
                                                       {"dump", f, "extra"}}) {
    const auto r = Cli(args);
    EXPECT_EQ(r.exit, kUsage) << args.back();
    EXPECT_FALSE(r.err.empty());
  }
}

TEST_F(FlowCommandsTest, RefusedDamagedAndMissingFilesExitTwo) {
  const auto good = ReadBytes(Sample());
  auto refusedVersion = good;
  refusedVersion[8] = '5';
  auto badCount = good;
  badCount[6] = 1;
  for (const auto& bytes :
       {refusedVersion, badCount, std::vector<uint8_t>(good.begin(), good.begin() + 1000),
        std::vector<uint8_t>{}, std::vector<uint8_t>{'F', 'L'}}) {
    const auto path = (dir / "bad.flc").string();
    WriteBytes(path, bytes);
    for (const char* command : {"image", "dump", "listing"}) {
      const auto r = Cli({command, path});
      EXPECT_EQ(r.exit, kFileError) << command << " " << bytes.size();
      EXPECT_TRUE(r.out.empty());
      EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }
  }
  WriteBytes(dir / "version.flc", refusedVersion);
  EXPECT_NE(Cli({"dump", (dir / "version.flc").string()})
                .err.find("このバージョンのプログラムでは操作できません。"),
            std::string::npos);
  const auto missing = Cli({"listing", (dir / "missing.flc").string()});
  EXPECT_EQ(missing.exit, kFileError);
  EXPECT_NE(missing.err.find("no such file"), std::string::npos);
}

TEST_F(FlowCommandsTest, MutatedFilesNeverCrashTheCommands) {
  const auto good = ReadBytes(Sample());
  std::mt19937 rng(3);
  const auto path = (dir / "m.flc").string();
  for (int round = 0; round < 150; ++round) {
    auto bytes = good;
    for (int e = 0; e < 8; ++e) bytes[rng() % (64 + 800 * 8)] = static_cast<uint8_t>(rng());
    if (round % 5 == 0) bytes.resize(rng() % 8000);
    WriteBytes(path, bytes);
    for (const char* command : {"image", "dump", "listing"}) {
      const int exit = Cli({command, path}).exit;
      EXPECT_TRUE(exit == kDone || exit == kFileError || exit == kTooLarge) << exit;
    }
  }
}

TEST_F(FlowCommandsTest, BuiltProgramWritesRawBytesToStdout) {
  const char* bin = std::getenv("PENDRA2_BIN_DIR");
  if (bin == nullptr) GTEST_SKIP() << "run through ctest to test the built program";
  const auto file = Sample();
  const auto out = (dir / "stdout.bin").string();
  const std::string cli = std::string(bin) + "/pendra2-cli";
  EXPECT_EQ(std::system((cli + " image '" + file + "' > '" + out + "'").c_str()), 0);
  EXPECT_EQ(ReadBytes(out), std::vector<uint8_t>(p.image.begin(), p.image.end()));
  WriteBytes(out, {'F', 'L', 0});
  const int status = std::system((cli + " dump '" + out + "' > /dev/null 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kFileError);
}

}  // namespace
}  // namespace pendra2::cli
