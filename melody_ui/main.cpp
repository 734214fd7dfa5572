#include <QApplication>
#include <QFileDialog>
#include <memory>
#include <optional>
#include <string>

#include "device/board.h"
#include "device/transport_factory.h"
#include "melody_ui/chime_app.h"
#include "melody_ui/chime_texts.h"
#include "melody_ui/count_dialog.h"
#include "melody_ui/score_canvas.h"
#include "ui_common/program_starter.h"
#include "ui_common/prompter.h"

namespace {

// The common file dialogs, owned by the main window.
class FileDialogChooser final : public pendra2::interaction::FileChooser {
 public:
  QWidget* owner = nullptr;
  std::optional<std::string> Choose(const pendra2::interaction::FileRequest& request) override {
    const QString title = QString::fromStdString(request.title);
    const QString filter = QString::fromStdString(request.filterName);
    const QString path = request.kind == pendra2::interaction::FileDialogKind::Save
                             ? QFileDialog::getSaveFileName(owner, title, QString(), filter)
                             : QFileDialog::getOpenFileName(owner, title, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
  }
};

}  // namespace

int main(int argc, char** argv) {
  using namespace pendra2;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Chimecraft"));
  QApplication::setApplicationVersion(QString::fromUtf8(melody_ui::kProgramVersion));

  std::optional<std::string> startFile;
  const QStringList args = QApplication::arguments();
  if (args.size() > 1) startFile = args.at(1).toStdString();

  const std::unique_ptr<device::Transport> transport = device::MakeTransport();
  device::Board board(*transport);
  ui::QtPrompter prompter;
  FileDialogChooser files;
  melody_ui::QtCountDialogs counts;
  ui::DetachedStarter starter;
  const auto state = std::make_unique<melody::MelodyState>();
  return melody_ui::RunChimecraft(
      *state, melody_ui::ChimeServices{board, prompter, files, counts, starter}, startFile,
      [&](melody_ui::ChimeWindow& window) {
        prompter.SetOwner(&window);
        files.owner = &window;
        counts.SetOwner(window.scoreCanvas());
        return QApplication::exec();
      });
}
