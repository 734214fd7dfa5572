// render and pdf for .olg files: the score window's picture and the printed score pages,
// drawn by the same painter as Chimecraft itself.

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "melody/melody_state.h"
#include "melody/tune_file.h"
#include "melody_ui/score_print_job.h"
#include "melody_ui/score_view.h"
#include "ui_common/draw_list_painter.h"

namespace pendra2::cli {
namespace {

namespace ml = pendra2::melody;

constexpr int kLastScrollPos = 490;

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

struct TuneViewArgs {
  std::string input;
  std::string output;
  int scrollPos = 0;
};

// FILE -o OUT, plus --scroll when `withScroll`. Nullopt after telling the user.
std::optional<TuneViewArgs> ParseArgs(Args args, Streams io, bool withScroll, const char* usage) {
  TuneViewArgs parsed;
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
    } else if (withScroll && arg == "--scroll") {
      if (!hasValue) return fail("--scroll needs a column from 0 to 490");
      const std::string& text = args[++i];
      int value = -1;
      const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (ec != std::errc() || ptr != text.data() + text.size() || value < 0 ||
          value > kLastScrollPos) {
        return fail("--scroll needs a column from 0 to 490, not '" + text + "'");
      }
      parsed.scrollPos = value;
    } else if (!arg.empty() && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else if (parsed.input.empty()) {
      parsed.input = arg;
    } else {
      return fail("more than one input file");
    }
  }
  if (parsed.input.empty()) return fail("a .olg file is needed");
  if (parsed.output.empty()) return fail("an output file is needed (-o OUT)");
  return parsed;
}

// The tune as Chimecraft opens it; nullptr (message written) when the file cannot be read
// or is no tune file.
std::unique_ptr<ml::MelodyState> Load(const std::string& path, Streams io) {
  auto state = std::make_unique<ml::MelodyState>();
  ml::ResetScore(state->score);
  const ml::LoadResult result = ml::LoadTune(state->score, state->header, path);
  if (!result.ok) {
    io.err << "pendra2-cli: " << path << ": cannot be read (" << result.message.text << ")\n";
    return nullptr;
  }
  if (result.findings.bytesRead < ml::kTuneHeaderSize || result.findings.badMagic) {
    io.err << "pendra2-cli: " << path << ": not a Chimecraft tune file\n";
    return nullptr;
  }
  if (result.findings.shortFile) {
    io.err << "pendra2-cli: " << path << ": warning: the file ends after "
           << result.findings.bytesRead << " of " << ml::kTuneFileSize
           << " bytes; the missing columns are empty\n";
  }
  return state;
}

// The first argument that is neither an option nor an option's value.
std::optional<std::string> InputOf(Args args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o" || arg == "--view" || arg == "--top" || arg == "--scroll") {
      ++i;
    } else if (arg.empty() || arg[0] != '-') {
      return arg;
    }
  }
  return std::nullopt;
}

}  // namespace

bool ViewsTune(Args args) {
  const std::optional<std::string> input = InputOf(args);
  if (!input) return false;
  std::ifstream in(*input, std::ios::binary);
  std::array<char, 2> magic{};
  if (in.read(magic.data(), magic.size())) return magic[0] == 'O' && magic[1] == 'L';
  std::string ext = std::filesystem::path(*input).extension().string();
  return ext == ".olg" || ext == ".OLG";
}

int RenderTune(Args args, Streams io) {
  const auto parsed = ParseArgs(args, io, true, "render FILE.olg -o OUT.png [--scroll N]");
  if (!parsed) return kUsage;
  const auto state = Load(parsed->input, io);
  if (!state) return kFileError;
  state->scrollPos = parsed->scrollPos;

  GuiScope gui;
  const interaction::DrawList picture =
      melody_ui::ScoreWindowPicture(*state, melody_ui::ScoreViewState{.withButtons = true});
  QImage image(melody_ui::kClientWidth, melody_ui::kClientHeight, QImage::Format_RGB32);
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

int PdfTune(Args args, Streams io) {
  const auto parsed = ParseArgs(args, io, false, "pdf FILE.olg -o OUT.pdf");
  if (!parsed) return kUsage;
  const auto state = Load(parsed->input, io);
  if (!state) return kFileError;

  GuiScope gui;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(parsed->output));
  // A4 with the few millimetres a printer cannot reach, as a real printer reports them.
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
  if (!melody_ui::PrintScore(printer, state->score)) {
    io.err << "pendra2-cli: cannot write " << parsed->output << "\n";
    return kFileError;
  }
  return kDone;
}

}  // namespace pendra2::cli
