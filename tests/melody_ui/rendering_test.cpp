// The real painter on real devices: the score window through pendra2-cli's render, and the
// printed pages through pdf.

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/cli_run.h"
#include "melody/helpers.h"
#include "melody/view/score_view.h"

namespace pendra2::melody::view {
namespace {

using cli::testing::RunCli;
using pendra2::melody::testing::TuneFile;
using pendra2::melody::testing::WriteBytes;

bool Pink(QColor c) {
  return c.red() > 200 && c.green() < 120 && c.blue() > 80;
}
bool LoopBlue(QColor c) {
  return c.blue() > c.red() + 15 && c.blue() > 200;
}
bool Paper(QColor c) {
  return c.red() > 230 && c.green() > 225 && c.blue() > 200 && c.blue() < c.red();
}
int DarkPixels(const QImage& image, QRect area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += qGray(image.pixel(x, y)) < 100;
  }
  return n;
}

TEST(ScoreRendering, RenderPaintsTheWindowPictureAtItsClientSize) {
  QTemporaryDir dir;
  const std::string at = dir.path().toStdString();
  WriteBytes(at + "/loop.olg", TuneFile(pendra2::melody::testing::kLoopTune));
  ASSERT_EQ(RunCli("render @/loop.olg -o @/score.png", at).status, cli::kDone);
  const QImage image(dir.filePath("score.png"));
  ASSERT_EQ(image.size(), QSize(kClientWidth, kClientHeight));
  EXPECT_TRUE(Pink(image.pixelColor(93, 423)));               // C1 in the first column
  EXPECT_TRUE(Pink(image.pixelColor(168, 387)));              // D1 in the loop's body
  EXPECT_TRUE(LoopBlue(image.pixelColor(117, 200)));          // the loop-start band
  EXPECT_TRUE(Paper(image.pixelColor(342, 99)));              // an empty cell
  EXPECT_GT(DarkPixels(image, QRect(620, 260, 80, 50)), 30);  // the mode label
  EXPECT_GT(DarkPixels(image, QRect(180, 432, 25, 16)), 5);   // "5" under column 5

  // Scrolled onto the count cell: a parameter column and no note head there.
  ASSERT_EQ(RunCli("render @/loop.olg -o @/score.png --scroll 2", at).status, cli::kDone);
  const QImage scrolled(dir.filePath("score.png"));
  EXPECT_TRUE(LoopBlue(scrolled.pixelColor(92, 200)));
  EXPECT_FALSE(Pink(scrolled.pixelColor(93, 387)));
  EXPECT_EQ(RunCli("render @/loop.olg -o @/score.png --scroll 491", at).status, cli::kUsage);
  EXPECT_EQ(RunCli("render @/none.olg -o @/score.png", at).status, cli::kFileError);

  // 42 columns with the end mark: two printed pages.
  WriteBytes(at + "/long.olg", TuneFile(std::vector<int>(41, 7)));
  ASSERT_EQ(RunCli("pdf @/long.olg -o @/score.pdf", at).status, cli::kDone);
  QFile file(dir.filePath("score.pdf"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_TRUE(bytes.contains("/Count 2"));
}

}  // namespace
}  // namespace pendra2::melody::view
