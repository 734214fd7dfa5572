// import-midi and export from the command line: what they write, what they say, and their
// exit statuses.

#include <gtest/gtest.h>

#include "cli_run.h"
#include "melody/helpers.h"
#include "melody/smf_bytes.h"

namespace pendra2::cli {
namespace {

using namespace melody::testing;
using pendra2::testing::ReadBytes;
using pendra2::testing::WriteBytes;

class ExchangeCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    // Track 2: a tune an octave under the score's range; track 3: a low bass; the drums.
    WriteBytes(dir / "song.mid", melody::testing::ThreePartSong());
  }
  testing::CliResult Cli(const std::string& line) { return testing::RunCli(line, dir.Path()); }
  // The cells of a written tune up to its end mark.
  Cols Cells(const std::string& name) {
    const Bytes olg = ReadBytes(dir / name);
    Cols cells;
    for (std::size_t i = 66; i < olg.size() && (cells.empty() || cells.back() != melody::kEndMark);
         ++i)
      cells.push_back(olg[i]);
    return cells;
  }
  pendra2::testing::TempDir dir;
};

TEST_F(ExchangeCommands, ImportWritesTheMelodyAndSaysWhatItTook) {
  const auto list = Cli("import-midi @/song.mid --list");
  ASSERT_EQ(list.status, kDone) << list.err;
  EXPECT_EQ(list.out,
            "#  TRACK  CHANNEL  NOTES  NAME\n"
            "1  2      1        3      Melody  (proposed)\n"
            "2  3      2        1      Bass\n");
  const struct {
    const char* options;
    const char* cells;
  } runs[] = {
      {"", "0 2 23 4 24"},
      {"--transpose 14", "2 4 23 6 24"},
      {"--track 2", "0 24"},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.options);
    const auto r = Cli(std::string("import-midi @/song.mid -o @/out.olg ") + run.options);
    ASSERT_EQ(r.status, kDone) << r.err;
    EXPECT_EQ(Cells("out.olg"), C(run.cells));
  }
  const auto first = Cli("import-midi @/song.mid -o @/out.olg");
  EXPECT_EQ(first.out,
            "wrote " + (dir / "out.olg").string() +
                ": 4 columns at 1/4(0.25)秒, from track 2 channel 1, 8 a column, transposed +12\n");
  EXPECT_EQ(first.err, "");
  // What had to change is said, and the tune written all the same.
  const auto merged = Cli("import-midi @/song.mid -o @/out.olg --grid 2");
  EXPECT_EQ(merged.err,
            "pendra2-cli: " + (dir / "song.mid").string() +
                ": 同じ列に重なった音が 1 個あったので、いちばん高い音だけを入れました。\n");
}

TEST_F(ExchangeCommands, ImportRefusals) {
  WriteBytes(dir / "drums.mid", Smf(0, 96, {TrackEvents().On(0, 10, 36).End()}));
  SmfBytes cut = MelodyFile({72, 74});
  cut.resize(cut.size() - 3);
  WriteBytes(dir / "cut.mid", cut);
  const struct {
    const char* line;
    int status;
    const char* said;  // a part of standard error
  } cases[] = {
      {"import-midi @/song.mid", kUsage, "an output file is needed"},
      {"import-midi @/song.mid -o @/o.olg --track 3", kUsage, "--track 3: "},
      {"import-midi @/song.mid -o @/o.olg --grid 12", kUsage, "--grid takes"},
      {"import-midi @/drums.mid -o @/o.olg", kFileError, "ドラム（チャンネル10）の音しかない"},
      {"import-midi @/cut.mid -o @/o.olg", kFileError, "MIDIファイルが壊れています。"},
      {"import-midi @/song.mid -o @/song.mid", kFileError, "is the input file itself"},
      {"import-midi @/song.mid -o @/no/o.olg", kFileError, "does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto r = Cli(c.line);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "o.olg"));
}

TEST_F(ExchangeCommands, ExportToMidiAndWavAndBackAgain) {
  WriteBytes(dir / "t.olg", TuneFile(C("0 l 1 2 4 L 0 0 3 7"), 3, 61));
  const auto mid = Cli("export @/t.olg -o @/t.mid");
  ASSERT_EQ(mid.status, kDone) << mid.err;
  EXPECT_EQ(mid.out, "wrote " + (dir / "t.mid").string() + ": 6 columns played, 0:01\n");
  ASSERT_EQ(Cli("export @/t.olg -o @/t.WAV").status, kDone);
  const Bytes wav = ReadBytes(dir / "t.WAV");
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");

  WriteBytes(dir / "empty.olg", TuneFile({}));
  WriteBytes(dir / "prog.flc", Bytes{'F', 'L', 0, 0});
  const struct {
    const char* line;
    int status;
    const char* said;
  } cases[] = {
      {"export @/t.olg -o @/t.mp3", kUsage, "end it in .mid or .wav"},
      {"export @/empty.olg -o @/e.mid", kFileError, "曲に音符がないため"},
      {"export @/prog.flc -o @/p.mid", kFileError, "prog.flc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto r = Cli(c.line);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace pendra2::cli
