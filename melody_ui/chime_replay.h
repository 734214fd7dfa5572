#pragma once
// What a replayed session reaches in Chimecraft: its commands, the tempo list, the score
// window's horizontal scroll bar and the score window itself for clicks and moves.

#include "melody_ui/chime_window.h"
#include "ui_common/replay/replay_session.h"

namespace pendra2::melody_ui {

class ChimeReplayTarget final : public ui::replay::ReplayTarget {
 public:
  explicit ChimeReplayTarget(ChimeWindow& window) : window_(window) {}
  bool Command(int id) override;
  bool Select(int listId, int index) override;
  void Scroll(ui::replay::ScrollKind kind, int position) override;
  QWidget* PointerWindow() override;

 private:
  ChimeWindow& window_;
};

}  // namespace pendra2::melody_ui
