// render and pdf: the flowchart window's picture and the printed pages of a .flc file,
// drawn by the same painter as Stepcraft itself.

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "flowchart/flow_file.h"
#include "flowchart_ui/flowchart_view.h"
#include "flowchart_ui/print_job.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::cli {
namespace {

// Fonts and printing need a GUI application object; the tool never needs a screen.
class GuiScope {
 public:
  GuiScope() {
    if (QGuiApplication::instance() != nullptr) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[12] = "pendra2-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

struct ViewArgs {
  std::string input;
  std::string output;
  int viewMode = 1;
  int topStep = 0;
};

std::optional<int> ParseInt(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// FILE -o OUT, plus --view and --top when `withView`. Nullopt after telling the user.
std::optional<ViewArgs> ParseArgs(Args args, Streams io, bool withView, const char* usage) {
  ViewArgs parsed;
  auto fail = [&](const std::string& why) {
    io.err << "pendra2-cli: " << why << "\nusage: pendra2-cli " << usage << "\n";
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o") {
      if (!hasValue) return fail("-o needs a file name");
      parsed.output = args[++i];
    } else if (withView && arg == "--view") {
      if (!hasValue) return fail("--view needs 0, 1 or 4");
      const auto mode = ParseInt(args[++i]);
      if (!mode) return fail("--view needs 0, 1 or 4, not '" + args[i] + "'");
      parsed.viewMode = *mode;
    } else if (withView && arg == "--top") {
      if (!hasValue) return fail("--top needs a step number");
      const auto top = ParseInt(args[++i]);
      if (!top || *top < 0)
        return fail("--top needs a step number of 0 or more, not '" + args[i] + "'");
      parsed.topStep = *top;
    } else if (!arg.empty() && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else if (parsed.input.empty()) {
      parsed.input = arg;
    } else {
      return fail("more than one input file");
    }
  }
  if (parsed.input.empty()) return fail("a .flc file is needed");
  if (parsed.output.empty()) return fail("an output file is needed (-o OUT)");
  return parsed;
}

// The program table is large; it lives on the heap. Null after telling the user.
std::unique_ptr<flowchart::FlowProgram> Load(const std::string& path, Streams io) {
  auto program = std::make_unique<flowchart::FlowProgram>();
  const interaction::Outcome result = flowchart::LoadFlowFile(*program, path);
  if (!result.ok()) {
    io.err << "pendra2-cli: " << path << ": " << result.message().text << "\n";
    return nullptr;
  }
  return program;
}

// An existing file without the flowchart magic and with the tune extension.
bool IsTuneFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  if (!in.read(magic, 2) || (magic[0] == 'F' && magic[1] == 'L')) return false;
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".olg";
}

std::string Decode(std::string_view sjis) {
  return ui::ShiftJisToUtf8(sjis);
}

}  // namespace

int Render(Args args, Streams io) {
  if (ViewsTune(args)) return RenderTune(args, io);
  const auto parsed =
      ParseArgs(args, io, true, "render FILE.flc -o OUT.png [--view 0|1|4] [--top N]");
  if (!parsed) return kUsage;
  const auto program = Load(parsed->input, io);
  if (!program) return kFileError;

  GuiScope gui;
  flowchart_ui::ViewState view;
  view.viewMode = parsed->viewMode;
  view.topStep = parsed->topStep;
  view.imageSize = program->imageSize;
  const interaction::DrawList picture = flowchart_ui::FlowchartWindowPicture(*program, view, Decode);

  QImage image(flowchart_ui::kClientWidth, flowchart_ui::kClientHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  // A screen of 96 pixels per inch, so fonts get the window's pixel sizes.
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  QPainter painter(&image);
  ui::PaintDrawList(painter, picture);
  painter.end();
  if (!image.save(QString::fromStdString(parsed->output), "PNG")) {
    io.err << "pendra2-cli: cannot write " << parsed->output << "\n";
    return kFileError;
  }
  return kDone;
}

int Pdf(Args args, Streams io) {
  const auto parsed = ParseArgs(args, io, false, "pdf FILE -o OUT.pdf");
  if (!parsed) return kUsage;
  if (IsTuneFile(parsed->input)) return PdfTune(args, io);
  const auto program = Load(parsed->input, io);
  if (!program) return kFileError;

  GuiScope gui;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(parsed->output));
  // A4 with the few millimetres a printer cannot reach, as a real printer reports them.
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
  const std::string name = std::filesystem::path(parsed->input).filename().string();
  const std::string title = "アクティビティ図編集 [" + name + "]";
  if (!flowchart_ui::PrintFlowchart(printer, *program, title)) {
    io.err << "pendra2-cli: cannot write " << parsed->output << "\n";
    return kFileError;
  }
  return kDone;
}

}  // namespace pendra2::cli
