// render and pdf: the flowchart window's picture and the printed pages of a .flc file,
// drawn by the same painter as Stepcraft itself.

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/numbers.h"
#include "cli/qt_messages.h"
#include "cli/terminal_text.h"
#include "flowchart_ui/flowchart_view.h"
#include "flowchart_ui/print_job.h"
#include "ui_common/draw_list_painter.h"

namespace pendra2::cli {
namespace {

// Fonts and printing need a GUI application object; the tool never needs a screen.
class GuiScope {
 public:
  GuiScope() : previous_(qInstallMessageHandler(QuietQtMessages)) {
    if (QGuiApplication::instance() != nullptr) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  ~GuiScope() { qInstallMessageHandler(previous_); }
  GuiScope(const GuiScope&) = delete;
  GuiScope& operator=(const GuiScope&) = delete;

 private:
  QtMessageHandler previous_;
  int argc_ = 1;
  char name_[12] = "pendra2-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

struct ViewArgs {
  std::string input;
  std::string output;
  int viewMode = 1;
  std::optional<int> topStep;
};

bool HasExtension(const std::string& path, std::string_view ext) {
  std::string actual = std::filesystem::path(path).extension().string();
  for (char& c : actual) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return actual == ext;
}

// FILE -o OUT, plus --view and --top when `withView`. Nullopt after telling the user.
std::optional<ViewArgs> ParseArgs(Args args, Streams io, bool withView, const char* usage,
                                  std::string_view extension) {
  ViewArgs parsed;
  auto fail = [&](const std::string& why) {
    io.err << "pendra2-cli: " << why << "\nusage: pendra2-cli " << usage << "\n";
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "-o") {
      if (!hasValue || !parsed.output.empty()) return fail("-o needs one file name");
      parsed.output = args[++i];
    } else if (withView && arg == "--view") {
      const std::string value = hasValue ? args[++i] : "";
      const auto mode = ParseNumber(value, 0, 4);
      if (!mode || (*mode != 0 && *mode != 1 && *mode != 4)) {
        return fail("--view takes 0 (flowchart), 1 (flowchart and listing) or 4 (listing), not '" +
                    value + "'");
      }
      parsed.viewMode = *mode;
    } else if (withView && arg == "--top") {
      const std::string value = hasValue ? args[++i] : "";
      parsed.topStep = ParseNumber(value, 0, 490);
      if (!parsed.topStep)
        return fail("--top takes a step number from 0 to 490, not '" + value + "'");
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
  // An output that is the input is refused as such (a file error), before its name.
  // Devices and pipes (/dev/stdout) have no name to go by.
  std::error_code ec;
  const auto kind = std::filesystem::status(parsed.output, ec).type();
  const bool special = kind == std::filesystem::file_type::character ||
                       kind == std::filesystem::file_type::fifo ||
                       kind == std::filesystem::file_type::socket;
  if (!special && !OutputIsInput(parsed.input, parsed.output) &&
      !HasExtension(parsed.output, extension)) {
    return fail("the output is written as " + std::string(extension.substr(1)) +
                ": give a file name ending in " + std::string(extension));
  }
  return parsed;
}

// The program of the input, refusals told; also refuses an output that is the input.
std::unique_ptr<flowchart::FlowProgram> Open(const ViewArgs& args, Streams io, int& status) {
  status = RefuseOutputIsInput(args.input, args.output, io);
  if (status != kDone) return nullptr;
  status = kFileError;
  const auto file = ReadInput(args.input, io);
  if (!file) return nullptr;
  if (file->kind == DocumentKind::Tune) {
    io.err << "pendra2-cli: " << args.input
           << ": a Chimecraft tune; printing tunes is not available in this version: give a "
              ".flc program\n";
    return nullptr;
  }
  auto program = LoadFlow(*file, io);
  if (program) status = kDone;
  return program;
}

// The PDF Qt wrote, whole, or nothing: a PDF that Qt could not write to its end (a full
// disk, a file size limit) lacks its closing trailer, and Qt itself reports no failed write.
std::optional<std::string> WholePdf(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t tail = bytes.size() < 16 ? 0 : bytes.size() - 16;
  if (in.bad() || bytes.find("%%EOF", tail) == std::string::npos) return std::nullopt;
  return bytes;
}

}  // namespace

int Render(Args args, Streams io) {
  const auto parsed =
      ParseArgs(args, io, true, "render FILE.flc -o OUT.png [--view 0|1|4] [--top N]", ".png");
  if (!parsed) return kUsage;
  int status = kDone;
  const auto program = Open(*parsed, io, status);
  if (!program) return status;
  const int lastTop = std::min(program->count - 1, 490);
  if (parsed->topStep && *parsed->topStep > lastTop) {
    io.err << "pendra2-cli: --top " << *parsed->topStep << ": the program's steps are 0 to "
           << program->count - 1 << ", so the top step can be 0 to " << lastTop << "\n";
    return kUsage;
  }

  GuiScope gui;
  flowchart_ui::ViewState view;
  view.viewMode = parsed->viewMode;
  view.topStep = parsed->topStep.value_or(0);
  view.imageSize = program->imageSize;
  const ui::DrawList picture =
      flowchart_ui::FlowchartWindowPicture(*program, view, DecodeStoredText);

  QImage image(flowchart_ui::kClientWidth, flowchart_ui::kClientHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  // A screen of 96 pixels per inch, so fonts get the window's pixel sizes.
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  QPainter painter(&image);
  ui::PaintDrawList(painter, picture);
  painter.end();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    io.err << "pendra2-cli: the picture could not be made\n";
    return kFileError;
  }
  return WriteOutputFile(parsed->output, std::string_view(png.constData(), png.size()), io);
}

int Pdf(Args args, Streams io) {
  const auto parsed = ParseArgs(args, io, false, "pdf FILE.flc -o OUT.pdf", ".pdf");
  if (!parsed) return kUsage;
  int status = kDone;
  const auto program = Open(*parsed, io, status);
  if (!program) return status;
  // Printed into a folder of our own first, so that the output (a file, or a device such as
  // /dev/stdout) gets the whole document through our own checked write, or nothing.
  QTemporaryDir scratch;
  if (!scratch.isValid()) {
    io.err << "pendra2-cli: no temporary folder to print into\n";
    return kFileError;
  }
  const QString printed = scratch.filePath("pages.pdf");
  GuiScope gui;
  bool ok = false;
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    // A4 with the few millimetres a printer cannot reach, as a real printer reports them.
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    const std::string name = std::filesystem::path(parsed->input).filename().string();
    const std::string title = "アクティビティ図編集 [" + name + "]";
    ok = flowchart_ui::PrintFlowchart(printer, *program, title);
  }  // the printer closes its file here
  const auto pdf = ok ? WholePdf(printed) : std::nullopt;
  if (!pdf) {
    io.err << "pendra2-cli: " << parsed->output
           << ": the pages could not be printed whole (disk full, or a file size limit?); "
              "any file there before is unchanged\n";
    return kFileError;
  }
  return WriteOutputFile(parsed->output, *pdf, io);
}

}  // namespace pendra2::cli
