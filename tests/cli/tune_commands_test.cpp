#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "tune_files.h"

namespace pendra2::cli {
namespace {

using testing::TuneFile;

struct Result {
  int status;
  std::string out, err;
};

class TuneCommands : public ::testing::Test {
 protected:
  TuneCommands() { std::filesystem::create_directories(dir_); }
  ~TuneCommands() override { std::filesystem::remove_all(dir_); }
  // A command line, its words separated by single spaces.
  static Result Cli(const std::string& line) {
    std::vector<std::string> args;
    for (std::istringstream in(line); !in.eof();) std::getline(in, args.emplace_back(), ' ');
    std::ostringstream out, err;
    const int status = cli::Run(args, {out, err});
    return {status, out.str(), err.str()};
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string File(const std::string& name, const std::vector<uint8_t>& bytes) const {
    testing::Write(Path(name), bytes);
    return Path(name);
  }
  const std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() /
      ("pendra2_cli_tune_" + std::to_string(::getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(TuneCommands, ImageRawHexToAFileAndTooLong) {
  const auto tune = File("six.olg", TuneFile({0, 4, 7, 12, 23, 22}, 6, 30));
  const Result raw = Cli("image " + tune);
  ASSERT_EQ(raw.status, kDone) << raw.err;
  EXPECT_EQ(raw.out,
            std::string("T\x1e\x00\x04\x07\x0c\x17\x16\x18\x45", 10) + std::string(502, '\xff'));
  const Result hex = Cli("image " + tune + " --hex");
  ASSERT_EQ(hex.status, kDone);
  EXPECT_EQ(hex.out.substr(0, 48), "54 1E 00 04 07 0C 17 16 18 45 FF FF FF FF FF FF\n");
  EXPECT_EQ(hex.out.size(), 32u * 48u);
  EXPECT_EQ(hex.out.find_first_not_of("F \n", 48), std::string::npos);
  EXPECT_EQ(Cli("image " + tune + " -o " + Path("out.bin")).out, "");
  EXPECT_EQ(std::filesystem::file_size(Path("out.bin")), 512u);
  EXPECT_EQ(Cli("image " + tune + " -o " + Path("no/such/dir/out.bin")).status, kFileError);

  const Result r = Cli("image " + File("long.olg", TuneFile(std::vector<int>(509, 5))));
  EXPECT_TRUE(r.status == kTooLarge && r.out.empty());
  EXPECT_NE(r.err.find("508"), std::string::npos) << r.err;
  EXPECT_EQ(Cli("image " + File("fits.olg", TuneFile(std::vector<int>(508, 5)))).status, kDone);
}

TEST_F(TuneCommands, DumpShowsTheTuneAsLoaded) {
  auto bytes = TuneFile({1, 255, 3}, 9, 6);
  bytes[6] = 77;  // a stale length: shown as the file holds it
  std::string cells = "1, 255, 3, 24";
  for (int p = 4; p < 512; ++p) cells += ", 255";
  EXPECT_EQ(
      Cli("dump " + File("d.olg", bytes)).out,
      "{\n  \"length\": 77,\n  \"tempoIndex\": 9,\n  \"tempoPair\": [84, 6],\n  \"cells\": [" +
          cells + "]\n}\n");
  bytes[24] = 200;
  EXPECT_NE(Cli("dump " + File("d.olg", bytes)).out.find("\"tempoIndex\": 2,"), std::string::npos);
}

TEST_F(TuneCommands, DryRunPlaysLoopsPartsAndStopsWithSilence) {
  const auto tune = File("loop.olg", TuneFile(testing::kLoopTune));
  const std::pair<std::string, std::string> runs[] = {
      {"", "0 2 2 2 4 24 23"},
      {" --part 0", "0 2 4 24 23"},
      {" --part 3", "2 4 24 23"},
      // A loop mark takes a tick of its own; stopping early still silences the board.
      {" --max-ticks 3", "0 2 23"},
      {" --loop --max-ticks 12", "0 2 2 2 4 24 0 23"},
  };
  for (auto [options, sent] : runs) {
    const Result r = Cli("play " + tune + " --dry-run" + options);
    std::replace(sent.begin(), sent.end(), ' ', '\n');
    EXPECT_EQ(r.status, kDone) << r.err;
    EXPECT_EQ(r.out, sent + "\n") << options;
  }
  EXPECT_EQ(Cli("play " + File("e.olg", TuneFile({})) + " --dry-run").out, "24\n23\n");
  // An endless dry run comes back by itself.
  const Result r = Cli("play " + File("l.olg", TuneFile({5})) + " --dry-run --loop");
  EXPECT_EQ(r.status, kDone);
  EXPECT_NE(r.err.find("--max-ticks"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 3), "23\n");
}

TEST_F(TuneCommands, DamagedMissingAndShortFiles) {
  const auto notATune = File("text.olg", std::vector<uint8_t>(300, 'x'));
  for (const std::string command : {"image ", "dump ", "play "}) {
    Result r = Cli(command + Path("missing.olg"));
    EXPECT_EQ(r.status, kFileError) << command;
    EXPECT_NE(r.err.find("missing.olg"), std::string::npos) << command;
    r = Cli(command + notATune);
    EXPECT_TRUE(r.status == kFileError && r.out.empty()) << command;
    EXPECT_NE(r.err.find("not a Chimecraft tune file"), std::string::npos) << command;
  }
  EXPECT_EQ(Cli("image " + File("tiny.olg", {'O', 'L', 'X'})).status, kFileError);
  EXPECT_EQ(Cli("image " + Path("")).status, kFileError);

  auto cut = TuneFile({1, 2, 3});  // cut short after the header: read as far as it goes
  cut.resize(68);
  const Result r = Cli("play " + File("cut.olg", cut) + " --dry-run");
  EXPECT_TRUE(r.status == kDone && r.out == "1\n2\n24\n23\n") << r.out;
  EXPECT_NE(r.err.find("warning"), std::string::npos);
}

TEST_F(TuneCommands, UsageErrorsAndNoBoard) {
  const auto tune = File("u.olg", TuneFile({1}));
  for (const std::string usage :
       {" --part", " --part 491", " --part -1", " --max-ticks ten", " --fast"})
    EXPECT_EQ(Cli("play " + tune + usage).status, kUsage) << usage;
  EXPECT_EQ(Cli("play").status, kUsage);
  EXPECT_EQ(Cli("dump " + tune + " " + tune).status, kUsage);
  EXPECT_EQ(Cli("image " + tune + " -o").status, kUsage);

  ::setenv("PENDRA2_VIRTUAL_BOARDS", "pendra2-nobody-serves-this", 1);
  EXPECT_EQ(Cli("play " + tune).status, kNoBoard);
  EXPECT_EQ(Cli("write " + tune).status, kNoBoard);
  // A tune the image cannot hold is refused before the board is looked for.
  EXPECT_EQ(Cli("write " + File("long.olg", TuneFile(std::vector<int>(509, 1)))).status, kTooLarge);
  ::unsetenv("PENDRA2_VIRTUAL_BOARDS");
}

}  // namespace
}  // namespace pendra2::cli
