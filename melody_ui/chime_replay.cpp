#include "melody_ui/chime_replay.h"

#include "melody_ui/chime_texts.h"
#include "melody_ui/score_canvas.h"

namespace pendra2::melody_ui {

bool ChimeReplayTarget::Command(int id) {
  return window_.Command(id);
}

bool ChimeReplayTarget::Select(int listId, int index) {
  return listId == kTempoList && window_.SelectTempo(index);
}

void ChimeReplayTarget::Scroll(ui::replay::ScrollKind kind, int position) {
  using ui::replay::ScrollKind;
  switch (kind) {
    case ScrollKind::LineUp:
      window_.Scroll(melody::ScrollStep::kLineLeft);
      return;
    case ScrollKind::LineDown:
      window_.Scroll(melody::ScrollStep::kLineRight);
      return;
    case ScrollKind::PageUp:
      window_.Scroll(melody::ScrollStep::kPageLeft);
      return;
    case ScrollKind::PageDown:
      window_.Scroll(melody::ScrollStep::kPageRight);
      return;
    case ScrollKind::Thumb:
      window_.Scroll(melody::ScrollStep::kThumb, position);
      return;
  }
}

QWidget* ChimeReplayTarget::PointerWindow() {
  return window_.scoreCanvas();
}

}  // namespace pendra2::melody_ui
