// The example gallery: every example the index names loads as its editor loads it, fits the
// board, paints and prints; the dialog hands back the example the user picked.

#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "flowchart/flow_file.h"
#include "flowchart/recompute.h"
#include "flowchart/view/flowchart_view.h"
#include "flowchart/view/print_pages.h"
#include "melody/melody_state.h"
#include "melody/tune_file.h"
#include "melody/tune_image.h"
#include "melody/view/score_pages.h"
#include "melody/view/score_view.h"
#include "ui_common/example_gallery.h"
#include "ui_common/print_pages_painter.h"
#include "ui_common/qt_test_support.h"
#include "ui_common/shift_jis.h"

namespace pendra2::ui {
namespace {

using pendra2::testing::Ink;
using pendra2::testing::Paint;
using pendra2::testing::Pixels;

int Painted(const QImage& image) {
  return Pixels(image, image.rect(), Ink::Any);
}

bool PrintsPdf(const QString& file, const std::function<bool(QPrinter&)>& print) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  if (!print(printer)) return false;
  QFile pdf(file);
  return pdf.open(QIODevice::ReadOnly) && pdf.read(4) == "%PDF";
}

TEST(ExampleGallery, EveryExampleLoadsFitsTheBoardPaintsAndPrints) {
  const QString folder = ExampleFolder();
  ASSERT_FALSE(folder.isEmpty());
  EXPECT_GE(ReadExampleIndex(folder, QStringLiteral(".flc")).size(), 6u);
  EXPECT_GE(ReadExampleIndex(folder, QStringLiteral(".olg")).size(), 6u);
  QTemporaryDir dir;
  for (const Example& example : ReadExampleIndex(folder)) {
    SCOPED_TRACE(example.file.toStdString());
    EXPECT_FALSE(example.japanese.isEmpty() || example.english.isEmpty());
    const std::string path = QDir(folder).filePath(example.file).toStdString();
    const QString pdf = dir.filePath(example.file + QStringLiteral(".pdf"));
    if (example.file.endsWith(QStringLiteral(".flc"))) {
      auto program = std::make_unique<flowchart::FlowProgram>();
      ASSERT_TRUE(flowchart::LoadFlowFile(*program, path).ok());
      EXPECT_TRUE(flowchart::Recompute(*program));
      EXPECT_GT(program->imageSize, 0);
      EXPECT_LE(program->imageSize, 511);
      flowchart::view::ViewState view;
      view.imageSize = program->imageSize;
      EXPECT_GT(
          Painted(Paint(flowchart::view::FlowchartWindowPicture(*program, view, ShiftJisToUtf8),
                        {flowchart::kClientWidth, flowchart::kClientHeight})),
          1000);
      EXPECT_TRUE(PrintsPdf(pdf, [&](QPrinter& printer) {
        return PaintPages(printer,
                          flowchart::view::PrintPages(*program, example.file.toStdString(),
                                                      PrinterGeometry(printer), ShiftJisToUtf8));
      }));
    } else {
      melody::MelodyState state;
      ASSERT_TRUE(melody::LoadTune(state.score, state.header, path).ok);
      melody::Normalise(state.score);
      EXPECT_TRUE(melody::FitsTuneImage(state.score));
      EXPECT_GT(Painted(Paint(melody::view::ScoreWindowPicture(state),
                              {melody::kClientWidth, melody::kClientHeight})),
                1000);
      EXPECT_TRUE(PrintsPdf(pdf, [&](QPrinter& printer) {
        return PaintPages(printer, melody::view::ScorePages(state.score, PrinterGeometry(printer)));
      }));
    }
  }
}

TEST(ExampleGallery, TheIndexSkipsBadLinesAndTheDialogHandsBackThePickedExample) {
  QTemporaryDir dir;
  QFile index(dir.filePath(QStringLiteral("examples.tsv")));
  ASSERT_TRUE(index.open(QIODevice::WriteOnly));
  index.write("# comment\n\nok.olg\tう\tU\nshort.olg\tonly\n../up.olg\tえ\tE\nx.flc\tお\tO\n");
  index.close();
  const std::vector<Example> tunes = ReadExampleIndex(dir.path(), QStringLiteral(".olg"));
  ASSERT_EQ(tunes.size(), 1u);
  EXPECT_EQ(tunes[0].file, QStringLiteral("ok.olg"));
  EXPECT_TRUE(ReadExampleIndex(dir.filePath(QStringLiteral("missing"))).empty());

  ExampleDialog dialog(ReadExampleIndex(dir.path()), nullptr);
  auto* list = dialog.findChild<QListWidget*>(QString::number(kExampleListId));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(dialog.chosen()->file, QStringLiteral("ok.olg"));
  list->setCurrentRow(1);
  EXPECT_EQ(dialog.chosen()->file, QStringLiteral("x.flc"));
  EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("お")));
}

}  // namespace
}  // namespace pendra2::ui
