#include <QApplication>
#include <iostream>
#include <memory>

#include "device/transport_factory.h"
#include "flowchart_ui/stepcraft_app.h"
#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/japanese_qt_texts.h"
#include "ui_common/program_starter.h"

int main(int argc, char** argv) {
  using namespace pendra2;
  const ui::replay::ReplayArgument command = ui::replay::TakeReplayArgument(argc, argv);
  ui::replay::UseOffscreenPlatformForReplay(command);
  QApplication app(argc, argv);
  const ui::JapaneseQtTexts japanese(app);
  QApplication::setApplicationName(QStringLiteral("Stepcraft"));
  QApplication::setApplicationVersion(QString::fromUtf8(flowchart_ui::kStepcraftVersion));
  QApplication::setQuitOnLastWindowClosed(false);

  const std::unique_ptr<device::Transport> transport = device::MakeTransport();
  ui::BoardWorker board(*transport);
  ui::DetachedStarter starter;
  return flowchart_ui::RunStepcraft(command, board, starter, std::cout, std::cerr);
}
