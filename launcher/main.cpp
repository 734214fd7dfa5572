#include <QApplication>
#include <memory>

#include "device/transport_factory.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_texts.h"
#include "ui_common/japanese_qt_texts.h"
#include "ui_common/program_starter.h"
#include "ui_common/qt_prompter.h"

int main(int argc, char** argv) {
  using namespace pendra2;
  QApplication app(argc, argv);
  const ui::JapaneseQtTexts japanese(app);
  QApplication::setApplicationName(QStringLiteral("Pendra2"));
  QApplication::setApplicationVersion(QString::fromUtf8(launcher::kProgramVersion));

  const std::unique_ptr<device::Transport> transport = device::MakeTransport();
  ui::BoardWorker board(*transport);
  ui::QtPrompter prompter;
  ui::DetachedStarter starter;
  return launcher::RunLauncher(board, prompter, starter, [&](launcher::LauncherWindow& window) {
    prompter.SetOwner(&window);
  });
}
