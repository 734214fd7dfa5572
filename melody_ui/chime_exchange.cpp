// Chimecraft's MIDI import and its MIDI and WAV export: the window's half of them. What a
// file holds and what a tune becomes is melody/exchange's.

#include <QApplication>
#include <QCursor>

#include "melody/exchange/import_texts.h"
#include "melody/exchange/midi_import.h"
#include "melody/exchange/tune_export.h"
#include "melody/tune_file.h"
#include "melody_ui/chime_window.h"
#include "melody_ui/midi_import_dialog.h"

namespace pendra2::melody_ui {
namespace {

namespace ex = melody::exchange;

// Reading a file or rendering a tune can take a moment: the cursor says so meanwhile.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

ImportChooser& ChimeWindow::Imports() {
  if (services_.imports != nullptr) return *services_.imports;
  if (!ownImports_) ownImports_ = std::make_unique<QtImportChooser>(this);
  return *ownImports_;
}

void ChimeWindow::ImportMidiCommand() {
  // As the load command: the save-changes question before anything else.
  melody::ScoreDocument doc{state_, services_.prompter, services_.files};
  const bool mayGoOn = melody::MayDiscardScore(doc);
  ShowTitle();
  if (!mayGoOn) return;
  const auto chosen = services_.files.Choose(ex::MidiOpenRequest());
  if (!chosen) return;
  ex::MidiFile midi;
  {
    const BusyCursor busy;
    midi = ex::ReadMidiFile(*chosen);
  }
  if (!midi.outcome.ok()) {
    interaction::Tell(services_.prompter, midi.outcome);
    return;
  }
  const auto choice = Imports().Choose(midi.song, melody::FileNameOf(*chosen));
  if (!choice) return;
  const ex::ImportResult result = ex::ScoreFromMidi(midi.song, *choice);

  // Untitled, as an example opens: the MIDI file is not the user's tune, and the tune is
  // theirs to save (so it counts as changed).
  playback_->Abandon();
  DampPc();
  melody::NewScore(state_);
  state_.score = result.score;
  state_.scrollPos = 0;
  loopPlay_->setChecked(false);
  SyncScrollBar();
  SyncTempoList();
  ShowTitle();
  Redraw();
  // The tune is in view behind what had to change.
  if (const auto report = ex::ImportReport(result))
    services_.prompter.Ask(interaction::MessagePrompt(*report));
}

void ChimeWindow::ExportCommand(ex::ExportKind kind) {
  const auto chosen = services_.files.Choose(ex::ExportRequest(kind));
  if (!chosen) return;
  const std::string path = ex::CompleteExportPath(*chosen, kind);
  ex::Exported exported;
  {
    const BusyCursor busy;
    exported = ex::ExportTune(state_.score, path, kind);
  }
  interaction::Tell(services_.prompter, exported.outcome);
  if (exported.notice) services_.prompter.Ask(interaction::MessagePrompt(*exported.notice));
}

}  // namespace pendra2::melody_ui
