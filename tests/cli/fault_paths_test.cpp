// The command line's answers to what goes wrong: damaged, missing and refused inputs, outputs
// that cannot be written or are the input, paths the system cannot resolve, inputs that can
// be read only once, text from files that must not reach the terminal raw, and mistyped
// command lines.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <streambuf>
#include <thread>

#include "cli_run.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "melody/helpers.h"
#include "support/as_saving_user.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
namespace fs = std::filesystem;
using fc::testing::K;
using fc::testing::Step;
using melody::testing::TuneFile;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;
using testing::CliResult;

// A stream whose every write fails, as standard output does on a full disk.
struct FullBuffer : std::streambuf {
  int overflow(int) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

struct Row {
  std::string line;
  int status;
  const char* says;  // in the output for kDone, else in the error
};

class FaultPaths : public fc::testing::ProgramTest {
 protected:
  void SetUp() override {
    fc::StepRecord tune = Step(K::Orgel);
    tune.code[0] = 'T';
    tune.size = 2;
    // A damaged path: a newline, an escape sequence, DEL, SUB, then ソ in Shift JIS.
    const char path[] = "a\nb\x1b[2J\x7f\x1a\x83\x5c.olg";
    std::memcpy(&tune.code[512], path, sizeof path);
    Save("f.flc", {Step(K::Output, 1), tune});
    fc::StepRecord big = Step(K::Orgel);
    big.size = 300;
    Save("big.flc", {big, big});
    WriteBytes(dir / "t.olg", TuneFile({0, 4, 7}));
    WriteBytes(dir / "long.olg", TuneFile(std::vector<int>(509, 1)));
    WriteBytes(dir / "text.olg", std::vector<uint8_t>(300, 'x'));
    WriteBytes(dir / "tiny.olg", {'O', 'L', 'X'});
    WriteBytes(dir / "notes.flc", {'h', 'e', 'l', 'l', 'o'});
    WriteBytes(dir / "notes", {'h', 'e', 'l', 'l', 'o'});
    const auto good = ReadBytes(dir / "f.flc");
    auto damaged = good;
    damaged[8] = '5';  // a version this program refuses
    WriteBytes(dir / "version.flc", damaged);
    damaged = good;
    damaged[6] = 1;  // fewer steps than the program holds
    WriteBytes(dir / "count.flc", damaged);
    WriteBytes(dir / "cut.flc", std::vector<uint8_t>(good.begin(), good.begin() + 1000));
    WriteBytes(dir / "empty.flc", {});
    WriteBytes(dir / "fl.flc", {'F', 'L'});
    fs::create_symlink("loop.flc", dir / "loop.flc");
    fs::create_symlink("f.flc", dir / "link.flc");
  }
  void Save(const std::string& name, const std::vector<fc::StepRecord>& body) {
    fc::testing::Build(p, body);
    ASSERT_TRUE(fc::SaveFlowFile(p, dir / name).ok());
  }
  CliResult Cli(const std::string& line, std::ostream* out = nullptr) {
    return testing::RunCli(line, dir.Path(), out);
  }
  void Check(const Row& row, std::ostream* out = nullptr) {
    const CliResult r = Cli(row.line, out);
    EXPECT_EQ(r.status, row.status) << row.line << ": " << r.err;
    EXPECT_NE((row.status == kDone ? r.out : r.err).find(row.says), std::string::npos)
        << row.line << ": " << r.out << r.err;
    if (row.status != kDone) {
      EXPECT_EQ(r.out, "") << row.line;
    }
  }
  int Files() const {
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++files;
    return files;
  }

  pendra2::testing::TempDir dir;
};

TEST_F(FaultPaths, OutputsThatCannotBeWrittenWholeAreFileErrors) {
  FullBuffer full;
  std::ostream failing(&full);
  for (const char* line : {"dump @/f.flc", "dump @/t.olg", "image @/f.flc", "image @/t.olg --hex",
                           "listing @/f.flc", "play @/t.olg --dry-run"}) {
    Check({line, kFileError, "could not be written whole"}, &failing);
    failing.clear();
  }

  // A file size limit cuts the hex image short: the previous file stays, no partial file.
  WriteBytes(dir / "old.txt", {'o', 'l', 'd'});
  const int files = Files();
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;  // the hex image is 1,536 bytes
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const CliResult r = Cli("image @/f.flc --hex -o @/old.txt");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(r.status, kFileError);
  EXPECT_EQ(ReadBytes(dir / "old.txt"), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(Files(), files) << "a partial file was left behind";
}

TEST_F(FaultPaths, RefusedInputsAndOutputsAreFileErrorsAndTheInputSurvives) {
  const std::string longName = "@/" + std::string(300, 'a') + ".flc";
  const auto before = ReadBytes(dir / "f.flc");
  const Row rows[] = {
      {"image @/f.flc -o @/f.flc", kFileError, "is the input file itself"},
      {"image @/f.flc -o @/link.flc", kFileError, "is the input file itself"},
      {"image @/link.flc --hex -o @/./f.flc", kFileError, "is the input file itself"},
      {"render @/f.flc -o @/f.flc", kFileError, "is the input file itself"},
      {"pdf @/link.flc -o @/f.flc", kFileError, "is the input file itself"},
      {"image @/t.olg -o @/t.olg", kFileError, "is the input file itself"},
      {"write @/loop.flc", kFileError, "symbolic links"},
      {"dump @/loop.flc", kFileError, "symbolic links"},
      {"listing @/loop.flc", kFileError, "symbolic links"},
      {"image @/f.flc -o @/loop.flc", kFileError, "symbolic links"},
      {"write " + longName, kFileError, "too long"},
      {"dump " + longName, kFileError, "too long"},
      {"image @/f.flc -o " + longName, kFileError, "too long"},
      {"image @/f.flc -o @/no/such/folder/x.bin", kFileError, "does not exist"},
      {"image @/t.olg -o @/no/such/folder/x.bin", kFileError, "does not exist"},
      {"dump @/missing.flc", kFileError, "missing.flc: no such file"},
      {"simulate @/missing.flc", kFileError, "missing.flc: no such file"},
      {"play @/missing.olg", kFileError, "missing.olg: no such file"},
      {"dump @", kFileError, "is a folder"},
      {"image @/", kFileError, "is a folder"},
      {"image @/f.flc -o @", kFileError, "is a folder; give a file name"},
      {"listing @/t.olg", kFileError, "a Chimecraft tune, not a Stepcraft program"},
      {"write @/notes.flc", kFileError, "not a Stepcraft program file"},
      {"dump @/notes", kFileError, "neither a Stepcraft program"},
      {"image @/text.olg", kFileError, "text.olg: not a Chimecraft tune file"},
      {"dump @/text.olg", kFileError, "text.olg: not a Chimecraft tune file"},
      {"play @/text.olg", kFileError, "text.olg: not a Chimecraft tune file"},
      {"simulate @/text.olg", kFileError, "text.olg: not a Chimecraft tune file"},
      {"image @/tiny.olg", kFileError, "shorter than the 64-byte header"},
      {"dump @/version.flc", kFileError, "このバージョンのプログラムでは操作できません。"},
      {"image @/count.flc", kFileError, "count.flc"},
      {"listing @/cut.flc", kFileError, "cut.flc"},
      {"dump @/empty.flc", kFileError, "empty.flc"},
      {"image @/fl.flc", kFileError, "fl.flc"},
  };
  for (const Row& row : rows) Check(row);
  EXPECT_EQ(ReadBytes(dir / "f.flc"), before);
  EXPECT_EQ(ReadBytes(dir / "t.olg").size(), 576u);
}

// Outputs are saved as the editors save (tested there): through a link to a private file, then
// in place in a folder its user cannot write, which fails on a full disk and says what it means.
TEST_F(FaultPaths, OutputsKeepWhatTheFileWas) {
  WriteBytes(dir / "private.txt", {'o', 'l', 'd'});
  fs::permissions(dir / "private.txt", fs::perms(0600));
  fs::create_symlink("private.txt", dir / "out.txt");
  ASSERT_EQ(Cli("image @/f.flc --hex -o @/out.txt").status, kDone);
  EXPECT_EQ(fs::status(dir / "private.txt").permissions(), fs::perms(0600));
  EXPECT_EQ(ReadBytes(dir / "private.txt").size(), 1536u);
  fs::permissions(dir.Path(), fs::perms(0555));
  const auto said = pendra2::testing::SaveAsUser(
      dir.Path(),
      [&] {
        const CliResult r = Cli("image @/f.flc --hex -o @/out.txt");
        return r.status == kFileError && r.err.find("may be damaged") != std::string::npos ? 0 : 1;
      },
      100);
  fs::permissions(dir.Path(), fs::perms(0700));
  if (!said) GTEST_SKIP() << "the output must be written by a user whom permissions bind";
  EXPECT_EQ(*said, 0);
  EXPECT_TRUE(fs::is_symlink(dir / "out.txt"));
}

TEST_F(FaultPaths, AnInputIsReadOnceSoAPipeWorks) {
  const auto bytes = ReadBytes(dir / "f.flc");
  const std::string fifo = (dir / "pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] {
    // Non-blocking until the command opens its end, so a failing test cannot hang here.
    int fd = -1;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (fd < 0 && std::chrono::steady_clock::now() < until) {
      fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (fd < 0) return;
    ::fcntl(fd, F_SETFL, 0);
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
  });
  const CliResult r = Cli("dump @/pipe");
  writer.join();
  EXPECT_EQ(r.status, kDone) << r.err;
  EXPECT_NE(r.out.find("\"count\": 4"), std::string::npos);
}

TEST_F(FaultPaths, PathBytesSurviveInJsonAndAreShownEscapedInTheListing) {
  const CliResult dump = Cli("dump @/f.flc");
  ASSERT_EQ(dump.status, kDone) << dump.err;
  EXPECT_NE(dump.out.find("\"tunePath\": \"a\\u000ab\\u001b[2J\x7f\\u001aソ.olg\""),
            std::string::npos)
      << dump.out;
  EXPECT_NE(dump.out.find("\"tunePathBytes\": \"610a621b5b324a7f1a835c2e6f6c67\""),
            std::string::npos);

  const CliResult listing = Cli("listing @/f.flc");
  ASSERT_EQ(listing.status, kDone) << listing.err;
  EXPECT_EQ(std::count(listing.out.begin(), listing.out.end(), '\n'), 4);
  EXPECT_EQ(listing.out.find('\x1b'), std::string::npos);
  EXPECT_NE(listing.out.find("a\\x0ab\\x1b[2J"), std::string::npos) << listing.out;
}

TEST_F(FaultPaths, HelpMistypedCommandLinesTooLargeAndNoBoard) {
  ::setenv("PENDRA2_VIRTUAL_BOARDS", "pendra2-nobody-serves-this", 1);
  const Row rows[] = {
      {"--help", kDone, "read-input 1|2|3 [--watch] [--count N]"},
      {"--version", kDone, "pendra2-cli "},
      {"note --help", kDone, "usage: pendra2-cli note CODE"},
      {"render --help", kDone, "--top N"},
      {"render @/f.flc -o @/x.png --view 2", kUsage, "--view takes 0"},
      {"render @/f.flc -o @/x.png --top 99", kUsage, "the top step can be 0 to 3"},
      {"render @/f.flc -o @/x.jpg", kUsage, "ending in .png"},
      {"pdf @/f.flc -o @/x.png", kUsage, "ending in .pdf"},
      {"image @/f.flc --raw", kUsage, "unknown option '--raw'"},
      {"image @/t.olg -o", kUsage, "-o needs one output file name"},
      {"note C9", kUsage, "is not a note"},
      {"listing", kUsage, "usage: pendra2-cli listing FILE.flc"},
      {"listing @/f.flc --notation pascal", kUsage, "[--notation japanese|basic|c]"},
      {"listing @/f.flc --notation", kUsage, "[--notation japanese|basic|c]"},
      {"listing @/f.flc @/f.flc", kUsage, "usage: pendra2-cli listing"},
      {"dump @/f.flc extra", kUsage, "usage: pendra2-cli dump FILE"},
      {"play", kUsage, "usage: pendra2-cli play FILE.olg"},
      {"play @/t.olg --part", kUsage, "usage: pendra2-cli play"},
      {"play @/t.olg --part 491", kUsage, "--part takes a column position from 0 to 490"},
      {"play @/t.olg --part -1", kUsage, "--part takes a column position from 0 to 490"},
      {"play @/t.olg --max-ticks ten", kUsage, "--max-ticks takes a whole number"},
      {"play @/t.olg --fast", kUsage, "usage: pendra2-cli play"},
      {"simulate", kUsage, "usage: pendra2-cli simulate"},
      {"simulate @/big.flc --inputs 1,2", kUsage, "--inputs takes three numbers"},
      {"simulate @/big.flc --inputs 1,2,1024", kUsage, "--inputs takes three numbers"},
      {"simulate @/big.flc --max-ms 0", kUsage, "--max-ms takes a number of milliseconds"},
      {"simulate @/big.flc --max-ms 12x", kUsage, "--max-ms takes a number of milliseconds"},
      // Too large wins over the board: exit 3 for a program as for a tune, no board needed.
      {"write @/big.flc", kTooLarge, "データが５１２バイトを越しているので転送できません。"},
      {"write @/long.olg", kTooLarge, "508"},
      {"simulate @/big.flc", kTooLarge, "the board holds 511"},
      {"write @/f.flc", kNoBoard, "no Pendra2 board found"},
      {"write @/t.olg", kNoBoard, "no Pendra2 board found: is it plugged in?"},
      {"play @/t.olg", kNoBoard, "no Pendra2 board found"},
  };
  for (const Row& row : rows) Check(row);
  ::unsetenv("PENDRA2_VIRTUAL_BOARDS");
}

}  // namespace
}  // namespace pendra2::cli
