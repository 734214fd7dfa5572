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
#include "flowchart/view/flowchart_view.h"
#include "flowchart/view/print_pages.h"
#include "melody/view/score_pages.h"
#include "melody/view/score_view.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/print_pages_painter.h"
#include "ui_common/shift_jis.h"

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
  std::optional<int> scrollPos;  // tunes only
};

constexpr const char* kRenderUsage =
    "render FILE.flc -o OUT.png [--view 0|1|4] [--top N] | FILE.olg -o OUT.png [--scroll N]";
constexpr const char* kPdfUsage = "pdf FILE.flc|FILE.olg -o OUT.pdf";
constexpr int kLastScrollPos = 490;

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
    } else if (withView && arg == "--scroll") {
      const std::string value = hasValue ? args[++i] : "";
      parsed.scrollPos = ParseNumber(value, 0, kLastScrollPos);
      if (!parsed.scrollPos)
        return fail("--scroll takes a column from 0 to 490, not '" + value + "'");
    } else if (!arg.empty() && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else if (parsed.input.empty()) {
      parsed.input = arg;
    } else {
      return fail("more than one input file");
    }
  }
  if (parsed.input.empty()) return fail("a .flc or .olg file is needed");
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

// The input, read and sniffed, refusals told; also refuses an output that is the input.
std::optional<InputFile> Open(const ViewArgs& args, Streams io, int& status) {
  status = RefuseOutputIsInput(args.input, args.output, io);
  if (status != kDone) return std::nullopt;
  auto file = ReadInput(args.input, io);
  status = file ? kDone : kFileError;
  return file;
}

// What the view options say of a document kind they do not fit.
bool RefuseOptionsOfOtherKind(const ViewArgs& args, DocumentKind kind, Streams io) {
  const bool tune = kind == DocumentKind::Tune;
  const bool misfit = tune ? (args.topStep || args.viewMode != 1) : args.scrollPos.has_value();
  if (misfit) {
    io.err << "pendra2-cli: " << args.input
           << (tune ? ": --view and --top are for programs (.flc); a tune takes --scroll"
                    : ": --scroll is for tunes (.olg); a program takes --view and --top")
           << "\nusage: pendra2-cli " << kRenderUsage << "\n";
  }
  return misfit;
}

// The flowchart window's picture, or nothing after telling the user why.
std::optional<interaction::DrawList> ProgramPicture(const InputFile& file, const ViewArgs& args,
                                                    Streams io, int& status) {
  status = kFileError;
  const auto program = LoadFlow(file, io);
  if (!program) return std::nullopt;
  const int lastTop = std::min(program->count - 1, 490);
  if (args.topStep && *args.topStep > lastTop) {
    io.err << "pendra2-cli: --top " << *args.topStep << ": the program's steps are 0 to "
           << program->count - 1 << ", so the top step can be 0 to " << lastTop << "\n";
    status = kUsage;
    return std::nullopt;
  }
  flowchart::view::ViewState view;
  view.viewMode = args.viewMode;
  view.topStep = args.topStep.value_or(0);
  view.imageSize = program->imageSize;
  status = kDone;
  return flowchart::view::FlowchartWindowPicture(*program, view, DecodeStoredText);
}

// The score window's picture, with its two buttons, from the scroll position asked for.
std::optional<interaction::DrawList> TunePicture(const InputFile& file, const ViewArgs& args,
                                                 Streams io, int& status) {
  status = kFileError;
  const auto state = LoadTune(file, io);
  if (!state) return std::nullopt;
  state->scrollPos = args.scrollPos.value_or(0);
  status = kDone;
  return melody::view::ScoreWindowPicture(*state,
                                          melody::view::ScoreViewState{.withButtons = true});
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
  const auto parsed = ParseArgs(args, io, true, kRenderUsage, ".png");
  if (!parsed) return kUsage;
  int status = kDone;
  const auto file = Open(*parsed, io, status);
  if (!file) return status;
  if (RefuseOptionsOfOtherKind(*parsed, file->kind, io)) return kUsage;
  const bool tune = file->kind == DocumentKind::Tune;

  GuiScope gui;
  const auto picture =
      tune ? TunePicture(*file, *parsed, io, status) : ProgramPicture(*file, *parsed, io, status);
  if (!picture) return status;
  const QSize size = tune ? QSize(melody::kClientWidth, melody::kClientHeight)
                          : QSize(flowchart::kClientWidth, flowchart::kClientHeight);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  // A screen of 96 pixels per inch, so fonts get the window's pixel sizes.
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  QPainter painter(&image);
  ui::PaintDrawList(painter, *picture);
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
  const auto parsed = ParseArgs(args, io, false, kPdfUsage, ".pdf");
  if (!parsed) return kUsage;
  int status = kDone;
  const auto file = Open(*parsed, io, status);
  if (!file) return status;
  // Loaded before anything is printed, so a refused file leaves no output behind.
  std::unique_ptr<flowchart::FlowProgram> program;
  std::unique_ptr<melody::MelodyState> tune;
  if (file->kind == DocumentKind::Tune) {
    tune = LoadTune(*file, io);
  } else {
    program = LoadFlow(*file, io);
  }
  if (!program && !tune) return kFileError;
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
    if (tune) {
      // The printed score is the normalised one, as Chimecraft prints it.
      melody::Normalise(tune->score);
      ok = ui::PaintPages(printer,
                          melody::view::ScorePages(tune->score, ui::PrinterGeometry(printer)));
    } else {
      const std::string name = std::filesystem::path(parsed->input).filename().string();
      const std::string title = "アクティビティ図編集 [" + name + "]";
      ok = ui::PaintPages(printer,
                          flowchart::view::PrintPages(*program, title, ui::PrinterGeometry(printer),
                                                      ui::ShiftJisToUtf8));
    }
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
