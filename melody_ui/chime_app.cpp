#include "melody_ui/chime_app.h"

#include <QApplication>

#include "ui_common/hid_failure.h"

namespace pendra2::melody_ui {

int RunChimecraft(melody::MelodyState& state, ChimeServices services,
                  const std::optional<std::string>& startFile,
                  const std::function<int(ChimeWindow&)>& shown) {
  // No window exists yet, so this message has no owner.
  if (!services.board.ListAvailable()) return ui::ReportHidFailure(services.prompter);
  // The first look for the board: nothing waits for it (a stuck board takes a while).
  services.board.Discover();
  melody::NewScore(state);
  state.editMode = melody::kEditMode;
  ChimeWindow window(state, services);
  // From now on a board that is plugged in, unplugged or answers again shows by itself.
  services.board.StartIdlePoll(ui::kIdlePollAbsentMs, ui::kIdlePollPresentMs);
  window.show();
  if (startFile) window.OpenAtStart(*startFile);
  // `shown` may run the whole session itself (a replay) and give its status.
  if (shown) return shown(window);
  return QApplication::exec();
}

}  // namespace pendra2::melody_ui
