#include <QApplication>
#include <memory>

#include "device/board.h"
#include "device/transport_factory.h"
#include "launcher/launcher_texts.h"
#include "launcher/launcher_window.h"
#include "ui_common/hid_failure.h"
#include "ui_common/program_starter.h"
#include "ui_common/prompter.h"

int main(int argc, char** argv) {
  using namespace pendra2;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pendra2"));
  QApplication::setApplicationVersion(QString::fromUtf8(launcher::kProgramVersion));

  const std::unique_ptr<device::Transport> transport = device::MakeTransport();
  device::Board board(*transport);
  ui::QtPrompter prompter;
  // The board is looked for once before any window exists; when the interface list itself
  // cannot be had there is no owner for the message yet.
  if (board.FindBoard() == device::kInterfaceListUnavailable) return ui::ReportHidFailure(prompter);

  ui::DetachedStarter starter;
  launcher::LauncherWindow window(board, prompter, starter);
  prompter.SetOwner(&window);
  window.show();
  const int status = app.exec();
  return window.endStatus().value_or(status);
}
