// The real painter on real devices: the score window through pendra2-cli's render, a
// highlighted key painted directly, and the printed pages through pdf.

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/tune_files.h"
#include "melody_ui/score_view.h"
#include "ui_common/draw_list_painter.h"

namespace pendra2::melody_ui {
namespace {

int RunCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  return cli::Run(args, {out, err});
}

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
  const std::string tune = dir.filePath("loop.olg").toStdString();
  cli::testing::Write(tune, cli::testing::TuneFile(cli::testing::kLoopTune));
  const std::string png = dir.filePath("score.png").toStdString();
  ASSERT_EQ(RunCli({"render", tune, "-o", png}), cli::kDone);
  const QImage image(QString::fromStdString(png));
  ASSERT_EQ(image.size(), QSize(kClientWidth, kClientHeight));
  EXPECT_TRUE(Pink(image.pixelColor(93, 423)));               // C1 in the first column
  EXPECT_TRUE(Pink(image.pixelColor(168, 387)));              // D1 in the loop's body
  EXPECT_TRUE(LoopBlue(image.pixelColor(117, 200)));          // the loop-start band
  EXPECT_TRUE(Paper(image.pixelColor(342, 99)));              // an empty cell
  EXPECT_GT(DarkPixels(image, QRect(620, 260, 80, 50)), 30);  // the mode label
  EXPECT_GT(DarkPixels(image, QRect(180, 432, 25, 16)), 5);   // "5" under column 5

  // Scrolled onto the count cell: a parameter column and no note head there.
  ASSERT_EQ(RunCli({"render", tune, "-o", png, "--scroll", "2"}), cli::kDone);
  const QImage scrolled(QString::fromStdString(png));
  EXPECT_TRUE(LoopBlue(scrolled.pixelColor(92, 200)));
  EXPECT_FALSE(Pink(scrolled.pixelColor(93, 387)));

  EXPECT_EQ(RunCli({"render", tune, "-o", png, "--scroll", "491"}), cli::kUsage);
  EXPECT_EQ(RunCli({"render", dir.filePath("none.olg").toStdString(), "-o", png}), cli::kFileError);
}

TEST(ScoreRendering, TheHoveredKeyLightsUp) {
  melody::MelodyState state;
  QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  const auto paint = [&] {
    QPainter painter(&image);
    ui::PaintDrawList(painter, ScoreWindowPicture(state));
  };
  paint();
  const QColor plain = image.pixelColor(65, 412);
  state.hoverKey = 23;  // C1
  paint();
  const QColor lit = image.pixelColor(65, 412);
  EXPECT_GT(plain.blue(), 200);
  EXPECT_LT(lit.blue(), 160);
  EXPECT_GT(lit.red(), 200);
}

TEST(ScoreRendering, PdfPrintsTwoPagesForAScoreOf42Columns) {
  QTemporaryDir dir;
  const std::string tune = dir.filePath("long.olg").toStdString();
  cli::testing::Write(tune, cli::testing::TuneFile(std::vector<int>(41, 7)));
  const std::string pdf = dir.filePath("score.pdf").toStdString();
  ASSERT_EQ(RunCli({"pdf", tune, "-o", pdf}), cli::kDone);
  QFile file(QString::fromStdString(pdf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_TRUE(bytes.contains("/Count 2"));
}

}  // namespace
}  // namespace pendra2::melody_ui
