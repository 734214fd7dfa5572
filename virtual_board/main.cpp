// pendra2-virtual-board: a Pendra2 board that lives on this machine.

#include <QApplication>
#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ui_common/japanese_qt_texts.h"
#include "ui_common/music_box.h"
#include "virtual_board/board_runner.h"
#include "virtual_board/board_server.h"
#include "virtual_board/board_window.h"
#include "virtual_board/quit_on_signal.h"

int main(int argc, char** argv) {
  using namespace pendra2::virtual_board;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseBoardOptions(args);
  if (!parsed.options) {
    std::cerr << "pendra2-virtual-board: " << parsed.error << "\n" << kBoardUsage;
    return 1;
  }
  const BoardOptions& options = *parsed.options;
  if (options.help) {
    std::cout << kBoardUsage;
    return 0;
  }

  // Headless needs no display at all; only the window brings in the GUI.
  std::unique_ptr<QCoreApplication> app;
  if (options.window) {
    app = std::make_unique<QApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }

  QuitOnSignal(*app);
  const pendra2::ui::JapaneseQtTexts japanese(*app);

  if (options.window && options.count > 1) {
    std::cerr << "pendra2-virtual-board: --window shows one board; serve several without it\n";
    return 1;
  }
  // Every board listens before any says it serves, so whoever waits for the first line
  // finds them all.
  std::vector<std::unique_ptr<BoardServer>> servers;
  std::string error;
  for (const BoardOptions& one : EachBoard(options)) {
    auto server = std::make_unique<BoardServer>(one);
    if (!server->Listen(error)) {
      std::cerr << "pendra2-virtual-board: " << error << "\n";
      return 2;
    }
    servers.push_back(std::move(server));
  }
  // Tests and quiet classrooms set PENDRA2_MUTE instead of passing --mute everywhere.
  const bool mute = options.mute || !qEnvironmentVariableIsEmpty("PENDRA2_MUTE");
  pendra2::ui::MusicBox sound(mute);
  QObject::connect(&sound, &pendra2::ui::MusicBox::unavailable, [](const QString& why) {
    std::cerr << "pendra2-virtual-board: " << why.toStdString() << std::endl;
  });
  // One loudspeaker for the whole classroom: each board strikes its notes on it.
  std::vector<std::unique_ptr<BoardRunner>> runners;
  const std::vector<BoardOptions> each = EachBoard(options);
  for (std::size_t i = 0; i < servers.size(); ++i) {
    auto runner = std::make_unique<BoardRunner>(servers[i]->model(), sound);
    const std::string& trace = each[i].tracePath;
    if (!trace.empty() && !runner->OpenTrace(trace, error)) {
      std::cerr << "pendra2-virtual-board: " << error << "\n";
      return 2;
    }
    QObject::connect(servers[i].get(), &BoardServer::requested, runner.get(), &BoardRunner::Handle);
    runners.push_back(std::move(runner));
  }

  std::unique_ptr<BoardWindow> window;
  if (options.window) {
    window = std::make_unique<BoardWindow>(*servers.front(), *runners.front(), sound, options.name);
    window->show();
  }
  for (const BoardOptions& one : each) {
    std::cout << "serving virtual board '" << one.name << "'" << std::endl;
  }
  return app->exec();
}
