// The command line's answers to what goes wrong around the loaders: outputs that cannot be
// written, outputs that are the input, paths the system cannot resolve, inputs that can be
// read only once, and text from files that must not reach the terminal raw.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <sstream>
#include <streambuf>
#include <thread>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/program_builder.h"
#include "flowchart/temp_dir.h"
#include "tune_files.h"

namespace pendra2::cli {
namespace {

namespace fc = pendra2::flowchart;
namespace fs = std::filesystem;
using fc::testing::K;
using fc::testing::Step;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;

// A stream whose every write fails, as standard output does on a full disk.
struct FullBuffer : std::streambuf {
  int overflow(int) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

struct Result {
  int status;
  std::string out, err;
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
    cli::testing::Write(Name("t.olg"), cli::testing::TuneFile({0, 4, 7}));
    WriteBytes(dir / "notes.flc", {'h', 'e', 'l', 'l', 'o'});
    WriteBytes(dir / "notes", {'h', 'e', 'l', 'l', 'o'});
    fs::create_symlink("loop.flc", dir / "loop.flc");
    fs::create_symlink("f.flc", dir / "link.flc");
  }
  void Save(const std::string& name, const std::vector<fc::StepRecord>& body) {
    fc::testing::Build(p, body);
    ASSERT_TRUE(fc::SaveFlowFile(p, dir / name).ok());
  }
  std::string Name(const std::string& name) const { return (dir / name).string(); }
  // Words separated by spaces; "@" stands for the test's folder.
  Result Cli(const std::string& line, std::ostream* out = nullptr) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) {
      if (const auto at = w.find('@'); at != std::string::npos) w.replace(at, 1, dir.Path());
      args.push_back(w);
    }
    std::ostringstream captured, err;
    const int status = cli::Run(args, {out ? *out : captured, err});
    return {status, captured.str(), err.str()};
  }

  pendra2::testing::TempDir dir;
};

TEST_F(FaultPaths, EveryFaultIsAFileErrorWithAMessageAndTheInputSurvives) {
  const std::string longName = "@/" + std::string(300, 'a') + ".flc";
  const auto before = ReadBytes(dir / "f.flc");
  FullBuffer full;
  std::ostream failing(&full);
  const struct {
    std::string line;
    bool failingOut;
    const char* says;
  } cases[] = {
      {"dump @/f.flc", true, "could not be written whole"},
      {"dump @/t.olg", true, "could not be written whole"},
      {"image @/f.flc", true, "could not be written whole"},
      {"image @/t.olg --hex", true, "could not be written whole"},
      {"listing @/f.flc", true, "could not be written whole"},
      {"play @/t.olg --dry-run", true, "could not be written whole"},
      {"image @/f.flc -o @/f.flc", false, "is the input file itself"},
      {"image @/f.flc -o @/link.flc", false, "is the input file itself"},
      {"image @/link.flc --hex -o @/./f.flc", false, "is the input file itself"},
      {"render @/f.flc -o @/f.flc", false, "is the input file itself"},
      {"pdf @/link.flc -o @/f.flc", false, "is the input file itself"},
      {"image @/t.olg -o @/t.olg", false, "is the input file itself"},
      {"write @/loop.flc", false, "symbolic links"},
      {"dump @/loop.flc", false, "symbolic links"},
      {"listing @/loop.flc", false, "symbolic links"},
      {"image @/f.flc -o @/loop.flc", false, "symbolic links"},
      {"write " + longName, false, "too long"},
      {"dump " + longName, false, "too long"},
      {"image @/f.flc -o " + longName, false, "too long"},
      {"image @/f.flc -o @/no/such/folder/x.bin", false, "does not exist"},
      {"dump @/missing.flc", false, "no such file"},
      {"dump @", false, "is a folder"},
      {"listing @/t.olg", false, "a Chimecraft tune, not a Stepcraft program"},
      {"write @/notes.flc", false, "not a Stepcraft program file"},
      {"dump @/notes", false, "neither a Stepcraft program"},
  };
  for (const auto& c : cases) {
    const Result r = Cli(c.line, c.failingOut ? &failing : nullptr);
    failing.clear();
    EXPECT_EQ(r.status, kFileError) << c.line;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.line << ": " << r.err;
  }
  EXPECT_EQ(ReadBytes(dir / "f.flc"), before);
  EXPECT_EQ(ReadBytes(dir / "t.olg").size(), 576u);
}

TEST_F(FaultPaths, AnOutputNotWrittenWholeLeavesThePreviousFile) {
  WriteBytes(dir / "old.txt", {'o', 'l', 'd'});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;  // the hex image is 1,536 bytes
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const Result r = Cli("image @/f.flc --hex -o @/old.txt");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(r.status, kFileError);
  EXPECT_EQ(ReadBytes(dir / "old.txt"), (std::vector<uint8_t>{'o', 'l', 'd'}));
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 8) << "a partial file was left behind";
}

TEST_F(FaultPaths, AnInputIsReadOnceSoAPipeWorks) {
  const auto bytes = ReadBytes(dir / "f.flc");
  const std::string fifo = Name("pipe");
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
  const Result r = Cli("dump @/pipe");
  writer.join();
  EXPECT_EQ(r.status, kDone) << r.err;
  EXPECT_NE(r.out.find("\"count\": 4"), std::string::npos);
}

TEST_F(FaultPaths, PathBytesSurviveInJsonAndAreShownEscapedInTheListing) {
  const Result dump = Cli("dump @/f.flc");
  ASSERT_EQ(dump.status, kDone) << dump.err;
  EXPECT_NE(dump.out.find("\"tunePath\": \"a\\u000ab\\u001b[2J\x7f\\u001aソ.olg\""),
            std::string::npos)
      << dump.out;
  EXPECT_NE(dump.out.find("\"tunePathBytes\": \"610a621b5b324a7f1a835c2e6f6c67\""),
            std::string::npos);

  const Result listing = Cli("listing @/f.flc");
  ASSERT_EQ(listing.status, kDone) << listing.err;
  EXPECT_EQ(std::count(listing.out.begin(), listing.out.end(), '\n'), 4);
  EXPECT_EQ(listing.out.find('\x1b'), std::string::npos);
  EXPECT_NE(listing.out.find("a\\x0ab\\x1b[2J"), std::string::npos) << listing.out;
}

TEST_F(FaultPaths, ATeacherGetsHelpAndClearRefusals) {
  ::setenv("PENDRA2_VIRTUAL_BOARDS", "pendra2-nobody-serves-this", 1);
  const struct {
    std::string line;
    int status;
    const char* says;  // in the output for kDone, else in the error
  } cases[] = {
      {"--help", kDone, "read-input 1|2|3 [--watch] [--count N]"},
      {"--version", kDone, "pendra2-cli "},
      {"note --help", kDone, "usage: pendra2-cli note CODE"},
      {"render --help", kDone, "--top N"},
      {"render @/f.flc -o @/x.png --view 2", kUsage, "--view takes 0"},
      {"render @/f.flc -o @/x.png --view 9", kUsage, "--view takes 0"},
      {"render @/f.flc -o @/x.png --top 99", kUsage, "the top step can be 0 to 3"},
      {"render @/f.flc -o @/x.jpg", kUsage, "ending in .png"},
      {"pdf @/f.flc -o @/x.png", kUsage, "ending in .pdf"},
      {"image @/f.flc --raw", kUsage, "unknown option '--raw'"},
      {"note C9", kUsage, "is not a note"},
      // Too large wins over the board: exit 3 for a program as for a tune, no board needed.
      {"write @/big.flc", kTooLarge, "データが５１２バイトを越しているので転送できません。"},
      {"write @/f.flc", kNoBoard, "no Pendra2 board found"},
  };
  for (const auto& c : cases) {
    const Result r = Cli(c.line);
    EXPECT_EQ(r.status, c.status) << c.line << ": " << r.err;
    EXPECT_NE((c.status == kDone ? r.out : r.err).find(c.says), std::string::npos)
        << c.line << ": " << r.out << r.err;
  }
  ::unsetenv("PENDRA2_VIRTUAL_BOARDS");
}

}  // namespace
}  // namespace pendra2::cli
