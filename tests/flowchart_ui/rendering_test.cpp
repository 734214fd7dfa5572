// The real painter on real devices: an image of the flowchart window, PDF pages, and the
// render and pdf commands of pendra2-cli.

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "flowchart_ui/flowchart_view.h"
#include "flowchart_ui/print_job.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/fonts.h"
#include "ui_common/shift_jis.h"
#include "view_test_support.h"

namespace pendra2::flowchart_ui {
namespace {

using namespace testing;

std::unique_ptr<FlowProgram> Sample(int extraWaits = 0) {
  auto loop = Step(StepKind::LoopStart);
  loop.loopCount = 3;
  std::vector<StepRecord> body = {
      Step(StepKind::Output, 0, 1, 0, 0),   loop,
      Step(StepKind::Wait, 0, 3),           Step(StepKind::LoopEnd),
      Step(StepKind::Branch, 1, 200, 1, 0), Step(StepKind::Variable, 0, 4, 1, 1)};
  for (int i = 0; i < extraWaits; ++i) body.push_back(Step(StepKind::Wait, 0, 2));
  auto p = Program(body);
  flowchart::Recompute(*p);
  return p;
}

QImage WindowImage(const FlowProgram& p, int hover = -1) {
  QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  ViewState view;
  view.hoverRow = hover;
  view.imageSize = p.imageSize;
  QPainter painter(&image);
  ui::PaintDrawList(painter, FlowchartWindowPicture(p, view, ui::ShiftJisToUtf8));
  painter.end();
  return image;
}

int DarkPixels(const QImage& image, QRect area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 100;
  }
  return dark;
}

TEST(Rendering, FlowchartWindowBecomesAPictureWithSymbolsLanesAndListing) {
  const auto p = Sample();
  QTemporaryDir dir;
  const QString path = dir.filePath("view.png");
  ASSERT_TRUE(WindowImage(*p).save(path));
  const QImage image(path);
  ASSERT_EQ(image.size(), QSize(kClientWidth, kClientHeight));

  int coloured = 0;
  for (int y = 40; y < 520; ++y) {
    for (int x = 30; x < 126; ++x) {
      const QColor c = image.pixelColor(x, y);
      coloured += c.saturation() > 60;
    }
  }
  EXPECT_GT(coloured, 2000) << "symbols are missing";
  EXPECT_GT(DarkPixels(image, QRect(127, 100, 2, 200)), 300) << "branch lane";
  EXPECT_GT(DarkPixels(image, QRect(180, 70, 300, 14)), 40) << "listing line of step 0";
  EXPECT_GT(DarkPixels(image, QRect(510, 270, 70, 35)), 30) << "image size box";
  EXPECT_EQ(DarkPixels(image, QRect(180, 70 + 8 * 48, 300, 14)), 0) << "past the last step";
}

TEST(Rendering, HoverRowChangesThePicture) {
  const auto p = Sample();
  const QImage plain = WindowImage(*p);
  const QImage lit = WindowImage(*p, 2);
  EXPECT_EQ(plain.copy(0, 40, 200, 96), lit.copy(0, 40, 200, 96));
  EXPECT_NE(plain.copy(30, 40 + 96, 96, 48), lit.copy(30, 40 + 96, 96, 48));
}

TEST(Rendering, JapaneseTextUsesAJapaneseCapableFontOfTheDevicesSize) {
  EXPECT_EQ(ui::FontPixelHeight(8, 96), 11);
  EXPECT_EQ(ui::FontPixelHeight(10, 96), 13);
  EXPECT_EQ(ui::FontPixelHeight(12, 1200), 200);
  const QFont font = ui::MakeFont(kListingFont, 96);
  EXPECT_EQ(font.pixelSize(), 13);
  const QStringList japanese = ui::GothicFamilies();
  EXPECT_TRUE(japanese.contains(QFontInfo(font).family()))
      << QFontInfo(font).family().toStdString();
  const QFontMetrics metrics(font);
  for (char32_t c : {U'行', U'目', U'は', U'オ', U'入'}) EXPECT_TRUE(metrics.inFontUcs4(c));
}

TEST(Rendering, TextHangsBelowItsPosition) {
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterY(3780);
  ui::DrawList list;
  list.Text({10, 20}, kListingFont, "行目へ");
  QPainter painter(&image);
  ui::PaintDrawList(painter, list);
  painter.end();
  EXPECT_EQ(DarkPixels(image, QRect(0, 0, 200, 20)), 0);
  EXPECT_GT(DarkPixels(image, QRect(10, 20, 60, 13)), 20);
  EXPECT_EQ(DarkPixels(image, QRect(0, 36, 200, 24)), 0);
}

TEST(Rendering, MissingArtworkDrawsNothing) {
  QImage image(50, 50, QImage::Format_RGB32);
  image.fill(Qt::white);
  ui::DrawList list;
  list.Bitmap("NO_SUCH_PICTURE", {0, 0, 50, 50});
  QPainter painter(&image);
  ui::PaintDrawList(painter, list);
  painter.end();
  EXPECT_EQ(DarkPixels(image, image.rect()), 0);
}

TEST(Rendering, PrintJobWritesEveryPageAndReportsAPrinterItCannotOpen) {
  const auto p = Sample(32);  // 40 steps
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("pages.pdf"));
  ASSERT_TRUE(PrintFlowchart(printer, *p, "アクティビティ図編集 [sample.flc]"));
  QFile pdf(dir.filePath("pages.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_TRUE(bytes.contains("/Count 2"));

  QPrinter nowhere(QPrinter::HighResolution);
  nowhere.setOutputFormat(QPrinter::PdfFormat);
  nowhere.setOutputFileName(dir.filePath("missing/folder/pages.pdf"));
  EXPECT_FALSE(PrintFlowchart(nowhere, *p, "x"));
}

TEST(Rendering, PrinterGeometryComesFromThePrintableArea) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
  const PageGeometry g = PrinterGeometry(printer);
  // Qt keeps margins in whole points, so allow a point either way.
  const double dot = printer.resolution() / 25.4;
  const double point = printer.resolution() / 72.0;
  EXPECT_NEAR(g.offX, 5 * dot, point);
  EXPECT_NEAR(g.offY, 5 * dot, point);
  EXPECT_NEAR(g.horzRes, 200 * dot, 2 * point);
  EXPECT_NEAR(g.vertRes, 287 * dot, 2 * point);
}

struct CliResult {
  int status;
  std::string err;
};

CliResult Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = cli::Run(args, {out, err});
  return {status, err.str()};
}

TEST(Rendering, CliRenderAndPdfPaintFilesAndRefuseBadInput) {
  QTemporaryDir dir;
  const std::string flc = dir.filePath("sample.flc").toStdString();
  auto p = Sample(32);
  ASSERT_TRUE(flowchart::SaveFlowFile(*p, flc).ok);

  const std::string png = dir.filePath("top.png").toStdString();
  ASSERT_EQ(Cli({"render", flc, "-o", png, "--view", "4", "--top", "3"}).status, cli::kDone);
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(kClientWidth, kClientHeight));

  const std::string pdf = dir.filePath("pages.pdf").toStdString();
  ASSERT_EQ(Cli({"pdf", flc, "-o", pdf}).status, cli::kDone);
  QFile file(QString::fromStdString(pdf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("/Count 2"));

  EXPECT_EQ(Cli({"render", flc}).status, cli::kUsage);
  EXPECT_EQ(Cli({"render", flc, "-o", png, "--top", "-1"}).status, cli::kUsage);
  EXPECT_EQ(Cli({"render", flc, "-o", png, "--view", "x1"}).status, cli::kUsage);
  EXPECT_EQ(Cli({"render", flc, "-o", png, "--zoom"}).status, cli::kUsage);
  EXPECT_EQ(Cli({"pdf", "-o", pdf}).status, cli::kUsage);
  const auto missing = Cli({"render", dir.filePath("none.flc").toStdString(), "-o", png});
  EXPECT_EQ(missing.status, cli::kFileError);
  EXPECT_NE(missing.err.find("Load File Open Error"), std::string::npos);
  EXPECT_EQ(Cli({"render", flc, "-o", dir.filePath("no/dir/x.png").toStdString()}).status,
            cli::kFileError);
  EXPECT_EQ(Cli({"pdf", flc, "-o", dir.filePath("no/dir/x.pdf").toStdString()}).status,
            cli::kFileError);
  QFile tune(dir.filePath("song.olg"));
  ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
  tune.write(QByteArray(576, '\0'));
  tune.close();
  const auto song = Cli({"pdf", tune.fileName().toStdString(), "-o", pdf});
  EXPECT_EQ(song.status, cli::kFileError);
  EXPECT_NE(song.err.find("tunes"), std::string::npos);
}

}  // namespace
}  // namespace pendra2::flowchart_ui
