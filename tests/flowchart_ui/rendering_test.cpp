// The real painter on real devices: an image of the flowchart window, PDF pages, and the
// render and pdf commands of pendra2-cli.

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart/view/flowchart_view.h"
#include "flowchart/view/print_pages.h"
#include "flowchart/view_test_support.h"
#include "ui_common/fonts.h"
#include "ui_common/print_pages_painter.h"
#include "ui_common/qt_test_support.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart::view {
namespace {

using namespace testing;
using namespace pendra2::testing;

// Start, an LED step, waits, a branch from step 5 back to step 1, End.
std::unique_ptr<FlowProgram> Sample(int total) {
  auto p = WaitProgram(total);
  p->steps[1] = Step(StepKind::Output, 0, 1);
  p->steps[5] = Step(StepKind::Branch, 1, 200, 1);
  return p;
}

TEST(Rendering, TextUsesAJapaneseFontOfTheDevicesSizeHangingBelowItsPosition) {
  EXPECT_EQ(ui::FontPixelHeight(12, 1200), 200);
  const QFont font = ui::MakeFont(kListingFont, 96);
  EXPECT_EQ(font.pixelSize(), 13);
  EXPECT_TRUE(ui::GothicFamilies().contains(QFontInfo(font).family()));
  for (char32_t c : {U'行', U'目', U'は', U'オ', U'入'})
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(c));

  interaction::DrawList list;
  list.Text({10, 20}, kListingFont, "行目へ");
  list.Bitmap("NO_SUCH_PICTURE", {100, 0, 200, 60});  // draws nothing
  const QImage image = Paint(list, {200, 60});
  EXPECT_EQ(Pixels(image, QRect(0, 0, 200, 20)), 0);
  EXPECT_GT(Pixels(image, QRect(10, 20, 60, 13)), 20);
  EXPECT_EQ(Pixels(image, QRect(0, 36, 200, 24)), 0);
  EXPECT_EQ(Pixels(image, QRect(100, 0, 100, 60)), 0);
}

TEST(Rendering, HairlinesLeaveTheirLastPointUnpainted) {
  // The arrow head of a branch from step 4 to step 8: two hairlines meeting at (78, 426).
  auto p = WaitProgram(12);
  p->steps[4] = Step(StepKind::Branch, 8, 100, 1);
  interaction::DrawList arrows;
  for (const auto& line : Items<interaction::LineItem>(FlowchartView(*p, ViewState{}, Ascii))) {
    arrows.items.emplace_back(line);
  }
  ASSERT_EQ(arrows.items.size(), 2u);
  const QImage image = Paint(arrows, {kClientWidth, kClientHeight});
  const auto black = [&](QPoint at) { return Pixels(image, QRect(at, QSize(1, 1))) == 1; };
  for (const QPoint end : {QPoint(83, 431), QPoint(83, 420)}) EXPECT_FALSE(black(end)) << end.y();
  for (const QPoint on : {QPoint(78, 426), QPoint(82, 430), QPoint(78, 425), QPoint(82, 421)})
    EXPECT_TRUE(black(on)) << on.x() << "," << on.y();
  EXPECT_EQ(Pixels(image, image.rect()), 10);
}

TEST(Rendering, PrintJobUsesThePrintableAreaWritesEveryPageAndReportsFailure) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("pages.pdf"));
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
  const PageGeometry g = ui::PrinterGeometry(printer);
  // Qt keeps margins in whole points, so allow a point either way.
  const double dot = printer.resolution() / 25.4, point = printer.resolution() / 72.0;
  EXPECT_NEAR(g.offX, 5 * dot, point);
  EXPECT_NEAR(g.offY, 5 * dot, point);
  EXPECT_NEAR(g.horzRes, 200 * dot, 2 * point);
  EXPECT_NEAR(g.vertRes, 287 * dot, 2 * point);

  const auto p = Sample(40);
  const auto print = [&](const std::string& title) {
    return ui::PaintPages(printer,
                          PrintPages(*p, title, ui::PrinterGeometry(printer), ui::ShiftJisToUtf8));
  };
  ASSERT_TRUE(print("アクティビティ図編集 [sample.flc]"));
  QFile pdf(dir.filePath("pages.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_TRUE(bytes.contains("/Count 2"));
  printer.setOutputFileName(dir.filePath("missing/folder/pages.pdf"));
  EXPECT_FALSE(print("x"));
}

TEST(Rendering, CliPaintsTheWindowAndThePagesOfAFileAndRefusesBadInput) {
  QTemporaryDir dir;
  const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
  const auto cli = [](std::vector<std::string> args, std::string* message = nullptr) {
    std::ostringstream out, err;
    const int status = cli::Run(args, {out, err});
    if (message) *message = err.str();
    return status;
  };
  const std::string flc = path("sample.flc"), png = path("view.png"), pdf = path("pages.pdf");
  ASSERT_TRUE(flowchart::SaveFlowFile(*Sample(40), flc).ok());
  ASSERT_EQ(cli({"render", flc, "-o", png}), cli::kDone);
  const QImage image(QString::fromStdString(png));
  ASSERT_EQ(image.size(), QSize(kClientWidth, kClientHeight));
  EXPECT_GT(Pixels(image, QRect(30, 40, 96, 480), Ink::Coloured), 2000) << "symbols";
  EXPECT_GT(Pixels(image, QRect(127, 100, 2, 200)), 300) << "branch lane";
  EXPECT_GT(Pixels(image, QRect(180, 70, 300, 14)), 40) << "listing line of step 0";
  EXPECT_GT(Pixels(image, QRect(510, 270, 70, 35)), 30) << "image size box";
  ASSERT_EQ(cli({"render", flc, "-o", png, "--view", "4", "--top", "35"}), cli::kDone);
  const QImage listing(QString::fromStdString(png));
  EXPECT_EQ(Pixels(listing, QRect(30, 40, 96, 480), Ink::Coloured), 0) << "symbols in listing mode";
  EXPECT_GT(Pixels(listing, QRect(180, 70, 300, 14)), 40) << "listing line of step 35";
  EXPECT_EQ(Pixels(listing, QRect(180, 70 + 5 * 48, 300, 14)), 0) << "past the last step";
  ASSERT_EQ(cli({"pdf", flc, "-o", pdf}), cli::kDone);
  EXPECT_GT(QFile(QString::fromStdString(pdf)).size(), 1000);

  std::ofstream(path("song.olg"), std::ios::binary) << std::string(576, '\0');
  const std::tuple<std::vector<std::string>, int, std::string> refusals[] = {
      {{"render", flc}, cli::kUsage, "-o"},
      {{"render", flc, "-o", png, "--view", "x1"}, cli::kUsage, "'x1'"},
      {{"pdf", path("song.olg"), "-o", pdf}, cli::kFileError, "not a Chimecraft tune file"},
  };
  for (const auto& [args, status, reason] : refusals) {
    std::string message;
    EXPECT_EQ(cli(args, &message), status) << args[1] << " " << args.back();
    EXPECT_NE(message.find(reason), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace pendra2::flowchart::view
