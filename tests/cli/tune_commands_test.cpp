#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "tune_files.h"

namespace pendra2::cli {
namespace {

using testing::kLoopTune;
using testing::TuneFile;
using testing::Write;

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunCli(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = Run(args, {out, err});
  return {status, out.str(), err.str()};
}

class TuneCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("pendra2_cli_tune_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name, const std::vector<uint8_t>& bytes) {
    const auto path = (dir_ / name).string();
    Write(path, bytes);
    return path;
  }
  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(TuneCommands, ImageRawHexAndToAFile) {
  const auto tune = File("six.olg", TuneFile({0, 4, 7, 12, 23, 22}, 6, 30));
  const Result raw = RunCli({"image", tune});
  ASSERT_EQ(raw.status, kDone) << raw.err;
  ASSERT_EQ(raw.out.size(), 512u);
  EXPECT_EQ(raw.out.substr(0, 10), std::string("T\x1e\x00\x04\x07\x0c\x17\x16\x18"
                                               "E",
                                               10));
  EXPECT_EQ(static_cast<uint8_t>(raw.out[10]), 255);

  const Result hex = RunCli({"image", tune, "--hex"});
  ASSERT_EQ(hex.status, kDone);
  EXPECT_EQ(hex.out.substr(0, 48), "54 1E 00 04 07 0C 17 16 18 45 FF FF FF FF FF FF\n");
  EXPECT_EQ(std::count(hex.out.begin(), hex.out.end(), '\n'), 32);
  EXPECT_EQ(hex.out.size(), 32u * 48u);

  const Result toFile = RunCli({"image", tune, "-o", Path("out.bin")});
  ASSERT_EQ(toFile.status, kDone);
  EXPECT_TRUE(toFile.out.empty());
  EXPECT_EQ(std::filesystem::file_size(Path("out.bin")), 512u);
  EXPECT_EQ(RunCli({"image", tune, "-o", Path("no/such/dir/out.bin")}).status, kFileError);
}

TEST_F(TuneCommands, ImageOfATuneTooLongForTheBoardIsRefused) {
  std::vector<int> columns(509, 5);
  const Result r = RunCli({"image", File("long.olg", TuneFile(columns))});
  EXPECT_EQ(r.status, kTooLarge);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("508"), std::string::npos) << r.err;
  columns.pop_back();
  EXPECT_EQ(RunCli({"image", File("fits.olg", TuneFile(columns))}).status, kDone);
}

TEST_F(TuneCommands, DumpShowsTheTuneAsLoaded) {
  auto bytes = TuneFile({1, 255, 3}, 9, 6);
  bytes[6] = 77;  // a stale length: shown as the file holds it
  const Result r = RunCli({"dump", File("d.olg", bytes)});
  ASSERT_EQ(r.status, kDone) << r.err;
  const std::string head =
      "{\n  \"length\": 77,\n  \"tempoIndex\": 9,\n  \"tempoPair\": [84, 6],\n  \"cells\": [";
  EXPECT_EQ(r.out.substr(0, head.size()), head);
  EXPECT_NE(r.out.find("\"cells\": [1, 255, 3, 24, 255, "), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), ','), 3 + 1 + 511);
  EXPECT_EQ(r.out.substr(r.out.size() - 4), "]\n}\n");
}

TEST_F(TuneCommands, DryRunPlaysLoopsPartsAndStopsWithSilence) {
  const auto tune = File("loop.olg", TuneFile(kLoopTune));
  Result r = RunCli({"play", tune, "--dry-run"});
  ASSERT_EQ(r.status, kDone) << r.err;
  EXPECT_EQ(r.out, "0\n2\n2\n2\n4\n24\n23\n");
  EXPECT_EQ(RunCli({"play", tune, "--dry-run", "--part", "0"}).out, "0\n2\n4\n24\n23\n");
  EXPECT_EQ(RunCli({"play", tune, "--part", "3", "--dry-run"}).out, "2\n4\n24\n23\n");
  // A loop mark takes a tick of its own; stopping early still silences the board.
  EXPECT_EQ(RunCli({"play", tune, "--dry-run", "--max-ticks", "3"}).out, "0\n2\n23\n");
  EXPECT_EQ(RunCli({"play", tune, "--dry-run", "--loop", "--max-ticks", "12"}).out,
            "0\n2\n2\n2\n4\n24\n0\n23\n");
  EXPECT_EQ(RunCli({"play", File("e.olg", TuneFile({})), "--dry-run"}).out, "24\n23\n");
}

TEST_F(TuneCommands, EndlessDryRunComesBackByItself) {
  const Result r = RunCli({"play", File("l.olg", TuneFile({5})), "--dry-run", "--loop"});
  EXPECT_EQ(r.status, kDone);
  EXPECT_NE(r.err.find("--max-ticks"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 3), "23\n");
}

TEST_F(TuneCommands, DamagedAndMissingFiles) {
  const std::vector<uint8_t> text(300, 'x');
  const auto notATune = File("text.olg", text);
  for (const std::string command : {"image", "dump", "play"}) {
    SCOPED_TRACE(command);
    Result r = RunCli({command, Path("missing.olg")});
    EXPECT_EQ(r.status, kFileError);
    EXPECT_NE(r.err.find("missing.olg"), std::string::npos);
    r = RunCli({command, notATune});
    EXPECT_EQ(r.status, kFileError);
    EXPECT_NE(r.err.find("not a Chimecraft tune file"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_EQ(RunCli({"image", File("tiny.olg", {'O', 'L', 'X'})}).status, kFileError);
  EXPECT_EQ(RunCli({"image", Path("")}).status, kFileError);

  // Cut short after the header: read as far as it goes, with a warning.
  auto cut = TuneFile({1, 2, 3});
  cut.resize(68);
  const Result r = RunCli({"play", File("cut.olg", cut), "--dry-run"});
  EXPECT_EQ(r.status, kDone);
  EXPECT_EQ(r.out, "1\n2\n24\n23\n");
  EXPECT_NE(r.err.find("warning"), std::string::npos);

  auto badTempo = TuneFile({1});
  badTempo[24] = 200;
  const Result d = RunCli({"dump", File("tempo.olg", badTempo)});
  EXPECT_EQ(d.status, kDone);
  EXPECT_NE(d.out.find("\"tempoIndex\": 2,"), std::string::npos);
}

TEST_F(TuneCommands, UsageErrors) {
  const auto tune = File("u.olg", TuneFile({1}));
  EXPECT_EQ(RunCli({"play"}).status, kUsage);
  EXPECT_EQ(RunCli({"play", tune, "--part"}).status, kUsage);
  EXPECT_EQ(RunCli({"play", tune, "--part", "491"}).status, kUsage);
  EXPECT_EQ(RunCli({"play", tune, "--part", "-1"}).status, kUsage);
  EXPECT_EQ(RunCli({"play", tune, "--max-ticks", "ten"}).status, kUsage);
  EXPECT_EQ(RunCli({"play", tune, "--fast"}).status, kUsage);
  EXPECT_EQ(RunCli({"dump", tune, tune}).status, kUsage);
  EXPECT_EQ(RunCli({"image", tune, "-o"}).status, kUsage);
}

TEST_F(TuneCommands, PlayAndWriteWithoutABoard) {
  const auto tune = File("nb.olg", TuneFile({1}));
  ::setenv("PENDRA2_VIRTUAL_BOARDS", "pendra2-nobody-serves-this", 1);
  EXPECT_EQ(RunCli({"play", tune}).status, kNoBoard);
  EXPECT_EQ(RunCli({"write", tune}).status, kNoBoard);
  // A tune the image cannot hold is refused before the board is looked for.
  EXPECT_EQ(RunCli({"write", File("long.olg", TuneFile(std::vector<int>(509, 1)))}).status,
            kTooLarge);
  ::unsetenv("PENDRA2_VIRTUAL_BOARDS");
}

}  // namespace
}  // namespace pendra2::cli
