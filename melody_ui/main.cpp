#include <QApplication>
#include <QMdiSubWindow>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/transport_factory.h"
#include "melody_ui/chime_app.h"
#include "melody_ui/chime_replay.h"
#include "melody_ui/chime_texts.h"
#include "melody_ui/count_dialog.h"
#include "melody_ui/score_canvas.h"
#include "ui_common/bitmaps.h"
#include "ui_common/japanese_qt_texts.h"
#include "ui_common/music_box.h"
#include "ui_common/print_chooser.h"
#include "ui_common/program_starter.h"
#include "ui_common/qt_file_chooser.h"
#include "ui_common/qt_prompter.h"
#include "ui_common/replay/replay_argument.h"

namespace {

using namespace pendra2;

constexpr char kMuteOption[] = "--mute";

// `Chimecraft FILE.olg`: the first argument that is neither Qt's own (taken out by
// QApplication), the replay's nor --mute.
std::optional<std::string> StartFile() {
  QStringList args = QApplication::arguments();
  args.removeFirst();
  std::vector<std::string> words;
  for (const QString& arg : args) {
    if (arg != QLatin1String(kMuteOption)) words.push_back(arg.toStdString());
  }
  const auto argument = ui::replay::TakeReplayArgument(words);
  if (argument.remaining.empty()) return std::nullopt;
  return argument.remaining.front();
}

// `--replay FILE`: the same program, its input from the script, its answers on stdout.
int Replay(const ui::replay::ReplayArgument& argument, ui::BoardWorker& board,
           ui::ProgramStarter& starter, ui::MusicBox& sound) {
  const auto parsed = ui::replay::LoadReplayScript(*argument.scriptPath);
  if (!parsed.ok()) {
    std::cerr << "Chimecraft: " << *argument.scriptPath << ": " << parsed.error << '\n';
    return ui::replay::kReplayUnreadable;
  }
  ui::replay::ReplaySession session(std::cout, std::cerr);
  session.SetBoardBusy([&board] { return board.busy(); });
  melody_ui::QtCountDialogs counts;
  const auto state = std::make_unique<melody::MelodyState>();
  melody_ui::ChimeServices services{board,
                                    session.prompter(),
                                    session.fileChooser(),
                                    counts,
                                    starter,
                                    session.printChooser(),
                                    true,
                                    &sound};
  return melody_ui::RunChimecraft(
      *state, services, StartFile(), [&](melody_ui::ChimeWindow& window) {
        counts.SetOwner(window.scoreCanvas());
        session.WatchTitle(window.scoreWindow());
        melody_ui::ChimeReplayTarget target(window);
        const int status = session.RunInEventLoop(target, *parsed.script);
        window.EndWithoutQuestion();
        return status;
      });
}

}  // namespace

int main(int argc, char** argv) {
  const ui::replay::ReplayArgument argument = ui::replay::TakeReplayArgument(argc, argv);
  if (!argument.usageError.empty()) {
    std::cerr << "Chimecraft: " << argument.usageError << '\n';
    return ui::replay::kReplayUsage;
  }
  ui::replay::UseOffscreenPlatformForReplay(argument);
  QApplication app(argc, argv);
  const ui::JapaneseQtTexts japanese(app);
  QApplication::setApplicationName(QStringLiteral("Chimecraft"));
  QApplication::setApplicationVersion(QString::fromUtf8(melody_ui::kProgramVersion));
  QApplication::setWindowIcon(
      QIcon(QPixmap::fromImage(ui::LoadBitmap(QStringLiteral("CHIMECRAFT_ICON"), QSize(64, 64)))));

  const std::unique_ptr<device::Transport> transport = device::MakeTransport();
  ui::BoardWorker board(*transport);
  ui::DetachedStarter starter;
  // Tests and quiet classrooms set PENDRA2_MUTE, as for the virtual board and Stepcraft.
  const bool mute = QApplication::arguments().contains(QLatin1String(kMuteOption)) ||
                    !qEnvironmentVariableIsEmpty("PENDRA2_MUTE");
  ui::MusicBox sound(mute);
  if (argument.scriptPath) return Replay(argument, board, starter, sound);

  ui::QtPrompter prompter;
  ui::QtFileChooser files;
  ui::QtPrintChooser printer;
  melody_ui::QtCountDialogs counts;
  const auto state = std::make_unique<melody::MelodyState>();
  melody_ui::ChimeServices services{board,   prompter, files, counts,
                                    starter, printer,  false, &sound};
  return melody_ui::RunChimecraft(*state, services, StartFile(),
                                  [&](melody_ui::ChimeWindow& window) {
                                    prompter.SetOwner(&window);
                                    files.SetOwner(&window);
                                    counts.SetOwner(window.scoreCanvas());
                                    return QApplication::exec();
                                  });
}
